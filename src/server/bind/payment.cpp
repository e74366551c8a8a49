// Bindings of payment, discounts, comments and cash operations.
#include "commands/payment.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;

const server::Bindings kPaymentBindings{
    Bind<bool(std::int32_t, std::uint32_t, bool, bool)>(&FPPayment, "FPPayment"),
    Bind<bool(Byte, std::uint32_t, bool, bool, const AnsiString&)>(&FPPayment, "FPPayment"),
    Bind<bool(std::int32_t, std::uint32_t, const AnsiString&)>(&FPDiscount, "FPDiscount"),
    Bind<bool(Byte, std::uint32_t, std::uint32_t, bool, const AnsiString&)>(&FPDiscount, "FPDiscount"),
    Bind(&FPComment, "FPComment"),
    Bind(&FPNullCheck, "FPNullCheck"),
    Bind(&CashIn, {"FPInToCash", "FPAvans"}),
    Bind(&CashOut, {"FPOutOfCash", "FPGive"}),
    Bind(&FPGetBox, "FPGetBox"),
};

}  // namespace
}  // namespace zorfp
