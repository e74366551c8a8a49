// The device's side of the wire format.
//
//   command in:  DLE STX seq command... checksum DLE ETX
//   answer out:  ACK, then DLE STX seq code status result reserve data... checksum DLE ETX
//
// Inside the markers every 0x10 is doubled. The checksum makes the 8-bit sum of the unstuffed bytes
// between the markers, itself included, come to zero.
#pragma once

#include <cstddef>
#include <span>

#include "sim/bytes.h"

namespace zorfp::sim {

inline constexpr Byte kStx = 0x02;
inline constexpr Byte kEtx = 0x03;
inline constexpr Byte kAck = 0x06;
inline constexpr Byte kDle = 0x10;
inline constexpr Byte kNak = 0x15;
inline constexpr Byte kSyn = 0x16;

// The byte that brings the sum of `bytes` and itself to 0 modulo 256.
Byte Checksum(std::span<const Byte> bytes);

// Appends `b`, doubled when it is DLE.
void AppendStuffed(Bytes& out, Byte b);

// What the printer sends back for one command, before framing.
struct Answer {
  Byte status = 0;
  Byte result = 0;
  Byte reserve = 0;
  Bytes data;

  bool operator==(const Answer&) const = default;
};

// The answer frame, markers included, ACK not included.
Bytes BuildAnswerFrame(Byte seq, Byte code, const Answer& answer);

// Reads the host's bytes one at a time and reports each complete frame.
//
// A DLE STX anywhere starts a new frame, abandoning a half-read one: inside a frame a data DLE is
// always doubled, so DLE STX cannot be content. Bytes outside frames are reported as stray.
class FrameReader {
 public:
  enum class Event {
    kNone,         // byte taken, nothing complete yet
    kFrame,        // a frame with a good checksum: seq() and command() hold it
    kBadChecksum,  // a complete frame whose checksum does not add up
    kMalformed,    // a complete frame too short to hold a command, or with a lone DLE inside
    kStray,        // a byte outside any frame
    kAbandoned,    // a new start marker cut a frame short; the new frame is being read
  };

  // Frames longer than this are refused at their end marker; the device has no use for more.
  static constexpr std::size_t kMaxContent = 1024;

  Event Feed(Byte b);
  void Reset();

  Byte seq() const { return seq_; }
  const Bytes& command() const { return command_; }

  // True while inside a frame (after its start marker).
  bool in_frame() const { return state_ == State::kBody || state_ == State::kBodyDle; }
  // Wire bytes of the frame just completed or being read, markers and stuffing included.
  std::size_t wire_size() const { return wire_size_; }

 private:
  enum class State { kIdle, kIdleDle, kBody, kBodyDle };

  void StartFrame();  // after DLE STX
  Event Finish();

  State state_ = State::kIdle;
  Bytes content_;  // unstuffed seq, command and checksum
  bool broken_ = false;
  std::size_t wire_size_ = 0;
  Byte seq_ = 0;
  Bytes command_;
};

}  // namespace zorfp::sim
