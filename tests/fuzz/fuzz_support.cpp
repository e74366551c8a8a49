#include "fuzz_support.h"

namespace zorfp::fuzz {
namespace {

constexpr Byte kAck = 0x06, kDle = 0x10, kStx = 0x02, kEtx = 0x03;

void PutStuffed(Bytes& out, Byte b) {
  out.push_back(b);
  if (b == kDle) out.push_back(kDle);
}

}  // namespace

Bytes AnswerFrame(Byte status, Byte result, Byte reserve, std::span<const Byte> data) {
  Bytes content{0x01, 0x00, status, result, reserve};
  content.insert(content.end(), data.begin(), data.end());
  unsigned sum = 0;
  for (Byte b : content) sum += b;
  Bytes out{kAck, kDle, kStx};
  for (Byte b : content) PutStuffed(out, b);
  PutStuffed(out, static_cast<Byte>(0x100 - (sum & 0xFF)));
  out.push_back(kDle);
  out.push_back(kEtx);
  return out;
}

Bytes Input::Reply() {
  const Byte kind = U8();
  if (kind % 8 == 0) {
    const auto raw = Take(U8());
    return Bytes(raw.begin(), raw.end());
  }
  // Mostly clean answers, so that members get past the exchange into their decoding.
  const Byte status = kind % 4 == 1 ? U8() : 0;
  const Byte result = kind % 4 == 2 ? U8() : 0;
  const Byte reserve = kind % 8 == 3 ? U8() : 0;
  return AnswerFrame(status, result, reserve, Take(U16() % 256));
}

}  // namespace zorfp::fuzz
