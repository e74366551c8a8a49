// A long job of 05-02 and 05-03 (Z report, saving a report from the memory card): it runs behind
// the waiting window, and its exchanges use the class's ActivePort.
#pragma once

#include <cstdint>
#include <functional>

#include "driver/driver.h"

namespace zorfp {

inline constexpr std::int16_t kWaitZReport = -1;
inline constexpr std::int16_t kWaitSavingReport = 0;

// Holds the call lock for the whole job (it is recursive: the job's own calls take it again).
void RunLongJob(Driver& d, std::int16_t mode, const Message& text, const std::function<void()>& job);

}  // namespace zorfp
