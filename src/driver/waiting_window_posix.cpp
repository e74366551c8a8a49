#include "driver/waiting_window.h"

namespace zorfp {

// No window system is assumed here: the wait is the caller's thread itself, which is what the
// client would see of a modal window anyway.
void ShowWaitingWindow(Module& module, const std::function<void()>& job) {
  module.clock->Pause(module.waiting_window_delay);
  job();
}

}  // namespace zorfp
