#include "support/answer_frame.h"

namespace zorfp::testing {
namespace {

constexpr Byte kDle = 0x10, kStx = 0x02, kEtx = 0x03, kAck = 0x06;

void PutStuffed(Bytes& out, Byte b) {
  out.push_back(b);
  if (b == kDle) out.push_back(kDle);
}

}  // namespace

Bytes AnswerFrame(Byte seq, Byte code, Byte status, Byte result, Byte reserve, const Bytes& data,
                  bool with_ack) {
  Bytes content{seq, code, status, result, reserve};
  content.insert(content.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (Byte b : content) sum += b;
  Bytes out;
  if (with_ack) out.push_back(kAck);
  out.push_back(kDle);
  out.push_back(kStx);
  for (Byte b : content) PutStuffed(out, b);
  PutStuffed(out, static_cast<Byte>(0x100 - (sum & 0xFF)));
  out.push_back(kDle);
  out.push_back(kEtx);
  return out;
}

}  // namespace zorfp::testing
