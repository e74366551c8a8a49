#include "commands/status_block.h"

#include <cstring>
#include <string_view>

#include "commands/answer.h"
#include "commands/decimal_text.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kStatusRequest = 0x00;

// Fixed part of the block: offsets of its fields.
constexpr std::size_t kSerialAt = 2, kSerialSize = 19;
constexpr std::size_t kFiscalizedAt = 21;
constexpr std::size_t kFiscalNumberAt = 26, kFiscalNumberSize = 10;
constexpr std::size_t kFirstHeaderLength = 36;
constexpr std::size_t kVersionTagSize = 5;
// Code page 866 letters that open a version tag the newer classes recognise: ЕП and ОП.
constexpr Byte kOemE = 0x85, kOemO = 0x8E, kOemP = 0x8F;

// Printer text (866) as the driver's own (Windows-1251), ending at its first NUL.
AnsiString PrinterText(std::span<const Byte> bytes) {
  std::string oem(bytes.begin(), bytes.end());
  oem.resize(std::strlen(oem.c_str()));
  return OemToAnsiText(oem);
}

AnsiString VersionTag(std::span<const Byte> raw, const VariantTraits& traits) {
  if (traits.version_tag == VersionTagForm::kPlain) return PrinterText(raw);
  if ((raw[0] == kOemE || raw[0] == kOemO) && raw[1] == kOemP) return PrinterText(raw);
  const std::string_view own = traits.own_version_tag != nullptr ? traits.own_version_tag : "";
  if (!own.empty() && std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()) == own) {
    return AnsiString(own);
  }
  return {};
}

// Days from 1970-01-01 to a proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

bool IsRealDate(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

std::optional<StatusBlockError> ParseStatusBlock(std::span<const Byte> data, const VariantTraits& traits,
                                                 StatusBlock& out) {
  if (data.empty()) return StatusBlockError::kNoData;
  if (data.size() <= kFirstHeaderLength) return StatusBlockError::kTooShort;
  StatusBlock block;
  block.flags_a = data[0];
  block.flags_b = data[1];
  std::copy_n(data.begin() + kFiscalizedAt, block.fiscalized_at.size(), block.fiscalized_at.begin());
  block.serial_text = PrinterText(data.subspan(kSerialAt, kSerialSize));
  block.fiscal_number = PrinterText(data.subspan(kFiscalNumberAt, kFiscalNumberSize));

  std::size_t cursor = kFirstHeaderLength;
  for (AnsiString& line : block.header) {
    if (cursor >= data.size()) return StatusBlockError::kTooShort;
    const std::size_t length = data[cursor++] & traits.header_length_mask;
    if (data.size() - cursor < length) return StatusBlockError::kTooShort;
    line = PrinterText(data.subspan(cursor, length));
    cursor += length;
  }
  if (traits.version_tag != VersionTagForm::kNone && data.size() - cursor >= kVersionTagSize) {
    block.version_tag = VersionTag(data.subspan(cursor, kVersionTagSize), traits);
  }
  out = std::move(block);
  return std::nullopt;
}

bool DecodeStatusAnswer(Driver& d, StatusBlock& out) {
  if (!ExchangeUnjudged(d, {kStatusRequest})) return false;
  const auto error = ParseStatusBlock(d.Answer(), d.traits(), out);
  if (!error) return true;
  return *error == StatusBlockError::kNoData ? d.RejectAnswer(102, texts::kNoData)
                                             : d.RejectAnswer(103, texts::kDataFormatError);
}

AnsiString CutSerialNumber(const AnsiString& text1) {
  return Trim(std::string_view(text1).substr(0, 10));
}

double FiscalizationDateTime(const StatusBlock& block) {
  int day = 1, month = 1, year = 2003, hour = 0, minute = 0;
  if (block.B(kFiscalized)) {
    const auto& at = block.fiscalized_at;
    day = static_cast<int>(BcdValue(at[0]));
    month = static_cast<int>(BcdValue(at[1]));
    year =
        2000 + static_cast<int>(BcdValue(at[2]));  // the printers of these protocols are all of this century
    hour = static_cast<int>(BcdValue(at[3]));
    minute = static_cast<int>(BcdValue(at[4]));
  }
  if (!IsRealDate(year, month, day) || hour > 23 || minute > 59) return 0;
  const long days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                    DaysFromCivil(1899, 12, 30);
  return static_cast<double>(days) + (hour * 60 + minute) / 1440.0;
}

}  // namespace zorfp
