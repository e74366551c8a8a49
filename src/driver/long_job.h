// A long job of 05-02 and 05-03 (Z report, saving a report from the memory card): it runs behind
// the waiting window, and its exchanges use the class's ActivePort.
#pragma once

#include <cstdint>
#include <functional>

#include "driver/driver.h"

namespace zorfp {

inline constexpr std::int16_t kWaitZReport = -1;
inline constexpr std::int16_t kWaitSavingReport = 0;

// False, with the job not run, when another long job is still waiting in the window's modal loop
// (a client's event handler may call in there): a nested Z report or save is refused, not run.
// Holds the call lock for the whole job (it is recursive: the job's own calls take it again).
bool RunLongJob(Driver& d, std::int16_t mode, const Message& text, const std::function<void()>& job);

}  // namespace zorfp
