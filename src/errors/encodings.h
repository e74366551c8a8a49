// Field encodings of commands and answers, and the text conversions between the client, the
// driver and the printer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "dates/bcd.h"
#include "link/bytes.h"

namespace zorfp {

// Unsigned little-endian integer of n = 1..8 bytes (the wire uses up to 6).
void PutUIntLE(Bytes& out, std::uint64_t value, int n);
std::uint64_t UIntLE(std::span<const Byte> bytes);

// Four bytes: magnitude in the low 31 bits (little-endian), bit 7 of byte 3 the sign.
std::int64_t SignMagnitude32(std::span<const Byte> four);

// A five-byte money register (Money40): shown to clients as decimal text, or as its low 32 bits.
struct Money {
  std::uint64_t value = 0;
  std::int32_t Low32() const { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }
  bool operator==(const Money&) const = default;
};

// Five bytes: unsigned 40-bit little-endian amount, and its decimal text (no leading zeros).
std::uint64_t Money40(std::span<const Byte> five);
std::string Money40Text(std::span<const Byte> five);

// BcdByte and BcdValue: dates/bcd.h. As decimal text without a leading zero (0x1A reads "20").
std::string BcdText(Byte b);
// A year from its text: four digits give their last two; one or two digits are taken as they are.
Byte BcdYear(const std::string& year_text);

// Windows-1251 -> 866, with І і № first turned into the Latin I i N the printer expects.
std::string AnsiToOemText(const AnsiString& text);
AnsiString OemToAnsiText(const std::string& text);

// Client text into a command field, client text into the driver, driver text to the client;
// `cp866` is the CP866 setting (the client itself works in code page 866).
std::string PrinterTextOut(const AnsiString& text, bool cp866);
AnsiString ClientTextIn(const AnsiString& text, bool cp866);
AnsiString ClientTextOut(const AnsiString& text, bool cp866);

}  // namespace zorfp
