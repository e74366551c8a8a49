#include "link/exchange.h"

#include <algorithm>

#include "link/exchange_log.h"
#include "link/frame.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;

const Bytes kSynWaitText = ToBytes("300 ms");

milliseconds Elapsed(Clock::Steady now, Clock::Steady since) {
  const auto d = now - since;
  return std::chrono::duration_cast<milliseconds>(d < Clock::Steady::duration::zero() ? -d : d);
}

// How long a read may still wait before the answer window closes (one past it, so that a byte
// arriving right at the limit is still taken, as the window's test is "more than the limit").
milliseconds TimeLeft(milliseconds elapsed, milliseconds limit) {
  return std::max(milliseconds(0), limit - elapsed + milliseconds(1));
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
  Bytes& frame = link.state.SentFrame;
  BuildFrame(link.state.FrameSeq, command, frame);
  const std::size_t written = port.Write(frame);
  WriteLogQuietly(link, LogKind::kSend, frame);
  link.state.LastSendTime = link.clock.Now();
  return written == frame.size();
}

bool ReceiveAnswer(const Link& link, SerialPort& port, Bytes& answer, std::size_t* noise) {
  answer.clear();
  if (noise) *noise = 0;
  std::size_t frame_at = 0;  // where the start marker's DLE is
  const milliseconds limit(link.settings.AnswerWaiting * kAnswerWaitingUnitMs);
  bool in_frame = false;  // past the start marker: a 0x16 there is data, not a busy signal
  std::size_t dle_run = 0;  // DLE bytes at the end of the answer so far
  // One look at the clock per byte: the time taken after a read is both the window's test and
  // what the next read may still wait.
  milliseconds elapsed = Elapsed(link.clock.Now(), link.state.LastSendTime);
  for (;;) {
    const auto byte = port.ReadByte(TimeLeft(elapsed, limit));
    elapsed = Elapsed(link.clock.Now(), link.state.LastSendTime);
    if (elapsed > limit) return false;
    if (!byte) continue;
    if (*byte == kSyn && !in_frame) {
      WriteLogQuietly(link, LogKind::kWait, kSynWaitText);
      link.clock.Pause(milliseconds(kSynPauseMs));
      if (answer.empty()) {
        answer.push_back(kSyn);
        return false;
      }
      answer.push_back(kSyn);
      dle_run = 0;
      link.state.LastSendTime = link.clock.Now();
      elapsed = milliseconds(0);
      continue;
    }
    answer.push_back(*byte);
    // An odd run of DLE before STX opens the frame and before ETX ends it; an even run is
    // stuffed data.
    const bool marker = dle_run % 2 == 1;
    dle_run = *byte == kDle ? dle_run + 1 : 0;
    if (*byte == kStx && !in_frame && marker) {
      in_frame = true;
      frame_at = answer.size() - 2;
    }
    if (*byte == kEtx && marker) break;
  }
  if (answer.front() == kNak) {
    port.Purge(true, false);
    return false;
  }
  if (answer.front() == kAck || (answer.size() >= 2 && answer[0] == kDle && answer[1] == kStx)) return true;
  // Bytes of line noise ahead of a whole frame: the frame's checksum, not the noise, says whether it
  // is the answer. A NAK among them is the printer's refusal, and stands.
  if (noise == nullptr || !in_frame) return false;
  const auto before = answer.begin() + static_cast<std::ptrdiff_t>(frame_at);
  if (std::find(answer.begin(), before, kNak) != before) return false;
  const auto ack = std::find(std::make_reverse_iterator(before), answer.rend(), kAck);
  *noise = ack == answer.rend() ? frame_at : static_cast<std::size_t>(answer.rend() - ack - 1);
  return true;
}

bool ExchangeCommand(const Link& link, const ExchangeProfile& profile, SerialPort* port, const Bytes& command,
                     const AnswerCheck& usable) {
  LinkState& st = link.state;
  LastCall& lc = link.last_call;
  st.ProtocolTag = profile.tag;
  lc.ReportedStatus = 0;
  lc.ReportedResult = 0;
  lc.AnswerReserve = 0;
  if (port == nullptr) return false;

  std::size_t noise = 0;
  const auto decode = [&] {
    const bool decoded =
        noise == 0 ? DecodeAnswer(st.RawAnswer, lc.AnswerStatus, lc.AnswerResult, lc.AnswerReserve, lc.AnswerData)
                   : DecodeAnswer(Bytes(st.RawAnswer.begin() + static_cast<std::ptrdiff_t>(noise), st.RawAnswer.end()),
                                  lc.AnswerStatus, lc.AnswerResult, lc.AnswerReserve, lc.AnswerData);
    if (!decoded) return false;
    SetAnswerFlags(lc.flags, lc.AnswerStatus, lc.AnswerReserve, profile.extra_answer_flags);
    return true;
  };

  unsigned attempt = 0;
  unsigned wait_count = 0;
  bool first_send = true;
  for (;;) {
    SendFrame(link, *port, command, first_send);
    first_send = false;
    const bool ok = ReceiveAnswer(link, *port, st.RawAnswer, &noise);
    WriteLogQuietly(link, LogKind::kReceive, st.RawAnswer);
    const bool last = attempt >= link.settings.RepeatCount;
    if (ok) {
      // A complete answer that is spoiled (its checksum fails, or it does not fit what the
      // member expects) is a failed attempt: the printer keeps its last answer and gives it
      // again, without executing, to the same frame with the same number. Reporting it as
      // unanswered would call an executed sale failed.
      const bool decoded = decode();
      if (decoded && (!usable || usable())) return true;
      if (last) return decoded;
      ++attempt;
      wait_count = 0;
      continue;
    }
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
    // After the last attempt the last collected answer is still decoded if its shape and
    // checksum hold.
    if (last) return decode();
    ++attempt;
    wait_count = 0;
  }
}

bool ReceiveRaw(const Link& link, SerialPort& port, Bytes& answer) {
  answer.clear();
  const milliseconds limit(link.settings.AnswerWaiting * kRawAnswerWaitingUnitMs);
  milliseconds elapsed = Elapsed(link.clock.Now(), link.state.LastRawTime);
  for (;;) {
    const auto byte = port.ReadByte(TimeLeft(elapsed, limit));
    const Clock::Steady now = link.clock.Now();
    elapsed = Elapsed(now, link.state.LastRawTime);
    if (elapsed > limit) return false;
    if (byte) {
      answer.push_back(*byte);
      link.state.LastRawTime = now;
      elapsed = milliseconds(0);
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
