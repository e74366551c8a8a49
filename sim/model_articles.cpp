// The article memory: goods programmed by code (0x22) that sale and refund items refer to, with
// what the day's items booked into each, read back with the article query (0x29).
//
// Program: password (2), status (1), price (4, sign in bit 31), tax byte (0x80 + group), name
// length (1), name, code (6; 4 on EP-01 and 08-01, although 08-01 sells by a two-byte code).
// Query: code (6). Answer: name length (bit 7 clear: sales come first), name, sales quantity (3),
// status, price (4), tax byte, sales turnover (5), refunds quantity (3), status, refunds turnover (5).
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

constexpr Byte kTaxGroupBase = 0x80;
constexpr Byte kDecimalsMask = 0x0F;
constexpr int kMaxDecimals = 3;
constexpr int kQueryCodeBytes = 6;

int ProgramCodeBytes(const PrinterModel& m) {
  return m.traits().newer_family ? 6 : 4;
}

bool HasTurnover(const Article& a) {
  return a.day.sales.quantity != 0 || a.day.refunds.quantity != 0;
}

Reply HandleProgramArticle(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t password = r.UInt(2);
  Article a;
  a.status = r.Byte1();
  const FlaggedAmount price = SplitBit31(r.UInt(4));
  a.price = price.flag ? -static_cast<std::int64_t>(price.amount) : price.amount;
  const Byte tax = r.Byte1();
  const std::span<const Byte> name = r.Take(r.Byte1());
  a.name.assign(name.begin(), name.end());
  const std::uint64_t code = r.UInt(ProgramCodeBytes(m));
  if (!r.Complete() || (a.status & kDecimalsMask) > kMaxDecimals) return RefuseBadParameter(m);
  if (a.name.size() > m.traits().item_name_limit) return Reply::Refuse(result::kBadLength);
  if (tax < kTaxGroupBase) return Reply::Refuse(result::kNoSuchTaxGroup);
  a.tax_group = tax - kTaxGroupBase;
  if (!GroupRate(m.taxes, m.traits(), a.tax_group)) return Reply::Refuse(result::kNoSuchTaxGroup);
  if (password != m.programming.settings.passwords[kProgrammingPassword])
    return Reply::Refuse(result::kBadPassword);
  auto& articles = m.programming.articles;
  const auto it = articles.find(code);
  // An article that sold today keeps its description until the Z report.
  if (it != articles.end() && m.status.mode.day_open && HasTurnover(it->second))
    return Reply::Refuse(result::kZReportNeeded);
  articles[code] = a;
  return Reply::Ok();
}

void AppendCounter(Bytes& out, const ArticleCounter& c, Byte status) {
  AppendUInt(out, c.quantity, 3);
  out.push_back(status);
}

Reply HandleArticleQuery(PrinterModel& m, const Request& req) {
  FieldReader r(req.params);
  const std::uint64_t code = r.UInt(kQueryCodeBytes);
  if (!r.Complete()) return RefuseBadParameter(m);
  const auto it = m.programming.articles.find(code);
  if (it == m.programming.articles.end()) return Reply::Refuse(result::kBadArticle);
  const Article& a = it->second;
  Bytes out;
  out.reserve(a.name.size() + 24);
  out.push_back(static_cast<Byte>(a.name.size()));
  for (char c : a.name) out.push_back(static_cast<Byte>(c));
  AppendCounter(out, a.day.sales, a.status);
  AppendUInt(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(a.price)), 4);
  out.push_back(static_cast<Byte>(kTaxGroupBase + a.tax_group));
  AppendMoney40(out, a.day.sales.turnover);
  AppendCounter(out, a.day.refunds, a.status);
  AppendMoney40(out, a.day.refunds.turnover);
  return Reply::Ok(std::move(out));
}

// A quantity of `from` decimal places in `to` places, halves away from zero.
std::uint32_t Rescaled(std::uint32_t quantity, int from, int to) {
  std::uint64_t q = quantity;
  for (; from < to; ++from) q *= 10;
  for (; from > to; --from) q = (q + 5) / 10;
  return static_cast<std::uint32_t>(q & 0xFFFFFF);
}

constexpr CommandEntry kArticlesCommands[] = {
    {0x22, "program article", VariantSet::All(), Effect::kChangesState, &HandleProgramArticle},
    {0x29, "article query", VariantSet{kEp02, kEp05, kEp06, k0502, k0503}, Effect::kQuery, &HandleArticleQuery},
};

}  // namespace

std::span<const CommandEntry> ArticlesCommands() {
  return kArticlesCommands;
}

void BookArticleItem(PrinterModel& m, const ReceiptItem& item, ReceiptKind kind, int sign) {
  const auto it = m.programming.articles.find(item.code);
  if (it == m.programming.articles.end()) return;
  Article& a = it->second;
  ArticleCounter& c = kind == ReceiptKind::kSale ? a.day.sales : a.day.refunds;
  const std::uint32_t quantity =
      Rescaled(item.single_piece ? 1 : item.quantity, item.single_piece ? 0 : item.decimals, a.status & kDecimalsMask);
  c.quantity = sign > 0 ? c.quantity + quantity : c.quantity - std::min(c.quantity, quantity);
  c.turnover += sign * item.cost;
}

void WriteArticlesJson(const PrinterModel& m, Json& j) {
  Json& out = j["articles"] = Json::array();
  const auto counter = [](const ArticleCounter& c) {
    return Json{{"quantity", c.quantity}, {"turnover", c.turnover}};
  };
  for (const auto& [code, a] : m.programming.articles) {
    out.push_back(Json{{"code", code},
                       {"name", Cp866ToUtf8(a.name)},
                       {"price", a.price},
                       {"tax", GroupKey(a.tax_group)},
                       {"status", a.status},
                       {"sales", counter(a.day.sales)},
                       {"refunds", counter(a.day.refunds)}});
  }
}

}  // namespace zorfp::sim
