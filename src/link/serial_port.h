// The serial port as the link needs it. One implementation per OS (serial_posix.cpp,
// serial_win32.cpp); tests plug in a pseudo-terminal or an in-memory double the same way.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/bytes.h"

namespace zorfp {

// The fields of the line settings the driver sets or logs. `flags` is the flag word of the
// Windows device control block: the driver clears every flag (no parity check, no flow control,
// DTR and RTS off, no error replacement, no null stripping, no abort on error).
struct LineSettings {
  std::uint32_t baud_rate = 0;
  std::uint8_t byte_size = 8;
  std::uint8_t parity = 0;     // 0 none
  std::uint8_t stop_bits = 0;  // Windows code: 0 one stop bit
  std::uint32_t flags = 0;
};

// Milliseconds, with the meaning of the Windows time-out block.
struct PortTimeouts {
  std::uint32_t read_interval = 0;
  std::uint32_t read_total_multiplier = 0;
  std::uint32_t read_total_constant = 0;
  std::uint32_t write_total_multiplier = 0;
  std::uint32_t write_total_constant = 0;

  bool operator==(const PortTimeouts&) const = default;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual bool GetLineSettings(LineSettings& out) = 0;
  virtual bool SetLineSettings(const LineSettings& settings) = 0;
  virtual bool GetTimeouts(PortTimeouts& out) = 0;
  virtual bool SetTimeouts(const PortTimeouts& timeouts) = 0;
  virtual void Purge(bool input, bool output) = 0;
  // Writes the whole buffer within the write time-outs; returns the number of bytes written.
  virtual std::size_t Write(const Bytes& bytes) = 0;
  // Reads one byte. Waits at most what the read time-outs allow for one byte, and never longer
  // than `cap`, the time the caller is still willing to wait. Returns at once when a byte arrives,
  // and at once with a byte the port already holds: the platform ports fetch whatever has arrived
  // in one call and serve the next reads from it, so the wait applies only when nothing is held.
  virtual std::optional<Byte> ReadByte(std::chrono::milliseconds cap) = 0;
  virtual bool Close() = 0;
};

// Bytes fetched from the device in one call and not yet handed out. Purging the input empties it
// along with the device's own queue.
class ReadBuffer {
 public:
  // Large enough for any routine answer in one call.
  static constexpr std::size_t kSize = 256;

  bool empty() const { return next_ == end_; }
  Byte Take() { return data_[next_++]; }
  void Clear() { next_ = end_ = 0; }
  // Where the next fetch goes (only while empty), and how many bytes it brought.
  Byte* space() { return data_.data(); }
  void Filled(std::size_t n) {
    next_ = 0;
    end_ = n < kSize ? n : kSize;
  }

 private:
  std::array<Byte, kSize> data_{};
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

// How long a one-byte read may wait under `t`; nullopt when the time-outs impose no bound
// (no total read time-out: the Windows port then waits for the byte).
std::optional<std::chrono::milliseconds> OneByteReadBound(const PortTimeouts& t);

// Opens a port exclusively by its platform name; nullptr when it is missing or in use.
using PortOpener = std::function<std::unique_ptr<SerialPort>(const std::string& name)>;

// The platform's opener (serial_posix.cpp / serial_win32.cpp).
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name);

// Why this thread's last OpenSerialPort failed, in the system's words ("/dev/ttyUSB0: Permission
// denied"); empty after one that succeeded. The members report "Port is busy!" whatever the cause,
// as clients expect; a tool can show this beside it.
std::string LastOpenFailure();

// The platform name of port number n: "/dev/ttyS<n-1>" on POSIX, "\\.\COM<n>" on Windows.
std::string SerialPortName(unsigned number);

}  // namespace zorfp
