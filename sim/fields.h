// The number fields of command parameters and answers, read and written from the device's side.
//
// Multi-byte numbers travel least significant byte first. A sign-magnitude field keeps the sign in
// bit 7 of its last byte; some four-byte fields carry a flag there instead. Money registers are
// five bytes wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/bytes.h"

namespace zorfp::sim {

inline constexpr std::uint64_t kMoney40Max = (std::uint64_t{1} << 40) - 1;
inline constexpr std::uint32_t kBit31 = 0x80000000u;

// Reads a command's parameters front to back. Reading past the end yields zeros and marks the
// reader failed, so a handler reads every field and then asks once whether the shape was right.
class FieldReader {
 public:
  explicit FieldReader(std::span<const Byte> bytes) : bytes_(bytes) {}

  Byte Byte1() { return static_cast<Byte>(UInt(1)); }
  std::uint64_t UInt(int width);
  std::span<const Byte> Take(std::size_t n);

  bool failed() const { return failed_; }
  std::size_t left() const { return bytes_.size() - pos_; }
  // Every field was there and nothing follows.
  bool Complete() const { return !failed_ && left() == 0; }

 private:
  std::span<const Byte> bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

void AppendUInt(Bytes& out, std::uint64_t value, int width);
// Magnitude in the low 31 bits, bit 31 set for a negative value.
void AppendSignMagnitude32(Bytes& out, std::int64_t value);
// Five bytes; a negative register value goes out in two's complement, cut to 40 bits.
void AppendMoney40(Bytes& out, std::int64_t value);
Byte BcdByte(int value);  // 0 to 99

// Splits a four-byte value into its low 31 bits and bit 31.
struct FlaggedAmount {
  std::uint32_t amount;
  bool flag;
};
inline FlaggedAmount SplitBit31(std::uint64_t value) {
  return {static_cast<std::uint32_t>(value & ~std::uint64_t{kBit31} & 0xFFFFFFFFu), (value & kBit31) != 0};
}

}  // namespace zorfp::sim
