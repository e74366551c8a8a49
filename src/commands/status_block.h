// The printer's status block (answer to command 0x00): mode flags, fiscalization moment, serial
// and fiscal numbers, the four header lines and the version tag. Every status and identity member
// is served from it.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "driver/driver.h"

namespace zorfp {

// ModeFlagsA, data byte 0.
inline constexpr Byte kPaymentBegun = 0x02;
inline constexpr Byte kCashDrawer = 0x04;
inline constexpr Byte kRefundReceipt = 0x08;
inline constexpr Byte kTaxesAdded = 0x10;
inline constexpr Byte kDayOpen = 0x20;
inline constexpr Byte kReceiptOpen = 0x40;
inline constexpr Byte kCustomerDisplay = 0x80;
// ModeFlagsB, data byte 1.
inline constexpr Byte kServiceReportOnlyReceiptClear = 0x01;  // EP-05, EP-06: the flag inverted
inline constexpr Byte kTaxesChanged = 0x02;
inline constexpr Byte kServiceReportOpen = 0x08;
inline constexpr Byte kFiscalized = 0x10;
inline constexpr Byte kLastCommandFailed = 0x20;
inline constexpr Byte kOnlinePrint = 0x40;

struct StatusBlock {
  Byte flags_a = 0;
  Byte flags_b = 0;
  // Day, month, year, hours, minutes as BcdBytes; meaningful only when fiscalized.
  std::array<Byte, 5> fiscalized_at{};
  AnsiString serial_text;            // text 1, all of it
  AnsiString fiscal_number;          // text 2
  std::array<AnsiString, 4> header;  // texts 3 to 6; the fourth is the registration code line
  AnsiString version_tag;            // text 7 as the class reads it; empty where it has none

  bool A(Byte mask) const { return (flags_a & mask) != 0; }
  bool B(Byte mask) const { return (flags_b & mask) != 0; }
};

// Why a block could not be read.
enum class StatusBlockError { kNoData, kTooShort };

// Reads `data` as `traits`' class lays the block out. Texts come back in Windows-1251, each ending
// at its first NUL. A block cut short before the end of its fourth header line is refused whole;
// one that ends before its version tag has an empty tag (firmware without one).
std::optional<StatusBlockError> ParseStatusBlock(std::span<const Byte> data, const VariantTraits& traits,
                                                 StatusBlock& out);

// StatusRequest through the object's class: true when the whole block was read. The printer's
// status and result bytes are not judged; a block that cannot be read is code 102 or 103.
bool DecodeStatusAnswer(Driver& d, StatusBlock& out);

// The serial number as the newer classes show it: the first 10 characters of text 1, trimmed.
AnsiString CutSerialNumber(const AnsiString& text1);

// The fiscalization moment as an OLE DATE: the block's date and time when fiscalized, else
// 1 January 2003 00:00. 0 when the printer's bytes are not a real date.
double FiscalizationDateTime(const StatusBlock& block);

}  // namespace zorfp
