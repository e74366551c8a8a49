#include "sim/engine.h"

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include <nlohmann/json.hpp>

#include "sim/json.h"
#include "sim/model_commands.h"

namespace zorfp::sim {
namespace {

// While the host has the port closed the master reports a hang-up until it is opened again, and
// nothing signals the reopening: look again this often.
constexpr std::chrono::milliseconds kHangupProbe{10};

// The wait until `wake` in the form ppoll takes; null (no limit) when there is nothing to wait for.
const timespec* WaitUntil(std::optional<Engine::Clock::time_point> wake, timespec& ts) {
  if (!wake) return nullptr;
  const auto left = std::max(*wake - Engine::Clock::now(), Engine::Clock::duration::zero());
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
  ts.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  return &ts;
}

void WriteCounters(const Counters& c, Json& j) {
  j["frames_received"] = c.frames_received;
  j["bad_frames"] = c.bad_frames;
  j["frames_abandoned"] = c.frames_abandoned;
  j["stray_bytes"] = c.stray_bytes;
  j["commands_executed"] = c.commands_executed;
  j["commands_refused"] = c.commands_refused;
  j["unknown_commands"] = c.unknown_commands;
  j["repeats_answered"] = c.repeats_answered;
  j["forced_answers"] = c.forced_answers;
  j["answers_sent"] = c.answers_sent;
  j["answers_lost"] = c.answers_lost;
  j["naks_sent"] = c.naks_sent;
  j["busy_syns"] = c.busy_syns;
  j["fault_syns"] = c.fault_syns;
  j["keepalive_syns"] = c.keepalive_syns;
  j["frames_ignored"] = c.frames_ignored;
  j["host_hangups"] = c.host_hangups;
}

}  // namespace

Engine::Engine(const SimulatorOptions& options)
    : model_(options.variant),
      faults_(options.faults, options.seed),
      forced_(options.forced),
      processing_time_(options.processing_time),
      processing_times_(options.processing_times),
      syn_interval_(options.syn_interval),
      in_line_(options.baud),
      out_line_(options.baud),
      pace_(options.pace) {
  model_.status.line.baud = options.baud;
}

void Engine::Run(Port& port, int wake_fd) {
  port_ = &port;
  // A paced byte is due to the microsecond; the default slack of every timed wait (50 µs) would
  // make each one late.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  for (;;) {
    std::optional<Clock::time_point> wake = NextWake();
    if (hung_up_) {
      const Clock::time_point probe = Clock::now() + kHangupProbe;
      wake = wake ? std::min(*wake, probe) : probe;
    }
    timespec ts{};
    pollfd fds[2] = {{wake_fd, POLLIN, 0}, {port.fd(), POLLIN, 0}};
    const int ready = ::ppoll(fds, hung_up_ ? 1 : 2, WaitUntil(wake, ts), nullptr);
    if (ready < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) break;
    if (hung_up_) {
      pollfd probe{port.fd(), POLLIN, 0};
      if (::poll(&probe, 1, 0) >= 0 && (probe.revents & POLLHUP) == 0) hung_up_ = false;
    } else if (ready > 0 && fds[1].revents != 0) {
      ReadInput(port);
    }
    RunTimers();
  }
  port_ = nullptr;
}

