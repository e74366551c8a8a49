// The receipt, the day registers and the tax table in the state dump.
#pragma once

#include "sim/json.h"
#include "sim/model.h"

namespace zorfp::sim {

// Each writes one keyed value into the open object.
void WriteTaxesJson(const PrinterModel& m, JsonWriter& w);
void WriteReceiptJson(const PrinterModel& m, JsonWriter& w);
void WriteDayJson(const PrinterModel& m, JsonWriter& w);

}  // namespace zorfp::sim
