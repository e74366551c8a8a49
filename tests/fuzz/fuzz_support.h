// What the fuzz targets share: time that passes by itself, a printer whose answers come from the
// fuzz input, and a reader over that input.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "link/bytes.h"
#include "link/clock.h"
#include "link/serial_port.h"

namespace zorfp::fuzz {

// Time moves one millisecond per look, so every answer window closes without waiting.
class TickingClock final : public Clock {
 public:
  Steady Now() override { return Steady(std::chrono::milliseconds(++ticks_)); }
  Wall WallNow() override { return Wall(); }
  void Pause(std::chrono::milliseconds d) override { ticks_ += d.count(); }

 private:
  long long ticks_ = 0;
};

// A port that answers each frame written with the next of its replies (none left: silence).
class ReplyPort final : public SerialPort {
 public:
  explicit ReplyPort(std::deque<Bytes>& replies) : replies_(replies) {}
  bool GetLineSettings(LineSettings&) override { return true; }
  bool SetLineSettings(const LineSettings&) override { return true; }
  bool GetTimeouts(PortTimeouts&) override { return true; }
  bool SetTimeouts(const PortTimeouts&) override { return true; }
  void Purge(bool input, bool) override {
    if (input) pending_.clear();
  }
  std::size_t Write(const Bytes& b) override {
    pending_.clear();
    if (!replies_.empty()) {
      pending_.assign(replies_.front().begin(), replies_.front().end());
      replies_.pop_front();
    }
    return b.size();
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (pending_.empty()) return std::nullopt;
    const Byte b = pending_.front();
    pending_.pop_front();
    return b;
  }
  bool Close() override { return true; }

 private:
  std::deque<Bytes>& replies_;
  std::deque<Byte> pending_;
};

// A well-formed answer frame (ACK, then DLE STX ... checksum DLE ETX, DLE stuffed) around `data`.
Bytes AnswerFrame(Byte status, Byte result, Byte reserve, std::span<const Byte> data);

// Consumes the fuzz input front to back; past its end every read is zero.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  Byte U8() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | U8() << 8); }
  std::uint32_t U32() { return U16() | static_cast<std::uint32_t>(U16()) << 16; }
  std::uint64_t U64() { return U32() | static_cast<std::uint64_t>(U32()) << 32; }
  std::span<const Byte> Take(std::size_t n) {
    n = std::min(n, size_ - std::min(pos_, size_));
    const std::span<const Byte> out(data_ + pos_, n);
    pos_ += n;
    return out;
  }
  std::string Text(std::size_t max) {
    const auto bytes = Take(U8() % (max + 1));
    return std::string(bytes.begin(), bytes.end());
  }
  // What the printer sends to one frame: usually a well-formed answer around fuzz data, sometimes
  // raw bytes (noise, NAK, SYN, a cut frame).
  Bytes Reply();

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace zorfp::fuzz
