#include "commands/articles.h"

#include <limits>

#include "commands/decimal_text.h"
#include "commands/wire.h"
#include "errors/encodings.h"
#include "errors/texts_articles.h"

namespace zorfp {
namespace {

constexpr Byte kProgramArticle = 0x22;
constexpr Byte kArticleQuery = 0x29;

constexpr std::uint16_t kRefusedPassword = 65535;
constexpr std::uint32_t kLastTaxGroup = 5;  // A to F
constexpr Byte kTaxGroupBase = 0x80;
constexpr int kCodeBytes = 6;
constexpr int kOlderCodeBytes = 4;
constexpr Byte kNameLengthMask = 0x7F;
constexpr Byte kRefundsFirst = 0x80;

const DriverError& NameTooLong(std::size_t limit) {
  if (limit == 25) return texts::kItemNameOver25;
  if (limit == 70) return texts::kItemNameOver70;
  return texts::kItemNameOver50;
}

// A code the six-byte field cannot carry would program, or ask for, another article.
bool CodeFits(std::uint64_t code) {
  return code >> (8 * kCodeBytes) == 0;
}

struct Article {
  std::uint16_t password;
  Byte status;
  std::int32_t price;
  std::uint32_t tax_group;
  const AnsiString& name;
  std::uint64_t code;
  int code_bytes;
};

bool ProgramArticle(Driver& d, const Article& a) {
  if (a.password == kRefusedPassword) return d.Refuse(texts::kArticleProgPassword);
  if (a.tax_group > kLastTaxGroup) return d.Refuse(texts::kArticleTaxMissing);
  if (a.name.size() > d.traits().item_name_limit) return d.Refuse(NameTooLong(d.traits().item_name_limit));
  if (a.code_bytes == kCodeBytes && !CodeFits(a.code)) return d.Refuse(texts::kIncorrectItemCode);
  // Sign and 31-bit magnitude: the one int32 the field cannot carry would go out as zero.
  if (a.price == std::numeric_limits<std::int32_t>::min()) return d.Refuse(texts::kIncorrectPrice);
  return d.Execute(Command(kProgramArticle)
                       .UIntLE(a.password, 2)
                       .U8(a.status)
                       .SignMagnitude32(a.price)
                       .U8(static_cast<Byte>(kTaxGroupBase + a.tax_group))
                       .Text(d, a.name)
                       .UIntLE(a.code, a.code_bytes));
}

// The code of an Ex member: decimal text of 0 to 2^48 - 1, else 111 and nothing is sent.
std::optional<std::uint64_t> CodeFromText(Driver& d, const AnsiString& text) {
  const auto value = ParseInt64(ClientTextIn(text, d.module().settings.CP866));
  if (!value || *value < 0 || !CodeFits(static_cast<std::uint64_t>(*value))) {
    d.Refuse(texts::kIncorrectItemCode);
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(*value);
}

void ReadGroup(AnswerReader& r, std::int32_t& amount, Byte& status) {
  amount = static_cast<std::int32_t>(r.UIntLE(3));
  status = r.U8();
}

void ReadAnswer(AnswerReader& r, ArticleInfo& a) {
  const Byte first = r.U8();
  const bool refunds_first = (first & kRefundsFirst) != 0;
  a.NameLength = first & kNameLengthMask;
  a.Name = r.Text(a.NameLength);
  std::int32_t amount1 = 0, amount2 = 0;
  Byte status1 = 0, status2 = 0;
  ReadGroup(r, amount1, status1);
  a.Price = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.UIntLE(4)));
  const Byte tax = r.U8();
  a.TaxKnown = tax >= kTaxGroupBase && tax <= kTaxGroupBase + kLastTaxGroup;
  a.Tax = a.TaxKnown ? tax - kTaxGroupBase : -1;
  const Money turn1 = r.Money40();
  ReadGroup(r, amount2, status2);
  const Money turn2 = r.Money40();
  if (refunds_first) {
    std::swap(amount1, amount2);
    std::swap(status1, status2);
  }
  a.SaleAmount = amount1;
  a.SaleStatus = status1;
  a.SaleTurn = refunds_first ? turn2 : turn1;
  a.RefundAmount = amount2;
  a.RefundStatus = status2;
  a.RefundTurn = refunds_first ? turn1 : turn2;
}

}  // namespace

bool FPProgArt(Driver& d, std::uint16_t Password_Prog, Byte Amount_Status, std::int32_t Price,
               std::int32_t TAXGroup, const AnsiString& GoodName, std::uint64_t Code) {
  return ProgramArticle(d, {Password_Prog, Amount_Status, Price, static_cast<std::uint32_t>(TAXGroup), GoodName,
                            Code, kCodeBytes});
}

bool FPProgArtEx(Driver& d, std::uint16_t Password_Prog, Byte Amount_Status, std::int32_t Price,
                 std::int32_t TAXGroup, const AnsiString& GoodName, const AnsiString& StrCode) {
  const auto code = CodeFromText(d, StrCode);
  return code && FPProgArt(d, Password_Prog, Amount_Status, Price, TAXGroup, GoodName, *code);
}

bool FPProgArt(Driver& d, std::uint16_t Password_Admin, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
               const AnsiString& Goods, std::uint32_t Articul) {
  return ProgramArticle(d, {Password_Admin, Print_Status, Price, NalogGroup, Goods, Articul, kOlderCodeBytes});
}

std::optional<ArticleInfo> ReadArticle(Driver& d, std::uint64_t Code) {
  if (!CodeFits(Code)) {
    d.Refuse(texts::kIncorrectItemCode);
    return std::nullopt;
  }
  return Query<ArticleInfo>(d, Command(kArticleQuery).UIntLE(Code, kCodeBytes), &ReadAnswer);
}

std::optional<ArticleInfo> ReadArticleEx(Driver& d, const AnsiString& StrCode) {
  const auto code = CodeFromText(d, StrCode);
  if (!code) return std::nullopt;
  return ReadArticle(d, *code);
}

// The tax group is kept only when the answer names one of A to F.
bool FPGetArtInfo(Driver& d, std::uint64_t Code) {
  const auto info = ReadArticle(d, Code);
  if (!info) return false;
  ArticleInfo& held = HeldArticle(d);
  const std::int32_t tax = held.Tax;
  held = *info;
  if (!info->TaxKnown) held.Tax = tax;
  return true;
}

bool FPGetArtInfoExt(Driver& d, const AnsiString& StrCode) {
  const auto code = CodeFromText(d, StrCode);
  return code && FPGetArtInfo(d, *code);
}

ArticleInfo& HeldArticle(Driver& d) {
  return d.held().articles.info;
}

}  // namespace zorfp
