// Status and identity: the status request and the printer-state request.
#include "sim/model_commands.h"

namespace zorfp::sim {

Reply HandleStatusRequest(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  return Reply::Ok(StatusBlock(m));
}

Reply HandlePrinterStateRequest(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  return Reply::Ok({PrinterStateByte(m)});
}

}  // namespace zorfp::sim
