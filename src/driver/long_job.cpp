#include "driver/long_job.h"

#include "driver/waiting_window.h"

namespace zorfp {

void RunLongJob(Driver& d, std::int16_t mode, const Message& text, const std::function<void()>& job) {
  Module& m = d.module();
  // The job's exchanges are one call's: nothing of another caller may come between them.
  const auto serialised = m.LockCalls();
  if (auto picked = Pick(text, d.lang())) m.WaitingWindowText = std::move(*picked);
  m.WaitingWindowMode = mode;
  SerialPort*& active = m.ActivePort[Index(d.traits().id)];
  active = d.port();
  try {
    ShowWaitingWindow(m, job);
  } catch (...) {
    active = nullptr;
    throw;
  }
  active = nullptr;
}

}  // namespace zorfp
