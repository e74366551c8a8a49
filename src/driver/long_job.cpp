#include "driver/long_job.h"

#include "driver/waiting_window.h"
#include "errors/texts.h"

namespace zorfp {

bool RunLongJob(Driver& d, std::int16_t mode, const Message& text, const std::function<void()>& job) {
  Module& m = d.module();
  // The job's exchanges are one call's: nothing of another caller may come between them.
  const auto serialised = m.LockCalls();
  if (m.LongJobRunning) return d.Refuse(texts::kLongJobBusy);
  m.LongJobRunning = true;
  if (auto picked = Pick(text, d.lang())) m.WaitingWindowText = std::move(*picked);
  m.WaitingWindowMode = mode;
  SerialPort*& active = m.ActivePort[Index(d.traits().id)];
  active = d.port();
  try {
    ShowWaitingWindow(m, job);
  } catch (...) {
    active = nullptr;
    m.LongJobRunning = false;
    throw;
  }
  active = nullptr;
  m.LongJobRunning = false;
  return true;
}

}  // namespace zorfp
