// Payment, discounts and markups, comments, and cash put into or taken out of the drawer.
#include <nlohmann/json.hpp>

#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

// Payment: takes money in one payment form and closes the receipt once it is paid.
//
// Command: payment form (1), amount (4, bit 31 asks to close the receipt). The newer variants mark a
// payment outside the fiscal record with bit 6 of the form; the older ones set bit 7 when an
// information line follows the amount (length byte, then the text; the length byte is always there).
// Answer (4 bytes): with bit 31 set, the change and the receipt is closed; with it clear, the sum
// still due, 0 meaning paid and closed.
//
// An amount of 0 with the close bit pays whatever is still due in the form given: that is how a
// zero receipt is closed. Only cash gives change; a refund is never paid beyond its total, and
// never with more cash than the drawer holds.

constexpr Byte kNotFiscalBit = 0x40;
constexpr Byte kInfoLineBit = 0x80;
constexpr std::size_t kMaxInfoLength = 14;

struct PaymentFields {
  Payment payment;
  bool close = false;
};

std::optional<PaymentFields> ParsePayment(const VariantTraits& t, std::span<const Byte> params) {
  FieldReader r(params);
  const Byte form = r.Byte1();
  const FlaggedAmount amount = SplitBit31(r.UInt(4));
  PaymentFields f;
  f.close = amount.flag;
  f.payment.amount = amount.amount;
  if (t.payment_has_info_line) {
    const Byte info_length = r.Byte1();
    f.payment.form = form & ~kInfoLineBit;
    if (form & kInfoLineBit) {
      const std::span<const Byte> info = r.Take(info_length);
      f.payment.info.assign(info.begin(), info.end());
    } else {
      // No information line: whatever follows the length byte is not read.
      r.Take(r.left());
    }
  } else {
    f.payment.form = form & ~kNotFiscalBit;
    f.payment.fiscal = (form & kNotFiscalBit) == 0;
  }
  if (!r.Complete()) return std::nullopt;
  return f;
}

Bytes PaymentAnswer(std::int64_t amount, bool change) {
  Bytes out;
  AppendUInt(out, static_cast<std::uint64_t>(amount) | (change ? kBit31 : 0u), 4);
  return out;
}

Reply HandlePayment(PrinterModel& m, const Request& r) {
  std::optional<PaymentFields> f = ParsePayment(m.traits(), r.params);
  if (!f) return RefuseBadParameter(m);
  Payment& p = f->payment;
  if (p.form >= m.traits().payment_forms) return Reply::Refuse(result::kNoSuchPaymentForm);
  if (p.info.size() > kMaxInfoLength) return Reply::Refuse(result::kBadLength);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  Receipt& receipt = m.receipt;
  if (!receipt.open()) return Reply::Refuse(result::kReceiptNotOpen);

  const ReceiptSums sums = CurrentSums(m);
  const std::int64_t paid = receipt.Paid();
  const std::int64_t due = sums.total - paid;
  if (p.amount == 0) {
    if (!f->close) return Reply::Ok(PaymentAnswer(due, false));  // nothing paid: only tells what is due
    p.amount = due;
  }
  const bool refund = receipt.kind == ReceiptKind::kRefund;
  if (paid + p.amount > sums.total && (refund || p.form != kCashForm)) {
    return Reply::Refuse(result::kNoChangeFromPayment);
  }
  if (refund && p.form == kCashForm && receipt.PaidIn(kCashForm) + p.amount > m.drawer) {
    return Reply::Refuse(result::kNotEnoughCash);
  }
  Receipt trial = receipt;
  trial.payments.push_back(p);
  const bool closes = paid + p.amount >= sums.total;
  if (closes) {
    if (Refusal no = BookingRefusal(m, trial)) return Reply::Refuse(*no);
  }

  if (receipt.payments.empty()) PrintSumAndTaxes(m, sums);
  receipt.payments.push_back(p);
  PrintPayment(m, p);
  if (!closes) {
    SyncReceiptFlags(m);
    return Reply::Ok(PaymentAnswer(due - p.amount, false));
  }
  receipt.change = paid + p.amount - sums.total;
  CloseReceipt(m, p.fiscal);
  return Reply::Ok(PaymentAnswer(receipt.change, receipt.change > 0));
}

// Discounts and markups, on the last item or on the whole receipt.
//
// Command: mode (0 percentage on the last item, 1 sum on the last item, 2 percentage on the receipt,
// 3 sum on the receipt), value (4: bit 31 discount, else markup; a percentage bit, 26 or on EP-01 25,
// that must agree with the mode; the magnitude below it, percentages in hundredths), comment length
// (1), comment. Answer: the sum of the discount (sign in bit 31) and the receipt total.

constexpr Byte kLastDiscountMode = 3;
constexpr std::uint32_t kMaxPercent = 10000;  // 100.00 %
constexpr std::size_t kMaxDiscountCommentLength = 25;

