// Line-rate pacing: when each byte may arrive at the other end of a serial line of a given rate.
// Ten bits a byte (start bit, eight data bits, stop bit).
#pragma once

#include <chrono>
#include <cstddef>

namespace zorfp::sim {

class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit LinePacer(int baud) { set_baud(baud); }

  void set_baud(int baud);
  int baud() const { return baud_; }
  Clock::duration byte_time() const { return byte_time_; }
  Clock::duration Duration(std::size_t bytes) const {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(static_cast<long long>(bytes) * 10'000'000'000LL / baud_));
  }

  // Books the line for one byte handed over at `now` and returns when its last bit has arrived:
  // the line is busy until then, so the next byte cannot arrive before that plus one byte time.
  Clock::time_point Book(Clock::time_point now);

 private:
  int baud_ = 9600;
  Clock::duration byte_time_{};
  Clock::time_point line_free_{};
};

}  // namespace zorfp::sim
