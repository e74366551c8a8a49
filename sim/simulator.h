// The printer simulator as a library: a fiscal printer of one variant on a pseudo-terminal (or an
// existing serial device), served on a thread of its own.
//
//   zorfp::sim::SimulatorOptions o;
//   o.variant = zorfp::sim::Variant::k0503;
//   o.link_path = "/tmp/printer";
//   zorfp::sim::Simulator sim(o);
//   sim.Start();                  // the host can now open sim.path()
//   ...
//   sim.counters().commands_executed;
//   sim.Stop();
//
// Every method may be called from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "sim/engine.h"
#include "sim/options.h"

namespace zorfp::sim {

class Port;
class Tape;

class Simulator {
 public:
  explicit Simulator(SimulatorOptions options);
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // Opens the transport (and the tape) and starts serving. Throws std::system_error when the pty,
  // the link, the device or the tape cannot be set up.
  void Start();
  // Stops serving, writes the state file if one was configured, and removes the link. False when
  // the state file could not be written.
  bool Stop();
  bool running() const { return thread_.joinable(); }

  // What the host opens: the link path, or the pty slave or device when there is no link.
  const std::string& path() const { return path_; }
  const SimulatorOptions& options() const { return options_; }

  Counters counters() const { return engine_.counters(); }
  // Waits (without polling) until `done` holds for the counters; false after `timeout`.
  bool WaitFor(const std::function<bool(const Counters&)>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
    return engine_.WaitFor(done, timeout);
  }

  std::string StateJson() const { return engine_.StateJson(path_); }
  // Writes the state to options().state_path (no-op without one) or to `path`, atomically.
  bool WriteStateFile() const;
  bool WriteStateFile(const std::string& path) const;

  // Reads or changes the printer's registers while the serving loop is held off:
  //   sim.WithModel([](PrinterModel& m) { m.status.mode.day_open = true; });
  template <typename F>
  decltype(auto) WithModel(F&& f) {
    return engine_.WithModel(std::forward<F>(f));
  }

  // Faults and forced answers can change while serving; a rule set here counts its occasions anew.
  void SetFault(FaultKind kind, FaultRule rule) { engine_.SetFault(kind, rule); }
  void ClearFaults() { engine_.ClearFaults(); }
  // How often a fault has struck since the start (its rule changes do not reset it).
  std::uint64_t FaultStrikes(FaultKind kind) const { return engine_.FaultStrikes(kind); }
  void SetAnswerDelay(std::chrono::milliseconds delay) { engine_.SetAnswerDelay(delay); }
  void SetForcedAnswer(Byte code, const ForcedAnswer& answer) { engine_.SetForcedAnswer(code, answer); }
  void ClearForcedAnswer(Byte code) { engine_.ClearForcedAnswer(code); }
  void SetProcessingTime(std::chrono::milliseconds time) { engine_.SetProcessingTime(std::nullopt, time); }
  void SetProcessingTime(Byte code, std::chrono::milliseconds time) { engine_.SetProcessingTime(code, time); }

 private:
  SimulatorOptions options_;
  std::string path_;
  std::unique_ptr<Tape> tape_;
  Engine engine_;
  std::unique_ptr<Port> port_;
  std::thread thread_;
  int wake_read_ = -1;
  int wake_write_ = -1;
};

}  // namespace zorfp::sim
