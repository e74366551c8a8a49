// The parts of the state dump, each written by the area that owns the registers. Each sets its
// keys in the printer's object, in the dump's order (model_json.cpp calls them).
#pragma once

#include <string>

#include "sim/json.h"
#include "sim/model.h"

namespace zorfp::sim {

// model_status.cpp
void WriteIdentityJson(const PrinterModel& m, Json& j);  // identity and fiscalization
void WriteModeJson(const PrinterModel& m, Json& j);      // mode flags and when the day opened
void WriteDeviceJson(const PrinterModel& m, Json& j);    // paper, conditions, line
void WriteStatusJson(const PrinterModel& m, Json& j);    // last command failed, status bytes and block
// model_clock.cpp
void WriteClockJson(const PrinterModel& m, Json& j);
// model_flags.cpp
void WriteFlagsJson(const PrinterModel& m, Json& j);
// model_programming.cpp
void WriteHeaderJson(const PrinterModel& m, Json& j);
void WriteSettingsJson(const PrinterModel& m, Json& j);  // cashiers, lines, payment names, settings
// model_articles.cpp
void WriteArticlesJson(const PrinterModel& m, Json& j);
// model_taxes.cpp
void WriteTaxesJson(const PrinterModel& m, Json& j);
// receipt_json.cpp: the receipt the items and payment areas build
void WriteReceiptJson(const PrinterModel& m, Json& j);
// model_totals.cpp
void WriteDayJson(const PrinterModel& m, Json& j);
// model_payment.cpp
void WriteDrawerJson(const PrinterModel& m, Json& j);
// model_printing.cpp
void WritePrintingJson(const PrinterModel& m, Json& j);
// model_modem.cpp
void WriteModemJson(const PrinterModel& m, Json& j);
// model_reports.cpp: the Z reports, the fiscal memory, the journal and the memory card
void WriteReportsJson(const PrinterModel& m, Json& j);

// Shared by the receipt and the day: a tax group's key ("A" to "F"), and an amount per group.
std::string GroupKey(int group);
Json GroupsJson(const GroupAmounts& groups);

}  // namespace zorfp::sim
