// The busy indication of long printer jobs. On Windows a small always-on-top window; elsewhere a
// modal wait on the caller's thread. Either way the job runs on the caller's thread about a
// second after the wait begins, and the call returns when the job is done.
#pragma once

#include <functional>

#include "driver/module.h"

namespace zorfp {

// Shows Module::WaitingWindowText and runs `job` (per OS: waiting_window_posix.cpp, _win32.cpp).
void ShowWaitingWindow(Module& module, const std::function<void()>& job);

}  // namespace zorfp
