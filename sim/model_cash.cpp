// Cash put into and taken out of the drawer outside a receipt, and the drawer's content.
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

std::optional<std::int64_t> ParseAmount(std::span<const Byte> params) {
  FieldReader r(params);
  const auto amount = static_cast<std::int64_t>(r.UInt(4));
  if (!r.Complete() || amount == 0) return std::nullopt;
  return amount;
}

Reply CashOperation(PrinterModel& m, const Request& r, bool cash_in) {
  const std::optional<std::int64_t> amount = ParseAmount(r.params);
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

}  // namespace

// Amount (4 bytes); no answer data.
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

}  // namespace zorfp::sim
