#include "link/clock.h"

#include <thread>

namespace zorfp {
namespace {

class RealClock final : public Clock {
 public:
  Steady Now() override { return std::chrono::steady_clock::now(); }
  Wall WallNow() override { return std::chrono::system_clock::now(); }
  void Pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace

Clock& SystemClock() {
  static RealClock clock;
  return clock;
}

}  // namespace zorfp
