// The device side of one line: reads the host's frames, answers them like the printer, keeps the
// last answer for resends, injects faults and keeps time (busy periods, delays, line-rate pacing).
//
// Run() is the serving loop and the only code that reads or writes the port. It sleeps until the
// next byte or timer is due, to the nanosecond, and never in the middle of writing. Everything the
// Simulator exposes to other threads (model, counters, faults, forced answers) is guarded by one
// mutex; the loop never holds it while writing to the port.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "sim/faults.h"
#include "sim/framing.h"
#include "sim/model.h"
#include "sim/options.h"
#include "sim/pacer.h"
#include "sim/port.h"

namespace zorfp::sim {

class Engine {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Engine(const SimulatorOptions& options);

  // Serves `port` until `wake_fd` becomes readable.
  void Run(Port& port, int wake_fd);

  Counters counters() const;
  std::string StateJson(const std::string& path) const;

  // Waits until `done` holds for the counters, or `timeout` passes; returns whether it held.
  bool WaitFor(const std::function<bool(const Counters&)>& done, std::chrono::milliseconds timeout) const;

  // Runs `f` on the model with the serving loop held off.
  template <typename F>
  decltype(auto) WithModel(F&& f) {
    std::lock_guard lock(mu_);
    return f(model_);
  }

  void SetFault(FaultKind kind, FaultRule rule);
  void ClearFaults();
  std::uint64_t FaultStrikes(FaultKind kind) const;
  void SetAnswerDelay(std::chrono::milliseconds delay);
  void SetForcedAnswer(Byte code, const ForcedAnswer& answer);
  void ClearForcedAnswer(Byte code);
  void SetProcessingTime(std::optional<Byte> code, std::chrono::milliseconds time);

 private:
  // An answer on its way out: `head` (noise and ACK) at head_due, `tail` (the frame) at tail_due,
  // keep-alive SYNs in between.
  struct Pending {
    Bytes head;
    Bytes tail;
    Clock::time_point head_due;
    Clock::time_point tail_due;
    Clock::time_point next_syn;
    bool head_sent = false;
    bool keepalive = false;
  };
  struct CachedAnswer {
    Byte seq;
    Bytes command;
    Bytes frame;
  };

  void ReadInput(Port& port);
  void OnByte(Byte b, Clock::time_point read_at);
  // `arrived`: when the frame's last byte had crossed the line.
  void OnFrame(Byte seq, const Bytes& command, Clock::time_point arrived);
  void PrepareAnswer(Byte seq, const Bytes& command, Clock::time_point arrived);  // mu_ held
  void OnHangup();
  void RunTimers();
  // The next moment something is due: a part of an answer, a keep-alive, a paced byte.
  std::optional<Clock::time_point> NextWake() const;
  // Hands `bytes` to the line at `at`: written at once unpaced, else each when its time comes.
  void Send(std::span<const Byte> bytes, Clock::time_point at);
  void WriteDue();
  void ApplyLineRate();
  std::chrono::milliseconds ProcessingTime(Byte code) const;  // mu_ held
  // Changes the counters under the lock and wakes whoever waits on them.
  template <typename F>
  void Count(F&& change) {
    {
      std::lock_guard lock(mu_);
      change(counters_);
    }
    changed_.notify_all();
  }

  mutable std::mutex mu_;
  mutable std::condition_variable changed_;
  PrinterModel model_;
  Counters counters_;
  FaultInjector faults_;
  std::map<Byte, ForcedAnswer> forced_;
  std::chrono::milliseconds processing_time_;
  std::map<Byte, std::chrono::milliseconds> processing_times_;
  std::chrono::milliseconds syn_interval_;
  std::optional<CachedAnswer> cache_;

  // Serving loop only.
  Port* port_ = nullptr;
  FrameReader reader_;
  LinePacer in_line_;      // the host's bytes
  LineSchedule out_line_;  // the answers
  bool pace_;
  bool hung_up_ = false;
  std::optional<Pending> pending_;
};

}  // namespace zorfp::sim
