#include "sim/pacer.h"

#include <algorithm>

namespace zorfp::sim {

void LinePacer::set_baud(int baud) {
  baud_ = baud > 0 ? baud : 9600;
  byte_time_ =
      std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baud_));
}

LinePacer::Clock::time_point LinePacer::Book(Clock::time_point now) {
  line_free_ = std::max(now, line_free_) + byte_time_;
  return line_free_;
}

}  // namespace zorfp::sim
