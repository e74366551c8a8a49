#include "errors/encodings.h"

#include <algorithm>
#include <cstddef>

#include "errors/codepage.h"

namespace zorfp {
namespace {

// A short field reads its missing bytes as zero rather than past the end of the answer.
Byte ByteAt(std::span<const Byte> bytes, std::size_t i) {
  return i < bytes.size() ? bytes[i] : Byte{0};
}

Byte BcdDigits(unsigned tens, unsigned units) {
  return static_cast<Byte>(tens * 16 + units);
}

unsigned DigitValue(char c) {
  return c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0') : 0;
}

}  // namespace

void PutUIntLE(Bytes& out, std::uint64_t value, int n) {
  // Commands are built field by field from their one-byte code: growing straight to room for a
  // whole command spares the run of reallocations that doubling from one byte costs.
  constexpr std::size_t kCommandRoom = 64;
  const std::size_t at = out.size();
  const std::size_t count = n > 0 ? static_cast<std::size_t>(n) : 0;
  if (out.capacity() - at < count) out.reserve(std::max({kCommandRoom, at + count, 2 * out.capacity()}));
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(static_cast<Byte>(value & 0xFF));
    value >>= 8;
  }
}

std::uint64_t UIntLE(std::span<const Byte> bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = std::min<std::size_t>(bytes.size(), 8); i-- > 0;) value = (value << 8) | bytes[i];
  return value;
}

std::int64_t SignMagnitude32(std::span<const Byte> four) {
  const Byte top = ByteAt(four, 3);
  const std::int64_t magnitude =
      static_cast<std::int64_t>(ByteAt(four, 0)) | static_cast<std::int64_t>(ByteAt(four, 1)) << 8 |
      static_cast<std::int64_t>(ByteAt(four, 2)) << 16 | static_cast<std::int64_t>(top & 0x7F) << 24;
  return (top & 0x80) != 0 ? -magnitude : magnitude;
}

std::uint64_t Money40(std::span<const Byte> five) {
  return UIntLE(five.first(std::min<std::size_t>(five.size(), 5)));
}

std::string Money40Text(std::span<const Byte> five) {
  return std::to_string(Money40(five));
}

std::string BcdText(Byte b) {
  return std::to_string(BcdValue(b));
}

// The year's last two characters are its digits on the wire, whatever its length; anything but a
// digit counts as 0.
Byte BcdYear(const std::string& year_text) {
  const std::size_t n = year_text.size();
  const unsigned units = n >= 1 ? DigitValue(year_text[n - 1]) : 0;
  const unsigned tens = n >= 2 ? DigitValue(year_text[n - 2]) : 0;
  return BcdDigits(tens, units);
}

std::string AnsiToOemText(const AnsiString& text) {
  std::string oem = AnsiToOem(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    // І and і are missing from code page 866; № goes as N with them.
    switch (static_cast<Byte>(text[i])) {
      case 0xB2:
        oem[i] = 'I';
        break;
      case 0xB3:
        oem[i] = 'i';
        break;
      case 0xB9:
        oem[i] = 'N';
        break;
      default:
        break;
    }
  }
  return oem;
}

AnsiString OemToAnsiText(const std::string& text) {
  return OemToAnsi(text);
}

std::string PrinterTextOut(const AnsiString& text, bool cp866) {
  return cp866 ? text : AnsiToOemText(text);
}

AnsiString ClientTextIn(const AnsiString& text, bool cp866) {
  return cp866 ? OemToAnsiText(text) : text;
}

AnsiString ClientTextOut(const AnsiString& text, bool cp866) {
  return cp866 ? AnsiToOemText(text) : text;
}

}  // namespace zorfp
