// The library-wide settings a client changes through the settings properties.
#pragma once

#include <cstdint>

namespace zorfp {

struct Settings {
  bool CP866 = false;                 // the client works in code page 866
  std::uint8_t AnswerWaiting = 1;     // answer time-out in units of 290 ms
  std::uint8_t RepeatCount = 2;       // attempts run 0..RepeatCount
  bool LogRecord = false;             // exchange log on or off
};

}  // namespace zorfp
