#include "link/exchange.h"

#include <algorithm>

#include "link/exchange_log.h"
#include "link/frame.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;

milliseconds ElapsedSince(Clock& clock, Clock::Steady since) {
  const auto d = clock.Now() - since;
  return std::chrono::duration_cast<milliseconds>(d < Clock::Steady::duration::zero() ? -d : d);
}

// How long a read may still wait before the answer window closes (one past it, so that a byte
// arriving right at the limit is still taken, as the window's test is "more than the limit").
milliseconds TimeLeft(Clock& clock, Clock::Steady since, milliseconds limit) {
  return std::max(milliseconds(0), limit - ElapsedSince(clock, since) + milliseconds(1));
}

void SetAnswerFlags(AnswerFlags& f, Byte status, Byte reserve, bool extra) {
  f = AnswerFlags{};
  f.ServiceReportOpen = (reserve & 0x01) != 0;
  f.FinishAfterError = (reserve & 0x02) != 0;
  if (extra) {
    f.PaperOutNotice = (reserve & 0x04) != 0;
    f.NoPersonalization = (reserve & 0x80) != 0;
  }
  f.CommandAccepted = (status & 0x80) == 0;
  f.ClockError = (status & 0x08) != 0;
  f.DayOver24Hours = (status & 0x20) != 0;
}

}  // namespace

bool SendFrame(const Link& link, SerialPort& port, const Bytes& command, bool new_sequence) {
  link.last_call.ErrorText.clear();
  port.Purge(true, true);
  if (new_sequence) ++link.state.FrameSeq;
  const Bytes frame = BuildFrame(link.state.FrameSeq, command);
  const std::size_t written = port.Write(frame);
  WriteLogQuietly(link, LogKind::kSend, frame);
  link.state.LastSendTime = link.clock.Now();
  return written == frame.size();
}

bool ReceiveAnswer(const Link& link, SerialPort& port, Bytes& answer) {
  answer.clear();
  const milliseconds limit(link.settings.AnswerWaiting * kAnswerWaitingUnitMs);
  bool in_frame = false;  // past the start marker: a 0x16 there is data, not a busy signal
  for (;;) {
    const auto byte = port.ReadByte(TimeLeft(link.clock, link.state.LastSendTime, limit));
    if (ElapsedSince(link.clock, link.state.LastSendTime) > limit) return false;
    if (!byte) continue;
    if (*byte == kSyn && !in_frame) {
      WriteLogQuietly(link, LogKind::kWait, ToBytes("300 ms"));
      link.clock.Pause(milliseconds(kSynPauseMs));
      if (answer.empty()) {
        answer.push_back(kSyn);
        return false;
      }
      answer.push_back(kSyn);
      link.state.LastSendTime = link.clock.Now();
      continue;
    }
    answer.push_back(*byte);
    if (*byte == kStx && !in_frame) {
      // An odd run of DLE before STX opens the frame; an even run is a stuffed data byte.
      std::size_t run = 0;
      for (std::size_t i = answer.size() - 1; i-- > 0 && answer[i] == kDle;) ++run;
      in_frame = run % 2 == 1;
    }
    if (EndsWithFrameEnd(answer)) break;
  }
  if (answer.front() == kNak) {
    port.Purge(true, false);
    return false;
  }
  return answer.front() == kAck || (answer.size() >= 2 && answer[0] == kDle && answer[1] == kStx);
}

bool ExchangeCommand(const Link& link, const ExchangeProfile& profile, SerialPort* port, const Bytes& command) {
  LinkState& st = link.state;
  LastCall& lc = link.last_call;
  st.ProtocolTag = profile.tag;
  lc.ReportedStatus = 0;
  lc.ReportedResult = 0;
  lc.AnswerReserve = 0;
  if (port == nullptr) return false;

  unsigned attempt = 0;
  unsigned wait_count = 0;
  bool first_send = true;
  while (attempt <= link.settings.RepeatCount) {
    SendFrame(link, *port, command, first_send);
    first_send = false;
    const bool ok = ReceiveAnswer(link, *port, st.RawAnswer);
    WriteLogQuietly(link, LogKind::kReceive, st.RawAnswer);
    if (ok) break;
    if (st.RawAnswer.empty()) {
      if (wait_count >= st.NoAnswerLimit) return false;
      ++wait_count;
      continue;
    }
    if (st.RawAnswer.size() == 1 && st.RawAnswer[0] == kSyn) {
      if (wait_count >= st.SynWaitLimit) return false;
      ++wait_count;
      continue;
    }
    ++attempt;
    wait_count = 0;
  }

  ParsedAnswer parsed;
  if (!ParseAnswer(st.RawAnswer, parsed)) return false;
  lc.AnswerStatus = parsed.status;
  lc.AnswerResult = parsed.result;
  lc.AnswerReserve = parsed.reserve;
  lc.AnswerData = std::move(parsed.data);
  SetAnswerFlags(lc.flags, lc.AnswerStatus, lc.AnswerReserve, profile.extra_answer_flags);
  return true;
}

bool ReceiveRaw(const Link& link, SerialPort& port, Bytes& answer) {
  answer.clear();
  const milliseconds limit(link.settings.AnswerWaiting * kRawAnswerWaitingUnitMs);
  for (;;) {
    const auto byte = port.ReadByte(TimeLeft(link.clock, link.state.LastRawTime, limit));
    if (ElapsedSince(link.clock, link.state.LastRawTime) > limit) return false;
    if (byte) {
      answer.push_back(*byte);
      link.state.LastRawTime = link.clock.Now();
    } else if (!answer.empty()) {
      return true;  // the answer ends with the first read that brings nothing
    }
  }
}

bool SendRaw(const Link& link, SerialPort& port, const Bytes& bytes, Bytes& answer) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    port.Purge(true, true);
    const bool ok = port.Write(bytes) == bytes.size();
    link.state.LastRawTime = link.clock.Now();
    if (ReceiveRaw(link, port, answer)) return ok;
  }
  return false;
}

}  // namespace zorfp
