#include "commands/status_block.h"

#include <cstring>
#include <string_view>

#include "commands/answer.h"
#include "commands/decimal_text.h"
#include "dates/bcd.h"
#include "dates/date_time.h"
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
  if (!block.B(kFiscalized)) return *ToOleDate(*DateTime::From(2003, 1, 1));
  const auto& at = block.fiscalized_at;
  const auto date = DateFromBcd({at[0], at[1], at[2]});
  const auto time = TimeFromBcd({at[3], at[4], 0});
  if (!date || !time) return 0;
  return ToOleDate(DateTime{*date, *time}).value_or(0);
}

}  // namespace zorfp
