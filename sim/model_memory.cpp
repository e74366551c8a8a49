// Reading the printer's memory by address.
#include "sim/model_commands.h"

namespace zorfp::sim {

// Memory read: address (low, high), page, length; answers the bytes read.
Reply HandleMemoryRead(PrinterModel& m, const Request& r) {
  if (r.params.size() != 4) return RefuseBadParameter(m);
  const unsigned address = r.params[0] | r.params[1] << 8;
  const Byte page = r.params[2];
  const std::size_t length = r.params[3];
  const bool known_page = page == 0x00 || page == 0x10;
  if (!known_page || length == 0 || address + length > 0x10000) return RefuseBadParameter(m);
  ProjectRegisters(m);
  return Reply::Ok(m.memory.Read(page, static_cast<std::uint16_t>(address), length));
}

}  // namespace zorfp::sim
