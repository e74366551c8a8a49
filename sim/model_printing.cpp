// What the printer puts on paper outside receipts, and the tape every printed line goes to.
#include <nlohmann/json.hpp>

#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

Reply HandleLineFeed(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (m.status.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  Print(m, "");
  return Reply::Ok();
}

constexpr CommandEntry kPrintingCommands[] = {
    {0x0E, "line feed", VariantSet::All(), Effect::kChangesState, &HandleLineFeed},
};

}  // namespace

std::span<const CommandEntry> PrintingCommands() {
  return kPrintingCommands;
}

void Print(PrinterModel& m, std::string_view cp866_line) {
  if (m.printing.tape) m.printing.tape(cp866_line);
}

void WritePrintingJson(const PrinterModel& m, Json& j) {
  j["cutter_enabled"] = m.printing.cutter_enabled;
}

}  // namespace zorfp::sim
