// Bindings of the sale and refund items.
#include "commands/items.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;

using NewerItem = bool(std::int32_t, Byte, bool, std::int32_t, std::int32_t, bool, const AnsiString&,
                       std::uint64_t);
using OlderItem = bool(std::int32_t, Byte, std::int32_t, Byte, const AnsiString&, std::uint32_t);

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

}  // namespace
}  // namespace zorfp
