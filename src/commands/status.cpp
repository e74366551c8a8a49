#include "commands/status.h"

#include <string_view>

#include "commands/decimal_text.h"
#include "commands/journal.h"
#include "commands/wire.h"
#include "dates/bcd.h"
#include "dates/date_time.h"
#include "errors/encodings.h"
#include "errors/texts_status.h"

namespace zorfp {
namespace {

constexpr Byte kStatusRequest = 0x00;
constexpr Byte kPrinterStateRequest = 0x30;

constexpr std::size_t kSerialSize = 19;
constexpr std::size_t kFiscalNumberSize = 10;
constexpr std::size_t kVersionTagSize = 5;
// Code page 866 letters that open a version tag the newer classes recognise: ЕП and ОП.
constexpr Byte kOemE = 0x85, kOemO = 0x8E, kOemP = 0x8F;

constexpr std::uint16_t kCutterAddress = 0x301A;
constexpr Byte kSettingsPage = 0x10;
constexpr unsigned kCutterDisabled = 0x08;

bool Bit(Byte flags, int bit) {
  return (flags >> bit & 1) != 0;
}

void DecodeFlags(Byte a, Byte b, StatusBlock& s) {
  s.BeginingPayments = Bit(a, 1);
  s.CashDrawerFlag = Bit(a, 2);
  s.CashDrawerOpened = !s.CashDrawerFlag;
  s.RefundReceiptType = Bit(a, 3);
  s.TaxesAdded = Bit(a, 4);
  s.DayOpened = Bit(a, 5);
  s.ReceiptOpened = Bit(a, 6);
  s.DisplayMode = Bit(a, 7);
  s.ServiceReportOnlyReceipt = !Bit(b, 0);
  s.TaxChanged = Bit(b, 1);
  s.NonFiscalReportOpened = Bit(b, 3);
  s.FiscalMode = Bit(b, 4);
  s.Failure = Bit(b, 5);
  s.OnlinePrintMode = Bit(b, 6);
}

// The fiscalization moment: the block's date and time when fiscalized, else 1 January 2003;
// 0 when the printer's bytes are not a real date and time.
double FiscalizationMoment(bool fiscalized, const BcdDate& date, Byte hours, Byte minutes) {
  if (!fiscalized) return *ToOleDate(*DateTime::From(2003, 1, 1));
  const auto day = DateFromBcd(date);
  const auto time = TimeFromBcd({hours, minutes, 0});
  if (!day || !time) return 0;
  return ToOleDate(DateTime{*day, *time}).value_or(0);
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

// The block as `traits`' class lays it out. One that ends before its version tag has an empty tag
// (firmware without one).
void ReadBlock(AnswerReader& r, const VariantTraits& traits, StatusBlock& s) {
  const Byte a = r.U8();
  const Byte b = r.U8();
  DecodeFlags(a, b, s);
  s.SerialText = r.Text(kSerialSize);
  s.SerialNumber = traits.serial_number_cut ? CutSerialNumber(s.SerialText) : s.SerialText;
  const BcdDate fiscalized_on = r.Date();
  const Byte hours = r.U8();
  const Byte minutes = r.U8();
  s.FiscalizationDateTime = FiscalizationMoment(s.FiscalMode, fiscalized_on, hours, minutes);
  s.FiscalNumber = r.Text(kFiscalNumberSize);
  for (AnsiString* line : {&s.HeadLine1, &s.HeadLine2, &s.HeadLine3, &s.RegCode}) {
    const std::size_t length = r.U8() & traits.header_length_mask;
    *line = r.Text(length);
  }
  if (traits.version_tag != VersionTagForm::kNone && !r.failed() && r.left() >= kVersionTagSize) {
    s.FirmwareVersion = VersionTag(r.Take(kVersionTagSize), traits);
  }
}

}  // namespace

std::optional<StatusBlock> ReadStatus(Driver& d) {
  d.call().ErrorText.clear();
  return Query<StatusBlock>(
      d, Command(kStatusRequest), [&](AnswerReader& r, StatusBlock& s) { ReadBlock(r, d.traits(), s); },
      {.judge = Judge::kUnjudged, .more_allowed = true});
}

StatusBlock& HeldStatus(Driver& d) {
  return d.held().status.current;
}

bool FPGetCurrentStatus(Driver& d) {
  const auto block = ReadStatus(d);
  if (!block) return false;
  HeldStatus(d) = *block;
  return true;
}

AnsiString CutSerialNumber(const AnsiString& text1) {
  return Trim(std::string_view(text1).substr(0, 10));
}

std::optional<PrinterState> ReadPrinterState(Driver& d) {
  d.call().ErrorText.clear();
  return Query<PrinterState>(
      d, Command(kPrinterStateRequest),
      [](AnswerReader& r, PrinterState& s) {
        const Byte b = r.U8();
        s = {Bit(b, 0), Bit(b, 2), Bit(b, 3), Bit(b, 5), Bit(b, 6)};
      },
      {.judge = Judge::kUnjudged, .empty_is_no_data = false, .misfit_refused = true});
}

// Goes through the memory dump text, as the byte's other readers do.
bool GetCutterStatus(Driver& d) {
  const AnsiString dump = FPGetMemoryData(d, kCutterAddress, kSettingsPage, 1);
  if (dump.empty()) {
    d.SetText(texts::kCutterUndefined);
    return false;
  }
  const auto value = ParseInt64(std::string_view(dump).substr(0, dump.size() - 1));
  if (!value) return d.Reject(texts::kTypeMismatch);
  return (*value & kCutterDisabled) == 0;
}

}  // namespace zorfp
