// Sending one command and collecting its answer: resends, SYN waits, time-outs, decoding into
// the last-call state.
#pragma once

#include <functional>

#include "link/bytes.h"
#include "link/link.h"
#include "link/serial_port.h"

namespace zorfp {

// What differs between the driver classes' exchanges.
struct ExchangeProfile {
  const char* tag;               // ProtocolTag written into the log
  bool extra_answer_flags;       // PaperOutNotice and NoPersonalization are decoded
};

inline constexpr int kAnswerWaitingUnitMs = 290;
inline constexpr int kRawAnswerWaitingUnitMs = 450;
inline constexpr int kSynPauseMs = 300;

// Writes one frame. `new_sequence` is true only for the first send of a command: every resend of
// it carries the same number, so a printer that executed a frame whose answer was lost recognises
// the resend instead of executing the command again.
bool SendFrame(const Link& link, SerialPort& port, const Bytes& command, bool new_sequence);

// Collects one answer: leading ACK and SYN bytes, then a frame up to its end marker. Line noise
// before the answer does not spoil a frame that arrives whole after it: `noise` (when given) is
// then the number of bytes before the answer's ACK or start marker.
bool ReceiveAnswer(const Link& link, SerialPort& port, Bytes& answer, std::size_t* noise = nullptr);

// Says whether a decoded answer (in the last-call state) can be used; false asks for it again.
using AnswerCheck = std::function<bool()>;

// Sends `command` and decodes the answer into the last-call state. True when an answer could be
// decoded (the printer may still have refused the command); false when there is no usable answer.
// A complete answer whose checksum fails, or which `usable` turns down, is sent for again with the
// same number while attempts remain; after the last one a decoded answer still counts as decoded.
// `port` null (no open port) sends nothing and counts as no answer.
bool ExchangeCommand(const Link& link, const ExchangeProfile& profile, SerialPort* port, const Bytes& command,
                     const AnswerCheck& usable = {});

// The unframed exchange of the modem status: up to three tries; nothing is logged.
bool SendRaw(const Link& link, SerialPort& port, const Bytes& bytes, Bytes& answer);
bool ReceiveRaw(const Link& link, SerialPort& port, Bytes& answer);

}  // namespace zorfp
