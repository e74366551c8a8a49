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
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

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

}  // namespace

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

}  // namespace zorfp::sim
