// Line-rate pacing: when each byte may arrive at the other end of a serial line of a given rate.
// Ten bits a byte (start bit, eight data bits, stop bit).
#pragma once

#include <chrono>
#include <cstddef>
#include <span>
#include <vector>

#include "sim/bytes.h"

namespace zorfp::sim {

class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LinePacer(int baud) { set_baud(baud); }

  void set_baud(int baud);
  int baud() const { return baud_; }
  Clock::duration byte_time() const { return byte_time_; }
  // The time `bytes` take on the line, back to back, to the nanosecond.
  Clock::duration Duration(std::size_t bytes) const {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(static_cast<long long>(bytes) * 10'000'000'000LL / baud_));
  }
  // How many bytes sent back to back have arrived `elapsed` after the first was handed over:
  // the largest n with Duration(n) <= elapsed.
  std::size_t Arrived(Clock::duration elapsed) const;

  // Books the line for one byte handed over at `now` and returns when its last bit has arrived:
  // the line is busy until then, so the next byte cannot arrive before that plus one byte time.
  Clock::time_point Book(Clock::time_point now);

 private:
  int baud_ = 9600;
  Clock::duration byte_time_{};
  Clock::time_point line_free_{};
};

// The device's answers on their way out over a paced line. Every byte gets its moment when it is
// handed over: it follows whatever the line still carries, and its last bit arrives one byte time
// after the one before. Those moments never move, so a late look at the schedule delays nothing
// that comes after it; whatever is due by then leaves in one piece.
class LineSchedule {
 public:
  using Clock = LinePacer::Clock;

  explicit LineSchedule(int baud) : pacer_(baud) {}

  // Changes the rate for bytes handed over from now on; only while nothing is queued.
  void set_baud(int baud) { pacer_.set_baud(baud); }
  int baud() const { return pacer_.baud(); }

  // Queues `bytes`, handed over at `at`.
  void Queue(std::span<const Byte> bytes, Clock::time_point at);
  bool empty() const { return head_ == bytes_.size(); }
  // When the last bit of the next byte arrives; only while not empty.
  Clock::time_point next_due() const;
  // The bytes whose last bit has arrived by `now`, oldest first; they leave the schedule.
  std::span<const Byte> TakeDue(Clock::time_point now);
  // Drops what is queued, as when the host hangs up: the line is free at once.
  void Clear();

 private:
  // Bytes that follow each other on the line without a gap: byte `first + i` arrives at
  // start + Duration(i + 1).
  struct Run {
    std::size_t first;
    std::size_t end;
    Clock::time_point start;
  };

  LinePacer pacer_;
  Bytes bytes_;
  std::size_t head_ = 0;  // first byte not yet taken
  std::vector<Run> runs_;
  Clock::time_point line_free_{};
};

}  // namespace zorfp::sim
