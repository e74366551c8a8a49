// The module-wide state the link reads and writes, borrowed from the driver module so that every
// shared value still lives in one place (driver/module.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "dates/locale_formats.h"
#include "link/bytes.h"
#include "link/clock.h"
#include "link/last_call.h"
#include "link/settings.h"

namespace zorfp {

struct LinkState {
  Byte FrameSeq = 0;             // number of the last frame sent; the first command carries 1
  Clock::Steady LastSendTime{};  // last frame written, or last SYN inside an answer
  Clock::Steady LastRawTime{};   // last raw byte sent or received (modem exchange)
  Bytes RawAnswer;               // the last answer as collected
  std::string ProtocolTag;       // tag of the class that last exchanged, opened or closed a port
  Byte SynWaitLimit = 25;        // SYN answers tolerated within one attempt
  Byte NoAnswerLimit = 5;        // resends after an empty answer within one attempt
  std::string LastLogError;      // why the last log record inside an exchange could not be written
  Bytes SentFrame;               // the frame last written; its storage serves the next one
};

// Facts about the platform the log needs; the module fills them in, tests replace them.
struct Environment {
  LocaleFormats locale;
  std::filesystem::path log_folder;  // empty: DefaultLogFolder()
};

struct Link {
  Settings& settings;
  LinkState& state;
  LastCall& last_call;
  Clock& clock;
  const Environment& env;
};

}  // namespace zorfp