void Engine::ReadInput(Port& port) {
  Byte buf[512];
  for (;;) {
    const ssize_t n = ::read(port.fd(), buf, sizeof buf);
    if (n > 0) {
      const Clock::time_point arrived = Clock::now();
      for (ssize_t i = 0; i < n; ++i) OnByte(buf[i], arrived);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;
    OnHangup();  // end of file, or EIO from a pty master whose slave was closed
    return;
  }
}

void Engine::OnByte(Byte b, Clock::time_point read_at) {
  // Paced, a byte cannot have arrived before the line could carry it: the host hands its frame
  // over in one write, and it crosses the line byte by byte from the moment it was read.
  const Clock::time_point arrived = pace_ ? in_line_.Book(read_at) : read_at;
  const FrameReader::Event event = reader_.Feed(b);
  switch (event) {
    case FrameReader::Event::kNone:
      return;
    case FrameReader::Event::kFrame:
      OnFrame(reader_.seq(), reader_.command(), arrived);
      // What is due goes out before the next frame of the same read is looked at.
      RunTimers();
      return;
    case FrameReader::Event::kBadChecksum:
    case FrameReader::Event::kMalformed: {
      Count([](Counters& c) {
        ++c.frames_received;
        ++c.bad_frames;
        ++c.naks_sent;
      });
      const Byte nak = kNak;
      Send(std::span(&nak, 1), arrived);
      return;
    }
    case FrameReader::Event::kStray: {
      Count([](Counters& c) { ++c.stray_bytes; });
      const Bytes burst = WithModel([b](PrinterModel& m) { return HearOutsideFrames(m, b); });
      Send(burst, arrived);
      return;
    }
    case FrameReader::Event::kAbandoned:
      Count([](Counters& c) { ++c.frames_abandoned; });
      return;
  }
}

void Engine::OnFrame(Byte seq, const Bytes& command, Clock::time_point arrived) {
  Byte reply = 0;  // a lone byte to send at once instead of an answer
  {
    std::lock_guard lock(mu_);
    ++counters_.frames_received;
    if (pending_) {
      ++counters_.busy_syns;
      reply = kSyn;
    } else if (faults_.Strikes(FaultKind::kSilent)) {
      ++counters_.frames_ignored;
    } else if (faults_.Strikes(FaultKind::kNak)) {
      ++counters_.naks_sent;
      reply = kNak;
    } else if (faults_.Strikes(FaultKind::kSyn)) {
      ++counters_.fault_syns;
      reply = kSyn;
    } else {
      PrepareAnswer(seq, command, arrived);
    }
  }
  changed_.notify_all();
  if (reply != 0) Send(std::span(&reply, 1), arrived);
}

void Engine::PrepareAnswer(Byte seq, const Bytes& command, Clock::time_point arrived) {
  Bytes frame;
  std::chrono::milliseconds processing{0};
  // A resend: same number and same bytes as the command answered last. Comparing the bytes as well
  // keeps a restarted host, whose numbering starts again, from being taken for a resend.
  if (cache_ && cache_->seq == seq && cache_->command == command) {
    ++counters_.repeats_answered;
    frame = cache_->frame;
  } else {
    Answer answer;
    if (const auto it = forced_.find(command.front()); it != forced_.end()) {
      ++counters_.forced_answers;
      answer = it->second;
    } else {
      Execution e = Execute(model_, command);
      ++counters_.commands_executed;
      if (e.answer.result != 0) ++counters_.commands_refused;
      if (!e.entry) ++counters_.unknown_commands;
      answer = std::move(e.answer);
      processing = ProcessingTime(command.front());
    }
    frame = BuildAnswerFrame(seq, command.front(), answer);
    cache_ = CachedAnswer{seq, command, frame};
  }

  if (faults_.Strikes(FaultKind::kLoseAnswer)) {
    ++counters_.answers_lost;
    return;
  }
  Bytes out = {kAck};
  out.insert(out.end(), frame.begin(), frame.end());
  if (faults_.Strikes(FaultKind::kTruncate)) faults_.Truncate(out);
  if (faults_.Strikes(FaultKind::kDropByte)) faults_.DropByte(out);
  if (faults_.Strikes(FaultKind::kCorruptByte)) faults_.CorruptByte(out);
  Bytes noise;
  if (faults_.Strikes(FaultKind::kNoise)) noise = faults_.Noise();
  ++counters_.answers_sent;

  // A slow command: ACK at once, the frame when the work is done.
  const std::size_t split = processing.count() > 0 ? 1 : out.size();
  Pending p;
  p.head = std::move(noise);
  p.head.insert(p.head.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(split));
  p.tail.assign(out.begin() + static_cast<std::ptrdiff_t>(split), out.end());
  // Timed from the frame's arrival, not from when the work on it was done: the printer's own
  // processing time is what `processing` says, nothing more.
  p.head_due = arrived + faults_.delay();
  p.tail_due = p.head_due + processing;
  p.keepalive = processing.count() > 0 && syn_interval_.count() > 0;
  p.next_syn = p.head_due + syn_interval_;
  pending_ = std::move(p);
}

void Engine::OnHangup() {
  hung_up_ = true;
  reader_.Reset();
  pending_.reset();
  out_line_.Clear();
  {
    std::lock_guard lock(mu_);
    ++counters_.host_hangups;
    // A resend never spans a close of the port: whoever opens it next starts afresh.
    cache_.reset();
  }
  changed_.notify_all();
}

void Engine::RunTimers() {
  const Byte syn = kSyn;
  while (pending_) {
    const Clock::time_point now = Clock::now();
    Pending& p = *pending_;
    if (!p.head_sent) {
      if (now < p.head_due) break;
      Send(p.head, p.head_due);
      p.head_sent = true;
    } else if (now >= p.tail_due) {
      Send(p.tail, p.tail_due);
      pending_.reset();
    } else if (p.keepalive && now >= p.next_syn) {
      Send(std::span(&syn, 1), p.next_syn);
      p.next_syn += syn_interval_;
      Count([](Counters& c) { ++c.keepalive_syns; });
    } else {
      break;
    }
  }
  WriteDue();
  // The printer switches its rate once the answer has left at the old one.
  if (!pending_ && out_line_.empty()) ApplyLineRate();
}

std::optional<Engine::Clock::time_point> Engine::NextWake() const {
  std::optional<Clock::time_point> next;
  if (pending_) {
    const Pending& p = *pending_;
    next = p.head_due;
    if (p.head_sent) next = p.keepalive ? std::min(p.tail_due, p.next_syn) : p.tail_due;
  }
  if (!out_line_.empty()) next = next ? std::min(*next, out_line_.next_due()) : out_line_.next_due();
  return next;
}

void Engine::Send(std::span<const Byte> bytes, Clock::time_point at) {
  if (bytes.empty() || !port_) return;
  if (!pace_) {
    WriteAll(port_->fd(), bytes);
    return;
  }
  out_line_.Queue(bytes, at);
  WriteDue();
}

void Engine::WriteDue() {
  if (out_line_.empty() || !port_) return;
  const std::span<const Byte> due = out_line_.TakeDue(Clock::now());
  if (!due.empty()) WriteAll(port_->fd(), due);
}

void Engine::ApplyLineRate() {
  int baud = 0;
  {
    std::lock_guard lock(mu_);
    baud = model_.status.line.baud;
  }
  if (baud == out_line_.baud() || !port_) return;
  port_->SetLineRate(baud);
  in_line_.set_baud(baud);
  out_line_.set_baud(baud);
}

std::chrono::milliseconds Engine::ProcessingTime(Byte code) const {
  const auto it = processing_times_.find(code);
  return it != processing_times_.end() ? it->second : processing_time_;
}

Counters Engine::counters() const {
  std::lock_guard lock(mu_);
  return counters_;
}

bool Engine::WaitFor(const std::function<bool(const Counters&)>& done,
                     std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mu_);
  return changed_.wait_for(lock, timeout, [&] { return done(counters_); });
}

