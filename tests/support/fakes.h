// Test doubles for the link's seams: a clock whose pauses take no time, and a port in memory.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/serial_port.h"

namespace zorfp::testing {

// Real time, except that Pause() only moves the clock forward: a 300 ms SYN pause costs nothing.
class SkippingClock final : public Clock {
 public:
  Steady Now() override { return std::chrono::steady_clock::now() + skipped_; }
  Wall WallNow() override { return std::chrono::system_clock::now() + skipped_; }
  void Pause(std::chrono::milliseconds d) override {
    skipped_ += d;
    pauses.push_back(d);
  }
  std::vector<std::chrono::milliseconds> pauses;

 private:
  std::chrono::milliseconds skipped_{0};
};

// A port in memory: records what is written and set, fails the step a test names, and serves
// bytes queued by the test. A read with nothing queued returns at once: not for timing tests.
class MemoryPort final : public SerialPort {
 public:
  enum class FailAt { kNothing, kGetLine, kSetLine, kGetTimeouts, kSetTimeouts };

  struct Shared {  // outlives the port, so a test can look after the driver closed it
    FailAt fail_at = FailAt::kNothing;
    LineSettings line;
    PortTimeouts timeouts;
    std::vector<Bytes> written;
    std::deque<Byte> to_read;
    int purges = 0;
    bool closed = false;
  };

  explicit MemoryPort(Shared& shared) : s_(shared) {}

  bool GetLineSettings(LineSettings& out) override {
    if (s_.fail_at == FailAt::kGetLine) return false;
    out = s_.line;
    return true;
  }
  bool SetLineSettings(const LineSettings& line) override {
    if (s_.fail_at == FailAt::kSetLine) return false;
    s_.line = line;
    return true;
  }
  bool GetTimeouts(PortTimeouts& out) override {
    if (s_.fail_at == FailAt::kGetTimeouts) return false;
    out = s_.timeouts;
    return true;
  }
  bool SetTimeouts(const PortTimeouts& t) override {
    if (s_.fail_at == FailAt::kSetTimeouts) return false;
    s_.timeouts = t;
    return true;
  }
  void Purge(bool, bool) override { ++s_.purges; }
  std::size_t Write(const Bytes& bytes) override {
    s_.written.push_back(bytes);
    return bytes.size();
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (s_.to_read.empty()) return std::nullopt;
    const Byte b = s_.to_read.front();
    s_.to_read.pop_front();
    return b;
  }
  bool Close() override {
    s_.closed = true;
    return true;
  }

 private:
  Shared& s_;
};

}  // namespace zorfp::testing
