// The wire format: command frames the driver sends and answer frames the printer returns.
//
//   command: DLE STX seq command... checksum DLE ETX   (seq, command and checksum DLE-stuffed)
//   answer:  [ACK [SYN...]] DLE STX seq cmd status result reserve data... checksum DLE ETX
#pragma once

#include <cstdint>

#include "link/bytes.h"

namespace zorfp {

inline constexpr Byte kStx = 0x02;
inline constexpr Byte kEtx = 0x03;
inline constexpr Byte kAck = 0x06;
inline constexpr Byte kDle = 0x10;
inline constexpr Byte kNak = 0x15;
inline constexpr Byte kSyn = 0x16;

Bytes BuildFrame(Byte seq, const Bytes& command);
// The same into `frame`, replacing what it held and reusing its storage.
void BuildFrame(Byte seq, const Bytes& command, Bytes& frame);

// True when `buffer` ends a frame: ETX preceded by an odd run of DLE (an even run is stuffed data).
bool EndsWithFrameEnd(const Bytes& buffer);

bool IsAnswerFrame(const Bytes& answer);
bool VerifyAnswerChecksum(const Bytes& answer);

struct ParsedAnswer {
  Byte status = 0;
  Byte result = 0;
  Byte reserve = 0;
  Bytes data;
};

// Decodes a collected answer. Refuses anything whose shape or checksum is wrong, and a content
// shorter than the five fixed bytes (seq, code, status, result, reserve).
bool ParseAnswer(const Bytes& answer, ParsedAnswer& out);

// The same straight into the caller's fields, reusing the storage of `data`. On refusal nothing
// is touched: the fields keep what the previous answer left there.
bool DecodeAnswer(const Bytes& answer, Byte& status, Byte& result, Byte& reserve, Bytes& data);

}  // namespace zorfp
