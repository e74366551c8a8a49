#include "link/serial_port.h"

namespace zorfp {

std::optional<std::chrono::milliseconds> OneByteReadBound(const PortTimeouts& t) {
  // For a single byte the interval time-out never applies: only the total counts, and with no
  // total the read waits until a byte comes.
  if (t.read_total_multiplier == 0 && t.read_total_constant == 0) return std::nullopt;
  return std::chrono::milliseconds(std::uint64_t{t.read_total_multiplier} + t.read_total_constant);
}

}  // namespace zorfp
