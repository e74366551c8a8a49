#include "commands/taxes.h"

#include <string>

#include "commands/journal.h"
#include "commands/wire.h"
#include "dates/date_time.h"
#include "dates/locale_formats.h"
#include "errors/encodings.h"
#include "errors/texts_taxes.h"

namespace zorfp {
namespace {

constexpr Byte kSetTaxRate = 0x19;
constexpr Byte kTaxQuery = 0x2C;

constexpr Byte kTaxAdded = 0x10;
constexpr Byte kMixedTaxes = 0x20;

constexpr std::int32_t kMostRate = 9999;       // 99.99 %
constexpr std::uint16_t kMostOlderRate = 10000;  // the older classes take 100.00 %
constexpr Byte kMostDecimals = 8;

// Where the table sits in the printer's memory.
constexpr Byte kCountPage = 0x00;
constexpr std::uint16_t kCountAddress = 0x0016;
constexpr Byte kTablePage = 0x10;
constexpr std::uint16_t kTableAddress = 0x0150;
constexpr std::uint16_t kExtraFAddress = 0x0165;  // EP-06: after five additional rates

// EP-06 keeps a flag of the printer's in bit 15 of each additional rate of its tax query.
constexpr std::int32_t kFlaggedRateMask = 0x7FFF;

bool FlaggedExtraRates(const Driver& d) {
  return d.traits().id == VariantId::kEP_06;
}

int OlderRateSlots(const Driver& d) {
  return d.traits().id == VariantId::k08_01 ? 6 : 5;
}

struct RateArgs {
  Byte count;
  bool tax_added;
  bool mixed;
  std::int64_t base[kTaxRates];
  std::int64_t extra[kTaxRates];
};

// The checks of both newer programming members, in the driver's order. Additional rates are held
// to 0..9999 like the base rates, and the sums are taken wide, so no rate can wrap on the wire.
bool CheckRates(Driver& d, const RateArgs& a, const DriverError& too_many) {
  if (a.count > kTaxRates) return d.Refuse(too_many);
  if (a.count == 0) return d.Refuse(texts::kTaxesNotEnough);
  for (int g = 0; g < kTaxRates; ++g) {
    if (a.base[g] < 0 || a.base[g] > kMostRate) return d.Refuse(texts::kBaseRateTooHigh[g]);
  }
  if (!a.mixed) return true;
  for (int g = 0; g < kTaxRates; ++g) {
    if (a.extra[g] < 0 || a.extra[g] > kMostRate) return d.Refuse(texts::kExtraRateOutOfRange[g]);
    if (a.base[g] + a.extra[g] > kMostRate) return d.Refuse(texts::kRateSumTooHigh[g]);
  }
  return true;
}

bool ProgramRates(Driver& d, std::uint16_t password, const RateArgs& a, const DriverError& too_many) {
  if (!CheckRates(d, a, too_many)) return false;
  Command command(kSetTaxRate);
  command.UIntLE(password, 2).U8(a.count);
  for (std::int64_t rate : a.base) command.UIntLE(static_cast<std::uint64_t>(rate), 2);
  // With mixed taxes the type byte says only that; the tax-added bit is not sent with it.
  command.U8(a.mixed ? kMixedTaxes : a.tax_added ? kTaxAdded : 0);
  if (a.mixed) {
    for (std::int64_t rate : a.extra) command.UIntLE(static_cast<std::uint64_t>(rate), 2);
  }
  return d.Execute(command);
}

bool ProgramOlderRates(Driver& d, std::uint16_t password, Byte count, const std::uint16_t* rates, bool tax_added,
                       Byte decimals) {
  if (count > OlderRateSlots(d)) return d.Refuse(texts::kTooManyTaxes);
  if (count == 0) return d.Refuse(texts::kTaxesNotEnough);
  for (int k = 0; k < count; ++k) {
    if (rates[k] > kMostOlderRate) return d.Refuse(texts::kTaxValueImpossible);
  }
  if (decimals > kMostDecimals) return d.Refuse(texts::kTooManyDecimals);
  Command command(kSetTaxRate);
  command.UIntLE(password, 2).U8(count);
  for (int k = 0; k < count; ++k) command.UIntLE(rates[k], 2);
  return d.Execute(command.U8(static_cast<Byte>(decimals | (tax_added ? kTaxAdded : 0))));
}

void ReadTypeByte(AnswerReader& r, TaxBlock& t) {
  const Byte type = r.U8();
  t.TaxType = (type & kTaxAdded) != 0 ? 1 : 0;
  t.MixedTaxes = (type & kMixedTaxes) != 0;
}

std::int32_t ReadRate(AnswerReader& r, bool flagged) {
  const auto rate = static_cast<std::int32_t>(r.UIntLE(2));
  return flagged ? rate & kFlaggedRateMask : rate;
}

// A count the class has no groups for would put rates past group E: the answer does not fit.
bool CountFits(AnswerReader& r, Byte count) {
  if (count <= kTaxRates) return true;
  r.Skip(r.left() + 1);
  return false;
}

std::optional<std::chrono::year_month_day> ProgrammedOn(const Driver& d, const BcdDate& bcd) {
  const LocaleFormats& locale = d.module().env.locale;
  const std::string day = std::to_string(BcdValue(bcd.day));
  const std::string month = std::to_string(BcdValue(bcd.month));
  const std::string year = std::to_string(BcdValue(bcd.year));
  const std::string& sep = locale.date_separator;
  std::string text;
  switch (ShortDateOrder(locale)) {
    case DateOrder::kDayMonthYear:
      text = day + sep + month + sep + year;
      break;
    case DateOrder::kMonthDayYear:
      text = month + sep + day + sep + year;
      break;
    case DateOrder::kYearMonthDay:
      text = year + sep + month + sep + day;
      break;
    case DateOrder::kYearDayMonth:
      text = year + sep + day + sep + month;
      break;
  }
  return ParseShortDate(text, locale);
}

std::optional<double> OleDateOf(const std::chrono::year_month_day& date) {
  DateTime t;
  t.date = date;
  return ToOleDate(t);
}

std::optional<Bytes> ReadCount(Driver& d) {
  return ReadMemory(d, kCountAddress, kCountPage, 1);
}

}  // namespace

bool FPSetTaxRate(Driver& d, std::uint16_t Password_Prog, Byte TaxQuantity, std::int32_t TaxType,
                  std::int32_t BaseTax_A, std::int32_t BaseTax_B, std::int32_t BaseTax_C, std::int32_t BaseTax_D,
                  std::int32_t BaseTax_E, std::int32_t ExtTax_A, std::int32_t ExtTax_B, std::int32_t ExtTax_C,
                  std::int32_t ExtTax_D, std::int32_t ExtTax_E, bool UseMixedTax) {
  const RateArgs args{TaxQuantity,
                      TaxType == 1,
                      UseMixedTax,
                      {BaseTax_A, BaseTax_B, BaseTax_C, BaseTax_D, BaseTax_E},
                      {ExtTax_A, ExtTax_B, ExtTax_C, ExtTax_D, ExtTax_E}};
  return ProgramRates(d, Password_Prog, args, texts::kTooManyTaxes);
}

bool FPSetTaxRate(Driver& d, std::uint16_t Password_Admin, Byte NalogTaxAmount, std::uint16_t Nalog_Tax1,
                  std::uint16_t Nalog_Tax2, std::uint16_t Nalog_Tax3, std::uint16_t Nalog_Tax4,
                  std::uint16_t Nalog_Tax5, bool Nalog_Type, Byte Decimal_Runk) {
  const std::uint16_t rates[] = {Nalog_Tax1, Nalog_Tax2, Nalog_Tax3, Nalog_Tax4, Nalog_Tax5};
  return ProgramOlderRates(d, Password_Admin, NalogTaxAmount, rates, Nalog_Type, Decimal_Runk);
}

bool FPSetTaxRate(Driver& d, std::uint16_t Password_Admin, Byte NalogTaxAmount, std::uint16_t Nalog_Tax1,
                  std::uint16_t Nalog_Tax2, std::uint16_t Nalog_Tax3, std::uint16_t Nalog_Tax4,
                  std::uint16_t Nalog_Tax5, std::uint16_t Nalog_Tax6, bool Nalog_Type, Byte Decimal_Runk) {
  const std::uint16_t rates[] = {Nalog_Tax1, Nalog_Tax2, Nalog_Tax3, Nalog_Tax4, Nalog_Tax5, Nalog_Tax6};
  return ProgramOlderRates(d, Password_Admin, NalogTaxAmount, rates, Nalog_Type, Decimal_Runk);
}

std::optional<TaxBlock> ReadTaxQuery(Driver& d) {
  const bool flagged = FlaggedExtraRates(d);
  return Query<TaxBlock>(d, Command(kTaxQuery), [flagged](AnswerReader& r, TaxBlock& t) {
    t.Count = r.U8();
    t.ProgrammedOn = r.Date();
    if (!CountFits(r, t.Count)) return;
    for (int g = 0; g < t.Count; ++g) t.Base[g] = static_cast<std::int32_t>(r.UIntLE(2));
    ReadTypeByte(r, t);
    if (!t.MixedTaxes) return;
    for (int g = 0; g < t.Count; ++g) t.Extra[g] = ReadRate(r, flagged);
    if (flagged) t.ExtraF = ReadRate(r, true);
  });
}

AnsiString ProgDateText(Driver& d, const TaxBlock& t) {
  const auto date = ProgrammedOn(d, t.ProgrammedOn);
  if (!date) {
    d.Reject(texts::kDataFormatError);
    return {};
  }
  return ClientTextOut(FormatShortDate(*date, d.module().env.locale), d.module().settings.CP866);
}

double ProgDate(Driver& d, const TaxBlock& t) {
  const auto date = ProgrammedOn(d, t.ProgrammedOn);
  const auto ole = date ? OleDateOf(*date) : std::nullopt;
  if (!ole) {
    d.Reject(texts::kDataFormatError);
    return 0;
  }
  return *ole;
}

std::optional<TaxBlock> ReadTaxMemory(Driver& d) {
  const auto count = ReadCount(d);
  if (!count) return std::nullopt;
  const Byte n = (*count)[0];
  if (n == 0) {
    d.Reject(texts::kTaxesEmpty);
    return std::nullopt;
  }
  // Also keeps the length of the second read within its byte.
  if (n > kTaxRates) {
    d.Reject(texts::kDataFormatError);
    return std::nullopt;
  }
  const auto bytes = ReadMemory(d, kTableAddress, kTablePage, static_cast<Byte>(4 * n + 1));
  if (!bytes) return std::nullopt;
  AnswerReader r(*bytes);
  TaxBlock t;
  t.Count = n;
  for (int g = 0; g < n; ++g) t.Base[g] = static_cast<std::int32_t>(r.UIntLE(2));
  ReadTypeByte(r, t);
  for (int g = 0; g < n; ++g) {
    const std::int32_t extra = ReadRate(r, FlaggedExtraRates(d));
    t.Extra[g] = t.MixedTaxes ? extra : 0;
  }
  return t;
}

AnsiString CountText(Driver& d, const TaxBlock& t) {
  return ClientTextOut(std::to_string(t.Count), d.module().settings.CP866);
}

std::int32_t GetExtTax_F_Ext(Driver& d) {
  const auto bytes = ReadMemory(d, kExtraFAddress, kTablePage, 2);
  return bytes ? static_cast<std::int32_t>(UIntLE(*bytes)) : -1;
}

AnsiString OlderTaxRate(Driver& d, int k) {
  const auto address = static_cast<std::uint16_t>(kTableAddress + 2 * (k - 1));
  const auto bytes = ReadMemory(d, address, kTablePage, 2);
  if (!bytes) return {};
  return ClientTextOut(std::to_string(UIntLE(*bytes)), d.module().settings.CP866);
}

Byte FPGetTaxCount(Driver& d) {
  const auto count = ReadCount(d);
  return count ? (*count)[0] : 0;
}

TaxValues& HeldTaxes(Driver& d) {
  return d.held().taxes;
}

bool FPGetTaxes(Driver& d) {
  const auto t = ReadTaxQuery(d);
  if (!t) return false;
  TaxValues& held = HeldTaxes(d);
  held.TaxCount = t->Count;
  const auto date = ProgrammedOn(d, t->ProgrammedOn);
  held.TaxDate = date ? OleDateOf(*date).value_or(0) : 0;
  held.ProgExtTax = t->MixedTaxes;
  for (int g = 0; g < t->Count; ++g) {
    held.Tax[g] = static_cast<std::uint16_t>(t->Base[g]);
    if (t->MixedTaxes) held.ExtTax[g] = static_cast<std::uint16_t>(t->Extra[g]);
  }
  held.TaxType = t->TaxType;
  return true;
}

// The tax type is the one the properties hold, so that a table read with FPGetTaxes goes back as
// it came.
bool FPSetTaxes(Driver& d, std::uint16_t Password_Prog) {
  const TaxValues& held = HeldTaxes(d);
  RateArgs args{held.TaxCount, held.TaxType == 1, held.ProgExtTax, {}, {}};
  for (int g = 0; g < kTaxRates; ++g) {
    args.base[g] = held.Tax[g];
    args.extra[g] = held.ExtTax[g];
  }
  return ProgramRates(d, Password_Prog, args, texts::kTooManyTaxesHeld);
}

Byte TaxTypeOf(Driver&, const StatusBlock& s) {
  return s.TaxesAdded ? 1 : 0;
}

}  // namespace zorfp
