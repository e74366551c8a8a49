#include "sim/fields.h"

namespace zorfp::sim {

std::uint64_t FieldReader::UInt(int width) {
  std::uint64_t value = 0;
  const std::span<const Byte> bytes = Take(static_cast<std::size_t>(width));
  for (std::size_t i = bytes.size(); i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

std::span<const Byte> FieldReader::Take(std::size_t n) {
  if (failed_ || n > left()) {
    failed_ = true;
    pos_ = bytes_.size();
    return {};
  }
  const std::span<const Byte> out = bytes_.subspan(pos_, n);
  pos_ += n;
  return out;
}

void AppendUInt(Bytes& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i, value >>= 8) out.push_back(static_cast<Byte>(value & 0xFF));
}

void AppendSignMagnitude32(Bytes& out, std::int64_t value) {
  const std::uint64_t magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value) & 0x7FFFFFFFu;
  AppendUInt(out, magnitude | (value < 0 ? kBit31 : 0u), 4);
}

void AppendMoney40(Bytes& out, std::int64_t value) {
  AppendUInt(out, static_cast<std::uint64_t>(value) & kMoney40Max, 5);
}

Byte BcdByte(int value) {
  return static_cast<Byte>((value / 10 % 10) << 4 | value % 10);
}

}  // namespace zorfp::sim
