#include "sim/receipt_flow.h"

#include "sim/fields.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

constexpr std::int64_t kMaxReceiptAmount = 0x7FFFFFFF;

bool Overflows(std::int64_t reg, std::int64_t add) {
  return reg + add > static_cast<std::int64_t>(kMoney40Max);
}

void Book(const Adjustment& a, DayHalf& half) {
  if (a.discount) {
    half.discounts += -a.amount;
  } else {
    half.markups += a.amount;
  }
}

}  // namespace

Refusal PaperRefusal(const PrinterModel& m) {
  if (m.status.paper.receipt_out) return result::kPaperOut;
  return std::nullopt;
}

Refusal OpeningRefusal(const PrinterModel& m) {
  if (DayTooLong(m)) return result::kZReportNeeded;
  if (m.traits().has_personalization && !m.status.conditions.personalized) return result::kNoPersonalization;
  return std::nullopt;
}

Refusal TotalRefusal(std::int64_t total) {
  if (total < 0) return result::kNegativeTotal;
  if (total > kMaxReceiptAmount) return result::kCostTooBig;
  return std::nullopt;
}

Refusal BookingRefusal(const PrinterModel& m, const Receipt& paid) {
  const DayHalf& half = m.day.Of(paid.kind);
  const ReceiptSums sums = SumsOf(m, paid);
  for (std::size_t g = 0; g < sums.turnover.size(); ++g) {
    if (Overflows(half.turnover_by_group[g], sums.turnover[g])) return result::kDayTurnoverFull;
  }
  for (int f = 0; f < kMaxPaymentForms; ++f) {
    if (Overflows(half.by_payment_form[static_cast<std::size_t>(f)], paid.PaidIn(f))) {
      return result::kPaymentRegisterFull;
    }
  }
  return std::nullopt;
}

ReceiptSums SumsOf(const PrinterModel& m, const Receipt& r) {
  return Sums(r, m.taxes, m.traits(), m.status.mode.taxes_added);
}

ReceiptSums CurrentSums(const PrinterModel& m) {
  return SumsOf(m, m.receipt);
}

void OpenDayIfClosed(PrinterModel& m) {
  if (m.status.mode.day_open) return;
  m.status.mode.day_open = true;
  m.day_opened_at = m.clock.Now();
}

void OpenReceipt(PrinterModel& m, ReceiptKind kind) {
  OpenDayIfClosed(m);
  m.receipt = Receipt{};
  m.receipt.state = ReceiptState::kOpen;
  m.receipt.kind = kind;
  PrintReceiptHead(m, kind);
  SyncReceiptFlags(m);
}

void CloseReceipt(PrinterModel& m, bool fiscal) {
  Receipt& r = m.receipt;
  const ReceiptSums sums = CurrentSums(m);
  DayHalf& half = m.day.Of(r.kind);
  r.number = ++m.last_receipt_number;
  ++half.receipts;
  for (std::size_t g = 0; g < sums.turnover.size(); ++g) half.turnover_by_group[g] += sums.turnover[g];
  for (const Payment& p : r.payments) half.by_payment_form[static_cast<std::size_t>(p.form)] += p.amount;
  half.by_payment_form[kCashForm] -= r.change;
  for (const ReceiptItem& item : r.items) {
    if (item.adjustment) Book(*item.adjustment, half);
  }
  for (const ReceiptAdjustment& a : r.adjustments) Book(a.adjustment, half);
  const std::int64_t cash = r.PaidIn(kCashForm) - r.change;
  m.drawer += r.kind == ReceiptKind::kSale ? cash : -cash;
  r.state = ReceiptState::kClosed;
  PrintReceiptEnd(m, fiscal);
  SyncReceiptFlags(m);
}

void CancelReceipt(PrinterModel& m) {
  CancelCount& cancelled = m.day.Of(m.receipt.kind).cancelled_receipts;
  ++cancelled.count;
  cancelled.sum += CurrentSums(m).total;
  m.receipt.state = ReceiptState::kCancelled;
  PrintCancelled(m);
  SyncReceiptFlags(m);
}

void SyncReceiptFlags(PrinterModel& m) {
  m.status.mode.receipt_open = m.receipt.open();
  m.status.mode.refund_receipt = m.receipt.open() && m.receipt.kind == ReceiptKind::kRefund;
  m.status.mode.payment_begun = m.receipt.payment_begun();
}

}  // namespace zorfp::sim