struct DiscountFields {
  bool on_item = false;
  Adjustment adjustment;
};

std::optional<DiscountFields> ParseDiscount(const VariantTraits& t, std::span<const Byte> params) {
  FieldReader r(params);
  const Byte mode = r.Byte1();
  const std::uint64_t value = r.UInt(4);
  const std::span<const Byte> comment = r.Take(r.Byte1());
  if (!r.Complete() || mode > kLastDiscountMode) return std::nullopt;

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

Refusal DiscountStateRefusal(const PrinterModel& m, bool on_item) {
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

Reply HandleDiscount(PrinterModel& m, const Request& r) {
  std::optional<DiscountFields> f = ParseDiscount(m.traits(), r.params);
  if (!f) return RefuseBadParameter(m);
  Adjustment& a = f->adjustment;
  if (a.comment.size() > kMaxDiscountCommentLength) return Reply::Refuse(result::kBadLength);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (Refusal no = DiscountStateRefusal(m, f->on_item)) return Reply::Refuse(*no);

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

constexpr Byte kCommentLengthMask = 0x7F;
constexpr Byte kCommentOpensRefund = 0x80;
constexpr std::size_t kMaxCommentLength = 27;

// Comment line: length byte (bit 7: open a refund receipt), then the text. Printed in the open
// receipt, also after payment has begun; with no receipt open it opens one, so a comment and a
// payment of nothing make a zero receipt.
Reply HandleComment(PrinterModel& m, const Request& r) {
  FieldReader fields(r.params);
  const Byte length_byte = fields.Byte1();
  const std::span<const Byte> text = fields.Take(length_byte & kCommentLengthMask);
  if (!fields.Complete()) return RefuseBadParameter(m);
  if (text.size() > kMaxCommentLength) return Reply::Refuse(result::kBadLength);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (!m.receipt.open()) {
    if (Refusal no = OpeningRefusal(m)) return Reply::Refuse(*no);
    OpenReceipt(m, (length_byte & kCommentOpensRefund) != 0 ? ReceiptKind::kRefund : ReceiptKind::kSale);
  }
  PrintComment(m, std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  return Reply::Ok();
}

// Cash in and cash out: amount (4 bytes); no answer data. Outside a receipt only.
std::optional<std::int64_t> ParseCashAmount(std::span<const Byte> params) {
  FieldReader r(params);
  const auto amount = static_cast<std::int64_t>(r.UInt(4));
  if (!r.Complete() || amount == 0) return std::nullopt;
  return amount;
}

Reply CashOperation(PrinterModel& m, const Request& r, bool cash_in) {
  const std::optional<std::int64_t> amount = ParseCashAmount(r.params);
  if (!amount) return RefuseBadParameter(m);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (m.receipt.open()) return Reply::Refuse(result::kReceiptOpen);
  if (Refusal no = OpeningRefusal(m)) return Reply::Refuse(*no);
  if (cash_in && m.drawer + *amount > static_cast<std::int64_t>(kMoney40Max)) {
    return Reply::Refuse(result::kPaymentRegisterFull);
  }
  if (!cash_in && *amount > m.drawer) return Reply::Refuse(result::kNotEnoughCash);

  OpenDayIfClosed(m);
  m.drawer += cash_in ? *amount : -*amount;
  (cash_in ? m.day.cash_in : m.day.cash_out) += *amount;
  PrintCashOperation(m, cash_in, *amount);
  return Reply::Ok();
}

Reply HandleCashIn(PrinterModel& m, const Request& r) {
  return CashOperation(m, r, true);
}

Reply HandleCashOut(PrinterModel& m, const Request& r) {
  return CashOperation(m, r, false);
}

// The cash in the drawer, five bytes.
Reply HandleDrawerQuery(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  Bytes out;
  AppendMoney40(out, m.drawer);
  return Reply::Ok(std::move(out));
}

constexpr CommandEntry kPaymentCommands[] = {
    {0x0B, "comment", VariantSet::All(), Effect::kChangesState, &HandleComment},
    {0x10, "cash in", VariantSet::All(), Effect::kChangesState, &HandleCashIn},
    {0x14, "payment", VariantSet::All(), Effect::kChangesState, &HandlePayment},
    {0x18, "cash out", VariantSet::All(), Effect::kChangesState, &HandleCashOut},
    {0x21, "cash in drawer", VariantSet::All(), Effect::kQuery, &HandleDrawerQuery},
    // 08-01 gives no discounts.
    {0x23, "discount or markup", VariantSet::All().Without(k0801), Effect::kChangesState, &HandleDiscount},
};

}  // namespace

std::span<const CommandEntry> PaymentCommands() {
  return kPaymentCommands;
}

void WriteDrawerJson(const PrinterModel& m, Json& j) {
  j["drawer"] = m.drawer;
}

}  // namespace zorfp::sim
