// Discounts and markups, on the last item or on the whole receipt.
//
// Command: mode (0 percentage on the last item, 1 sum on the last item, 2 percentage on the receipt,
// 3 sum on the receipt), value (4: bit 31 discount, else markup; a percentage bit, 26 or on EP-01 25,
// that must agree with the mode; the magnitude below it, percentages in hundredths), comment length
// (1), comment. Answer: the sum of the discount (sign in bit 31) and the receipt total.
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

constexpr Byte kLastMode = 3;
constexpr std::uint32_t kMaxPercent = 10000;  // 100.00 %
constexpr std::size_t kMaxCommentLength = 25;

struct DiscountFields {
  bool on_item = false;
  Adjustment adjustment;
};

std::optional<DiscountFields> ParseDiscount(const VariantTraits& t, std::span<const Byte> params) {
  FieldReader r(params);
  const Byte mode = r.Byte1();
  const std::uint64_t value = r.UInt(4);
  const std::span<const Byte> comment = r.Take(r.Byte1());
  if (!r.Complete() || mode > kLastMode) return std::nullopt;

  const std::uint32_t relative_bit = t.relative_discount_bit;
  const std::uint32_t magnitude_mask = relative_bit - 1;
  const bool relative = (value & relative_bit) != 0;
  if ((value & ~static_cast<std::uint64_t>(kBit31 | relative_bit | magnitude_mask)) != 0) return std::nullopt;
  if (relative != (mode == 0 || mode == 2)) return std::nullopt;

  DiscountFields f;
  f.on_item = mode <= 1;
  Adjustment& a = f.adjustment;
  a.discount = (value & kBit31) != 0;
  a.relative = relative;
  a.value = static_cast<std::uint32_t>(value & magnitude_mask);
  a.comment.assign(comment.begin(), comment.end());
  if (a.value == 0 || (relative && a.value > kMaxPercent)) return std::nullopt;
  return f;
}

Refusal StateRefusal(const PrinterModel& m, bool on_item) {
  const Receipt& r = m.receipt;
  if (!r.open()) return result::kReceiptNotOpen;
  if (r.payment_begun()) return result::kAfterPayment;
  if (r.items.empty()) return result::kNoSalesForDiscount;
  // One discount or markup per item, and only while it is still the last thing in the receipt.
  if (on_item && (!r.LastItemIsLastEntry() || r.items.back().adjustment)) return result::kCommandForbidden;
  return std::nullopt;
}

Bytes DiscountAnswer(const PrinterModel& m, const Adjustment& a, std::int64_t total) {
  Bytes out;
  // The 05-02 family gives the size of a discount; the others give it its sign.
  AppendSignMagnitude32(out, m.traits().discount_sum_unsigned && a.amount < 0 ? -a.amount : a.amount);
  AppendUInt(out, static_cast<std::uint64_t>(total), 4);
  return out;
}

}  // namespace

Reply HandleDiscount(PrinterModel& m, const Request& r) {
  std::optional<DiscountFields> f = ParseDiscount(m.traits(), r.params);
  if (!f) return RefuseBadParameter(m);
  Adjustment& a = f->adjustment;
  if (a.comment.size() > kMaxCommentLength) return Reply::Refuse(result::kBadLength);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (Refusal no = StateRefusal(m, f->on_item)) return Reply::Refuse(*no);

  Receipt trial = m.receipt;
  const GroupAmounts turnover = NetByGroup(trial);
  std::int64_t base = 0;
  if (f->on_item) {
    base = trial.items.back().Net();
  } else {
    for (std::int64_t g : turnover) base += g;
  }
  if (base <= 0) return Reply::Refuse(result::kNoSalesForDiscount);
  const std::int64_t size = a.relative ? PercentOf(base, a.value) : a.value;
  a.amount = a.discount ? -size : size;
  if (base + a.amount < 0) return Reply::Refuse(result::kNegativeTotal);
  if (f->on_item) {
    trial.items.back().adjustment = a;
  } else {
    trial.adjustments.push_back({a, Spread(a.amount, turnover), trial.items.size()});
  }
  const std::int64_t total = SumsOf(m, trial).total;
  if (Refusal no = TotalRefusal(total)) return Reply::Refuse(*no);

  m.receipt = std::move(trial);
  if (f->on_item) {
    PrintItemAdjustment(m, a);
  } else {
    PrintReceiptAdjustment(m, base, a);
  }
  return Reply::Ok(DiscountAnswer(m, a, total));
}

}  // namespace zorfp::sim
