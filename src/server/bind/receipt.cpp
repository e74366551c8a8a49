// Bindings of the receipt members: items, payment, discounts, comments, cash operations and the
// receipt values they leave.
#include "commands/items.h"
#include "commands/payment.h"
#include "commands/receipt_values.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;

using NewerItem = bool(std::int32_t, Byte, bool, std::int32_t, std::int32_t, bool, const AnsiString&,
                       std::uint64_t);
using OlderItem = void(std::int32_t, Byte, std::int32_t, Byte, const AnsiString&, std::uint32_t);

const server::Bindings kItemBindings{
    Bind<NewerItem>(&FPSale, "FPSale"),
    Bind<OlderItem>(&FPSale, "FPSale"),
    Bind<NewerItem>(&FPPayMoney, "FPPayMoney"),
    Bind<OlderItem>(&FPPayMoney, "FPPayMoney"),
    Bind(&FPSaleEx, "FPSaleEx"),
    Bind(&FPPayMoneyEx, "FPPayMoneyEx"),
    Bind(&FPVoidLastItem, "FPVoidLastItem"),
    Bind(&FPResetOrder, "FPResetOrder"),
};

const server::Bindings kPaymentBindings{
    Bind<bool(std::int32_t, std::uint32_t, bool, bool)>(&FPPayment, "FPPayment"),
    Bind<void(Byte, std::uint32_t, bool, bool, const AnsiString&)>(&FPPayment, "FPPayment"),
    Bind<bool(std::int32_t, std::uint32_t, const AnsiString&)>(&FPDiscount, "FPDiscount"),
    Bind<void(Byte, std::uint32_t, std::uint32_t, bool, const AnsiString&)>(&FPDiscount, "FPDiscount"),
    Bind(&FPComment, "FPComment"),
    Bind(&FPNullCheck, "FPNullCheck"),
    Bind(&FPInToCash, "FPInToCash"),
    Bind(&FPOutOfCash, "FPOutOfCash"),
    Bind(&FPAvans, "FPAvans"),
    Bind(&FPGive, "FPGive"),
    Bind(&FPGetBox, "FPGetBox"),
};

const server::Bindings kReceiptValueBindings{
    Bind(&GetCheckCost, "GetCheckCost"),     Bind(&GetCheckTotal, "GetCheckTotal"),
    Bind(&GetBalance, "GetBalance"),         Bind(&GetBalanceType, "GetBalanceType"),
    Bind(&GetDiscountSum, "GetDiscountSum"),
};

}  // namespace
}  // namespace zorfp
