// The registers in the state dump. Texts appear in UTF-8; the bytes the printer sends are in the
// status block, which is dumped in hex as well.
#include "sim/model_json.h"

#include <nlohmann/json.hpp>

namespace zorfp::sim {

// The order of the keys is the dump's own (readers compare parts of it as text), so the status
// area's parts stand around the others.
void WriteJson(const PrinterModel& m, Json& j) {
  j = Json::object();
  WriteIdentityJson(m, j);
  WriteClockJson(m, j);
  WriteFlagsJson(m, j);
  WriteModeJson(m, j);
  WriteHeaderJson(m, j);
  WriteSettingsJson(m, j);
  WriteArticlesJson(m, j);
  WriteDeviceJson(m, j);
  WriteTaxesJson(m, j);
  WriteReceiptJson(m, j);
  WriteDayJson(m, j);
  WriteDrawerJson(m, j);
  WritePrintingJson(m, j);
  WriteModemJson(m, j);
  WriteReportsJson(m, j);
  WriteStatusJson(m, j);
}

}  // namespace zorfp::sim
