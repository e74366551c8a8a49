#include "fuzz_support.h"

#include "support/answer_frame.h"

namespace zorfp::fuzz {
Bytes AnswerFrame(Byte status, Byte result, Byte reserve, std::span<const Byte> data) {
  return testing::AnswerFrame(0x01, 0x00, status, result, reserve, Bytes(data.begin(), data.end()));
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
