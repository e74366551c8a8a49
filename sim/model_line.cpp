// The serial line: changing its rate.
#include "sim/model_commands.h"

namespace zorfp::sim {

// One byte: the speed index in the low bits, plus 0x20 for the USB line where the variant has one.
// The answer still goes out at the old rate; the transport switches after it.
Reply HandleChangeBaudRate(PrinterModel& m, const Request& r) {
  constexpr Byte kUsbBit = 0x20;
  if (r.params.size() != 1) return RefuseBadParameter(m);
  const bool usb = (r.params[0] & kUsbBit) != 0;
  const Byte index = r.params[0] & ~kUsbBit;
  if ((usb && !m.traits().has_usb_line) || index >= kLineRates.size()) return RefuseBadParameter(m);
  m.line.baud = kLineRates[index];
  m.line.usb = usb;
  return Reply::Ok();
}

}  // namespace zorfp::sim
