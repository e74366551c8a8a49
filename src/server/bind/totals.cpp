// Bindings of the counters and totals: the day totals and the open receipt's totals read afresh,
// the copies FPReadDayReport and FPGetReceiptData keep (05-02, 05-03), the cash in the drawer, and
// the receipt values of the open receipt.
#include "commands/totals.h"
#include "commands/status.h"
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

// A counter the interface gives as decimal text.
struct AsDecimalText {
  static AnsiString Of(const Driver& d, std::int32_t n) { return server::ToClient(d, std::to_string(n)); }
};

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

// Registers read by address. The newer classes' Ext forms give the integer where the plain form
// gives text.
const server::Bindings kMemoryRegisterBindings{
    QueryField<&ReadCounter<kSaleCounterAddress>, &DayCounter::Count, 0, AsDecimalText>(
        "GetSaleCheckNumberExt"),
    QueryField<&ReadCounter<kRefundCounterAddress>, &DayCounter::Count, 0, AsDecimalText>(
        "GetPayCheckNumberExt"),
    QueryField<&ReadCounter<kSaleCounterAddress>, &DayCounter::Count, 0, AsDecimalText>("FPGetCheckSale"),
    QueryField<&ReadCounter<kRefundCounterAddress>, &DayCounter::Count, 0, AsDecimalText>("FPGetCheckPay"),
    QueryField<&ReadGroupRegisters<kSaleGroupsAddress>, &GroupSumText>("GetDaySaleSum"),
    QueryField<&ReadGroupRegisters<kRefundGroupsAddress>, &GroupSumText>("GetDayPaySum"),
    QueryField<&ReadGroupRegisters<kSaleGroupsAddress>, &GroupSum32>("GetDaySaleSumExt"),
    QueryField<&ReadGroupRegisters<kRefundGroupsAddress>, &GroupSum32>("GetDayPaySumExt"),
};

const server::Bindings kCancellationBindings{
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::SaleCount>("GetGlobCancSale"),
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::RefundCount>("GetGlobCancPay"),
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::SaleSum>("GetSumGlobCancSale"),
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::RefundSum>("GetSumGlobCancPay"),
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::SaleSum, 0, AsLow32>(
        "GetSumGlobCancSaleExt"),
    QueryField<&ReadCancellations<kReceiptCancelsAddress>, &Cancellations::RefundSum, 0, AsLow32>(
        "GetSumGlobCancPayExt"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::SaleCount>("GetSalePositionCancels"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::RefundCount>("GetPayPositionCancels"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::SaleSum>("GetSalePosCancelsSum"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::RefundSum>("GetPayPosCancelsSum"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::SaleSum, 0, AsLow32>(
        "GetSalePosCancelsSumExt"),
    QueryField<&ReadCancellations<kItemCancelsAddress>, &Cancellations::RefundSum, 0, AsLow32>(
        "GetPayPosCancelsSumExt"),
};

// The older classes read the day's registers one by one; EP-01 has a few more of them.
const server::Bindings kOlderDayBindings{
    Bind(&FPGetDaySumSale, "FPGetDaySumSale"),
    Bind(&FPGetDaySumPay, "FPGetDaySumPay"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 0>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_A"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 5>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_B"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 10>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_C"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 15>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_D"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 20>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_E"),
    QueryField<&ReadMoneyRegister<kSaleGroupsAddress + 25>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumSale_F"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 0>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_A"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 5>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_B"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 10>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_C"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 15>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_D"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 20>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_E"),
    QueryField<&ReadMoneyRegister<kRefundGroupsAddress + 25>, &MoneyRegister::Value, 0, AsLow32>(
        "ExtFPGetDaySumPay_F"),
    QueryField<&ReadMoneyRegister<kSaleCardAddress>, &MoneyRegister::Value, 0, AsLow32>(
        "GetDayTimeTurnByCard"),
    QueryField<&ReadMoneyRegister<kSaleCreditAddress>, &MoneyRegister::Value, 0, AsLow32>(
        "GetDayTimeTurnByCredit"),
    QueryField<&ReadMoneyRegister<kSaleCheckAddress>, &MoneyRegister::Value, 0, AsLow32>(
        "GetDayTimeTurnByCheck"),
    Bind(&GetDayTimeTurnByCash, "GetDayTimeTurnByCash"),
    QueryField<&ReadMoneyRegister<kCashInAddress>, &MoneyRegister::Value, 0, AsLow32>("GetDaySumAvance"),
    QueryField<&ReadMoneyRegister<kCashOutAddress>, &MoneyRegister::Value, 0, AsLow32>("GetDaySumGives"),
};

// Payment begun: a flag of the status block.
const server::Bindings kPaymentModeBindings{
    QueryField<&ReadStatus, &StatusBlock::BeginingPayments>("GetPaymentMode"),
};

}  // namespace
}  // namespace zorfp
