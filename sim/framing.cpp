#include "sim/framing.h"

namespace zorfp::sim {

Byte Checksum(std::span<const Byte> bytes) {
  unsigned sum = 0;
  for (Byte b : bytes) sum += b;
  return static_cast<Byte>(0x100 - (sum & 0xFF));
}

void AppendStuffed(Bytes& out, Byte b) {
  out.push_back(b);
  if (b == kDle) out.push_back(kDle);
}

Bytes BuildAnswerFrame(Byte seq, Byte code, const Answer& answer) {
  Bytes content = {seq, code, answer.status, answer.result, answer.reserve};
  content.insert(content.end(), answer.data.begin(), answer.data.end());
  content.push_back(Checksum(content));

  Bytes frame = {kDle, kStx};
  frame.reserve(content.size() * 2 + 4);
  for (Byte b : content) AppendStuffed(frame, b);
  frame.push_back(kDle);
  frame.push_back(kEtx);
  return frame;
}

void FrameReader::Reset() {
  state_ = State::kIdle;
  content_.clear();
  broken_ = false;
  wire_size_ = 0;
}

void FrameReader::StartFrame() {
  state_ = State::kBody;
  content_.clear();
  broken_ = false;
  wire_size_ = 2;  // DLE STX
}

FrameReader::Event FrameReader::Feed(Byte b) {
  switch (state_) {
    case State::kIdle:
      if (b == kDle) {
        state_ = State::kIdleDle;
        return Event::kNone;
      }
      return Event::kStray;

    case State::kIdleDle:
      if (b == kStx) {
        StartFrame();
        return Event::kNone;
      }
      // The DLE before was stray; this one may still start a marker.
      state_ = b == kDle ? State::kIdleDle : State::kIdle;
      return Event::kStray;

    case State::kBody:
      ++wire_size_;
      if (b == kDle) {
        state_ = State::kBodyDle;
      } else if (content_.size() < kMaxContent) {
        content_.push_back(b);
      } else {
        broken_ = true;
      }
      return Event::kNone;

    case State::kBodyDle:
      ++wire_size_;
      if (b == kEtx) return Finish();
      if (b == kStx) {
        StartFrame();
        return Event::kAbandoned;
      }
      state_ = State::kBody;
      if (b != kDle) broken_ = true;  // a lone DLE: the host never sends one inside a frame
      if (content_.size() < kMaxContent) {
        content_.push_back(b);
      } else {
        broken_ = true;
      }
      return Event::kNone;
  }
  return Event::kNone;
}

FrameReader::Event FrameReader::Finish() {
  state_ = State::kIdle;
  // Seq, at least one command byte and the checksum.
  if (broken_ || content_.size() < 3) return Event::kMalformed;
  unsigned sum = 0;
  for (Byte b : content_) sum += b;
  if ((sum & 0xFF) != 0) return Event::kBadChecksum;
  seq_ = content_.front();
  command_.assign(content_.begin() + 1, content_.end() - 1);
  return Event::kFrame;
}

}  // namespace zorfp::sim
