// Everything the library shares between its driver objects, in one place. A client that drives
// two printers through two objects sees one call result and one set of settings: that is how the
// interface is defined, and this record is where it lives.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "driver/variant_traits.h"
#include "driver/variant_values.h"
#include "link/clock.h"
#include "link/exchange_log.h"
#include "link/last_call.h"
#include "link/link.h"
#include "link/serial_port.h"
#include "link/settings.h"

namespace zorfp {

// The lock every member call holds for its whole duration. Recursive, because a long job runs
// behind the waiting window inside the call that started it, on the same thread.
struct CallMutex {
  CallMutex() = default;
  CallMutex(const CallMutex&) {}  // a module put back to its first state keeps its one lock
  CallMutex& operator=(const CallMutex&) { return *this; }
  std::recursive_mutex mutex;
};

struct Module {
  // Settings properties: CP866, AnswerWaiting, RepeatCount, LogRecord for the whole library...
  Settings settings;
  // ...and Lang one per class (0 English, 1 Russian, 2 Ukrainian), indexed by VariantId.
  std::array<Byte, kVariantCount> Lang{1, 1, 1, 1, 1, 1, 1};

  // The outcome of the last call of any object.
  LastCall last_call;

  // Receipt values and held status, one set per protocol variant (indexed by VariantId).
  std::array<VariantValues, kVariantCount> values;
  // PrintEAN13: whether sale items carry the EAN-13 mark; one switch for every class.
  bool PrintEAN13 = false;

  // FrameSeq, RawAnswer, ProtocolTag and the rest of the link's own state.
  LinkState link;

  // 05-02 and 05-03: the port a long job under the waiting window runs on (null when unset).
  std::array<SerialPort*, kVariantCount> ActivePort{};

  // The waiting window's inputs.
  AnsiString WaitingWindowText;
  std::int16_t WaitingWindowMode = 0;
  bool LongJobRunning = false;  // a job waits behind the window: a second one is refused

  // Platform facts and seams: replaced by tests, never by clients.
  Environment env;
  Clock* clock = &SystemClock();
  PortOpener open_port = &OpenSerialPort;
  std::chrono::milliseconds waiting_window_delay{1000};

  Link MakeLink() { return Link{settings, link, last_call, *clock, env}; }

  // One member call at a time in the whole library, whichever object or thread it comes from:
  // two calls must never interleave their frames on a port, nor one overwrite LastCall while
  // another's client is still to read it from its result. The dispatcher takes it around every
  // member; releasing a driver object takes it too, since that may close a port in use.
  CallMutex calls;
  [[nodiscard]] std::unique_lock<std::recursive_mutex> LockCalls() {
    return std::unique_lock<std::recursive_mutex>(calls.mutex);
  }
};

// The one module of this library, created on first use.
Module& TheModule();

// Back to the state of a freshly loaded library (tests only).
void ResetModuleForTesting();

}  // namespace zorfp
