// What the printer puts on paper outside receipts.
#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {

Reply HandleLineFeed(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (m.paper.receipt_out) return Reply::Refuse(result::kPaperOut);
  Print(m, "");
  return Reply::Ok();
}

}  // namespace zorfp::sim
