// Bindings of the counters and totals: the day totals and the open receipt's totals read afresh,
// the copies FPReadDayReport and FPGetReceiptData keep (05-02, 05-03), the cash in the drawer, and
// the receipt values of the open receipt.
#include "commands/totals.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::AsLow32;
using server::Bind;
using server::Family;
using server::HeldField;
using server::HeldFields;
using server::QueryField;
using server::QueryFields;

// The payment forms in EPaymentType order as the properties name them: card, credit, check, cash
// and, where the class has ten forms, `index_stem` 5 to 10.
std::vector<const char*> Forms(std::string_view stem, std::string_view index_stem = {}) {
  std::vector<const char*> names;
  for (const char* form : {"Card", "Credit", "Check", "Cash"}) {
    names.push_back(server::KeepName(std::string(stem) + form));
  }
  if (!index_stem.empty()) {
    for (const char* n : Family(index_stem, 5, 10)) names.push_back(n);
  }
  return names;
}

const server::Bindings kDayTotalsBindings{
    QueryField<&ReadDayTotals, &DayTotals::SaleReceipts, 65535>("GetSaleCheckNumber"),
    QueryFields<&ReadDayTotals, &DayTotals::SaleGroups>(Family("GetTurnSaleTax_", "ABCDEF")),
    QueryFields<&ReadDayTotals, &DayTotals::SaleForms>(Forms("GetTurnSale", "GetTurnSaleIndex")),
    QueryField<&ReadDayTotals, &DayTotals::SaleMarkups>("GetExtraChargeSale"),
    QueryField<&ReadDayTotals, &DayTotals::SaleDiscounts>("GetDiscountSale"),
    QueryField<&ReadDayTotals, &DayTotals::CashIn>("GetAvansSum"),
    QueryField<&ReadDayTotals, &DayTotals::RefundReceipts, 65535>("GetPayCheckNumber"),
    QueryFields<&ReadDayTotals, &DayTotals::RefundGroups>(Family("GetTurnPayTax_", "ABCDEF")),
    QueryFields<&ReadDayTotals, &DayTotals::RefundForms>(Forms("GetTurnPay", "GetTurnPayIndex")),
    QueryField<&ReadDayTotals, &DayTotals::RefundMarkups>("GetExtraChargePay"),
    QueryField<&ReadDayTotals, &DayTotals::RefundDiscounts>("GetDiscountPay"),
    QueryField<&ReadDayTotals, &DayTotals::CashOut>("GetPaymentSum"),
};

const server::Bindings kDayReportBindings{
    Bind(&FPReadDayReport, "FPReadDayReport"),
    HeldField<&HeldDayReport, &DayTotals::SaleReceipts>("GetDaySaleReceipts"),
    HeldFields<&HeldDayReport, &DayTotals::SaleGroups, AsLow32>(Family("GetDayTurnTaxSale_", "ABCDEF")),
    HeldFields<&HeldDayReport, &DayTotals::SaleForms, AsLow32>(Forms("GetDayTurnSaleOf")),
    HeldField<&HeldDayReport, &DayTotals::SaleMarkups, AsLow32>("GetDaySaleMarkupSum"),
    HeldField<&HeldDayReport, &DayTotals::SaleDiscounts, AsLow32>("GetDaySaleDiscountSum"),
    HeldField<&HeldDayReport, &DayTotals::CashIn, AsLow32>("GetDayCashInSum"),
    HeldField<&HeldDayReport, &DayTotals::RefundReceipts>("GetDayRefundReceipts"),
    HeldFields<&HeldDayReport, &DayTotals::RefundGroups, AsLow32>(Family("GetDayTurnTaxRefund_", "ABCDEF")),
    HeldFields<&HeldDayReport, &DayTotals::RefundForms, AsLow32>(Forms("GetDayTurnRefundOf")),
    HeldField<&HeldDayReport, &DayTotals::RefundMarkups, AsLow32>("GetDayRefundMarkupSum"),
    HeldField<&HeldDayReport, &DayTotals::RefundDiscounts, AsLow32>("GetDayRefundDiscountSum"),
    HeldField<&HeldDayReport, &DayTotals::CashOut, AsLow32>("GetDayCashOutSum"),
};

const server::Bindings kReceiptTotalsBindings{
    QueryFields<&ReadReceiptTotals, &ReceiptTotals::Groups>(Family("GetTurnCurrentCheckTax_", "ABCDEF")),
    QueryFields<&ReadReceiptTotals, &ReceiptTotals::Forms>(
        Forms("GetTurnCurrentCheckOf", "GetTurnCurrentCheckOfPaymentIndex")),
    Bind(&FPGetReceiptData, "FPGetReceiptData"),
    HeldFields<&HeldReceiptTotals, &ReceiptTotals::Groups>(Family("GetTurnReceiptOnTax_", "ABCDEF")),
    HeldFields<&HeldReceiptTotals, &ReceiptTotals::Forms>(Forms("GetTurnReceiptOn")),
};

const server::Bindings kDrawerBindings{
    QueryField<&ReadDrawerCash, &DrawerCash::Cash>("GetMoneyInBox"),
    QueryField<&ReadDrawerCash, &DrawerCash::Cash, 0, AsLow32>("GetMoneyInBoxEx"),
};

const server::Bindings kReceiptValueBindings{
    HeldField<&HeldReceipt, &ReceiptValues::ReceiptCost>("GetCheckCost"),
    HeldField<&HeldReceipt, &ReceiptValues::ReceiptTotal>("GetCheckTotal"),
    HeldField<&HeldReceipt, &ReceiptValues::Balance>("GetBalance"),
    HeldField<&HeldReceipt, &ReceiptValues::BalanceIsChange>("GetBalanceType"),
    HeldField<&HeldReceipt, &ReceiptValues::DiscountSum>("GetDiscountSum"),
};

}  // namespace
}  // namespace zorfp
