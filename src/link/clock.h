// Time as the link sees it. Injectable so that tests never sleep through a pause.
#pragma once

#include <chrono>

namespace zorfp {

class Clock {
 public:
  using Steady = std::chrono::steady_clock::time_point;
  using Wall = std::chrono::system_clock::time_point;

  virtual ~Clock() = default;
  // Monotonic time for time-outs: a wall-clock jump must not stretch or cut an answer window.
  virtual Steady Now() = 0;
  // Local wall time for log stamps and file names.
  virtual Wall WallNow() = 0;
  virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// The real clock: steady and system clocks, and a real sleep.
Clock& SystemClock();

}  // namespace zorfp
