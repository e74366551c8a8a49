// Serial port on Windows: the communications resource opened without sharing, its device control
// block and time-out block. Reads take everything the driver reports queued in one ReadFile, and
// fall back to a one-byte ReadFile bounded by the time-outs when nothing is queued.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "link/serial_port.h"

namespace zorfp {
namespace {

// The port name in the ANSI code page, as CreateFileA takes it (the link passes UTF-8).
std::string ToAnsiCodePage(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  const int m = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(m), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
  return out;
}

// Every flag of the device control block cleared, so that its flag word is 0: no parity check, no
// CTS/DSR flow control, DTR and RTS disabled, no XON/XOFF, no error replacement, no null
// stripping, no abort on error.
void ClearFlags(DCB& dcb) {
  dcb.fBinary = FALSE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fTXContinueOnXoff = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  dcb.fDummy2 = 0;
}

class Win32SerialPort final : public SerialPort {
 public:
  explicit Win32SerialPort(HANDLE h) : handle_(h) {}
  ~Win32SerialPort() override { Close(); }

  bool GetLineSettings(LineSettings& out) override {
    dcb_ = DCB{};
    dcb_.DCBlength = sizeof(DCB);
    if (!::GetCommState(handle_, &dcb_)) return false;
    out.baud_rate = dcb_.BaudRate;
    out.byte_size = dcb_.ByteSize;
    out.parity = dcb_.Parity;
    out.stop_bits = dcb_.StopBits;
    // The flag word: the DWORD of bit fields that follows BaudRate.
    std::memcpy(&out.flags, reinterpret_cast<const char*>(&dcb_.BaudRate) + sizeof(dcb_.BaudRate),
                sizeof(out.flags));
    return true;
  }

  bool SetLineSettings(const LineSettings& s) override {
    // The other fields (XON/XOFF limits and characters, event character) keep the port's values.
    dcb_.DCBlength = sizeof(DCB);
    dcb_.BaudRate = s.baud_rate;
    dcb_.ByteSize = s.byte_size;
    dcb_.Parity = s.parity;
    dcb_.StopBits = s.stop_bits;
    ClearFlags(dcb_);
    return ::SetCommState(handle_, &dcb_) != 0;
  }

  bool GetTimeouts(PortTimeouts& out) override {
    COMMTIMEOUTS t{};
    if (!::GetCommTimeouts(handle_, &t)) return false;
    out = {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant,
           t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant};
    return true;
  }

  bool SetTimeouts(const PortTimeouts& t) override {
    COMMTIMEOUTS c{t.read_interval, t.read_total_multiplier, t.read_total_constant, t.write_total_multiplier,
                   t.write_total_constant};
    if (!::SetCommTimeouts(handle_, &c)) return false;
    timeouts_ = t;
    applied_read_wait_ = kAsConfigured;
    return true;
  }

  void Purge(bool input, bool output) override {
    if (input) buffer_.Clear();
    DWORD flags = 0;
    if (input) flags |= PURGE_RXCLEAR;
    if (output) flags |= PURGE_TXCLEAR;
    if (flags != 0) ::PurgeComm(handle_, flags);
  }

  std::size_t Write(const Bytes& bytes) override {
    DWORD written = 0;
    if (!::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return 0;
    return written;
  }

  std::optional<Byte> ReadByte(std::chrono::milliseconds cap) override {
    if (!buffer_.empty()) return buffer_.Take();
    if (FetchQueued()) return buffer_.Take();
    const auto bound = OneByteReadBound(timeouts_);
    const auto wait = static_cast<DWORD>(
        std::clamp<long long>(bound ? std::min(*bound, cap).count() : cap.count(), 0, MAXDWORD - 1));
    ApplyReadWait(wait);
    Byte b = 0;
    DWORD got = 0;
    if (!::ReadFile(handle_, &b, 1, &got, nullptr) || got != 1) return std::nullopt;
    return b;
  }

  bool Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    const HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) != 0;
  }

 private:
  static constexpr DWORD kAsConfigured = MAXDWORD;

  // Reads everything the driver reports queued in one call; false when nothing is queued (or the
  // driver cannot say), and the one-byte read with its wait takes over. A read of no more than is
  // queued returns at once whatever time-outs are applied.
  bool FetchQueued() {
    DWORD errors = 0;
    COMSTAT stat{};
    if (!::ClearCommError(handle_, &errors, &stat) || stat.cbInQue == 0) return false;
    const DWORD want = std::min<DWORD>(stat.cbInQue, static_cast<DWORD>(ReadBuffer::kSize));
    DWORD got = 0;
    if (!::ReadFile(handle_, buffer_.space(), want, &got, nullptr) || got == 0) return false;
    buffer_.Filled(got);
    return true;
  }

  // The read never waits past the caller's window: the time-out block is narrowed for the read
  // (and left narrowed while the wait stays the same, to spare a call per byte).
  void ApplyReadWait(DWORD wait) {
    if (wait == applied_read_wait_) return;
    COMMTIMEOUTS c{0, 0, wait, timeouts_.write_total_multiplier, timeouts_.write_total_constant};
    if (wait == 0) c.ReadIntervalTimeout = MAXDWORD;  // return at once with what is there
    if (::SetCommTimeouts(handle_, &c)) applied_read_wait_ = wait;
  }

  HANDLE handle_;
  DCB dcb_{};
  PortTimeouts timeouts_{};
  DWORD applied_read_wait_ = kAsConfigured;
  ReadBuffer buffer_;
};

}  // namespace

thread_local std::string g_open_failure;

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name) {
  g_open_failure.clear();
  // No sharing: the port is this object's alone, in the whole system.
  const HANDLE h = ::CreateFileA(ToAnsiCodePage(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    char text[512] = {};
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                     0, text, sizeof text, nullptr);
    std::string reason = n ? std::string(text, n) : "error " + std::to_string(error);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
      reason.pop_back();
    }
    g_open_failure = name + ": " + reason;
    return nullptr;
  }
  return std::make_unique<Win32SerialPort>(h);
}

std::string LastOpenFailure() {
  return g_open_failure;
}

std::string SerialPortName(unsigned number) {
  return "\\\\.\\COM" + std::to_string(number);
}

}  // namespace zorfp