std::string Engine::StateJson(const std::string& path) const {
  std::lock_guard lock(mu_);
  Json j;
  j["variant"] = Tag(model_.variant);
  j["path"] = path;
  WriteCounters(counters_, j);
  Json& strikes = j["fault_strikes"] = Json::object();
  for (int k = 0; k < kFaultKindCount; ++k) {
    const auto kind = static_cast<FaultKind>(k);
    strikes[FaultName(kind)] = faults_.strikes(kind);
  }
  Json& forced = j["forced"] = Json::array();
  for (const auto& [code, a] : forced_) {
    std::string text = HexString(Bytes{code, a.status, a.result, a.reserve});
    std::replace(text.begin(), text.end(), ' ', ':');
    if (!a.data.empty()) text += ":" + HexString(a.data);
    std::erase(text, ' ');
    forced.push_back(text);
  }
  WriteJson(model_, j["printer"]);
  return JsonText(j);
}

void Engine::SetFault(FaultKind kind, FaultRule rule) {
  std::lock_guard lock(mu_);
  faults_.SetRule(kind, rule);
}

void Engine::ClearFaults() {
  std::lock_guard lock(mu_);
  faults_.ClearRules();
  faults_.set_delay(std::chrono::milliseconds(0));
}

std::uint64_t Engine::FaultStrikes(FaultKind kind) const {
  std::lock_guard lock(mu_);
  return faults_.strikes(kind);
}

void Engine::SetAnswerDelay(std::chrono::milliseconds delay) {
  std::lock_guard lock(mu_);
  faults_.set_delay(delay);
}

void Engine::SetForcedAnswer(Byte code, const ForcedAnswer& answer) {
  std::lock_guard lock(mu_);
  forced_[code] = answer;
}

void Engine::ClearForcedAnswer(Byte code) {
  std::lock_guard lock(mu_);
  forced_.erase(code);
}

void Engine::SetProcessingTime(std::optional<Byte> code, std::chrono::milliseconds time) {
  std::lock_guard lock(mu_);
  if (code) {
    processing_times_[*code] = time;
  } else {
    processing_time_ = time;
  }
}

}  // namespace zorfp::sim
