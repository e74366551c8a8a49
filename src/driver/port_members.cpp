// FPInit, FPInitEx, FPClose: opening, configuring and releasing the driver object's port.
#include <string>

#include "driver/members.h"
#include "errors/codepage.h"
#include "errors/texts.h"
#include "link/exchange_log.h"

namespace zorfp {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string SettingsText(const LineSettings& s) {
  return std::string("COM port parameters:\r\n     BaudRate = ") + std::to_string(s.baud_rate) + kCrLf +
         "     Parity   = " + std::to_string(s.parity) + kCrLf +  //
         "     Flags    = " + std::to_string(s.flags) + kCrLf +   //
         "     ByteSize = " + std::to_string(s.byte_size) + kCrLf +
         "     StopBits = " + std::to_string(s.stop_bits + 1);
}

std::string TimeoutsText(const PortTimeouts& t) {
  return std::string("COM port timeouts:") + kCrLf +
         "     ReadIntervalTimeout         = " + std::to_string(t.read_interval) + kCrLf +
         "     ReadTotalTimeoutMultiplier  = " + std::to_string(t.read_total_multiplier) + kCrLf +
         "     ReadTotalTimeoutConstant    = " + std::to_string(t.read_total_constant) + kCrLf +
         "     WriteTotalTimeoutMultiplier = " + std::to_string(t.write_total_multiplier) + kCrLf +
         "     WriteTotalTimeoutConstant   = " + std::to_string(t.write_total_constant);
}

// Releases the object's port, if any; true when it was open and closed cleanly.
bool ReleasePort(Driver& d) {
  std::unique_ptr<SerialPort> port = d.take_port();
  if (!port) return false;
  for (SerialPort*& active : d.module().ActivePort) {
    if (active == port.get()) active = nullptr;
  }
  return port->Close();
}

struct OpenRequest {
  std::string name;  // platform name, UTF-8
  std::uint32_t baud_rate;
  Byte read_timeout;
  Byte write_timeout;
  unsigned unit_ms;  // milliseconds per time-out unit
};

bool OpenPort(Driver& d, const OpenRequest& r) {
  const VariantTraits& t = d.traits();
  Module& m = d.module();
  const Link link = d.link();
  if (t.open_sets_tag) m.link.ProtocolTag = t.tag;
  ReleasePort(d);

  std::unique_ptr<SerialPort> port = m.open_port(r.name);
  if (!port) {
    if (t.init_reports_failures) d.SetText(texts::kPortBusy);
    return false;
  }

  // Every failure after the open closes the port again: the object never keeps it half set up.
  const auto fail = [&](const std::string& log_text, const DriverError& error) {
    port->Close();
    if (t.logs_open) WriteLog(link, LogKind::kOpen, log_text);
    if (t.init_reports_failures) d.Reject(error);
    return false;
  };

  LineSettings line;
  if (!port->GetLineSettings(line)) return fail("Get COM port parameters error", texts::kDcbGetFailed);
  line.baud_rate = r.baud_rate;
  line.byte_size = 8;
  line.parity = 0;
  line.stop_bits = 0;
  line.flags = 0;
  // A rate of 0 has no per-byte time-out (19200 / 0): refuse it like a rate the port rejects.
  if (r.baud_rate == 0 || !port->SetLineSettings(line)) {
    return fail("Set COM port parameters error", texts::kDcbSetFailed);
  }
  const std::string settings_text = SettingsText(line);

  PortTimeouts timeouts;
  if (!port->GetTimeouts(timeouts)) {
    return fail(settings_text + kCrLf + "Get COM port timeouts error", texts::kTimeoutsGetFailed);
  }
  const std::uint32_t per_byte = t.fixed_per_byte_ms != 0 ? t.fixed_per_byte_ms : 19200 / r.baud_rate;
  timeouts.read_interval = r.read_timeout * r.unit_ms;
  timeouts.read_total_multiplier = per_byte;
  timeouts.read_total_constant = r.read_timeout * r.unit_ms;
  timeouts.write_total_multiplier = per_byte;
  timeouts.write_total_constant = r.write_timeout * r.unit_ms;
  if (!port->SetTimeouts(timeouts)) {
    return fail(settings_text + kCrLf + "Set COM port timeouts error", texts::kTimeoutsSetFailed);
  }

  d.set_port(std::move(port));
  if (t.logs_open) WriteLog(link, LogKind::kOpen, settings_text + kCrLf + TimeoutsText(timeouts));
  return true;
}

std::uint32_t BaudFor(const Driver& d, std::uint32_t requested) {
  return d.traits().fixed_baud_9600 ? 9600 : requested;
}

}  // namespace

bool FPInit(Driver& d, Byte PortNumber, std::uint32_t BaudRate, Byte ReadTimeOut, Byte WriteTimeOut) {
  return OpenPort(d, {SerialPortName(PortNumber), BaudFor(d, BaudRate), ReadTimeOut, WriteTimeOut,
                      d.traits().init_timeout_unit_ms});
}

bool FPInit(Driver& d, Byte PortNumber, Byte ReadTimeOut, Byte WriteTimeOut) {
  return FPInit(d, PortNumber, 9600, ReadTimeOut, WriteTimeOut);
}

bool FPInitEx(Driver& d, const AnsiString& Port, std::uint32_t BaudRate, Byte ReadTimeOut, Byte WriteTimeOut) {
  return OpenPort(d, {AnsiToUtf8(Port), BaudFor(d, BaudRate), ReadTimeOut, WriteTimeOut,
                      d.traits().init_ex_timeout_unit_ms});
}

bool FPInitEx(Driver& d, const AnsiString& Port, Byte ReadTimeOut, Byte WriteTimeOut) {
  return FPInitEx(d, Port, 9600, ReadTimeOut, WriteTimeOut);
}

bool FPClose(Driver& d) {
  Module& m = d.module();
  const bool closed = ReleasePort(d);
  m.link.ProtocolTag = d.traits().tag;
  WriteLog(d.link(), LogKind::kClose, Bytes{});
  return closed;
}

}  // namespace zorfp
