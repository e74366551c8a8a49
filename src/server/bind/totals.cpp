// Bindings of the counters and totals: the receipt values of the open receipt.
#include "commands/totals.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::HeldField;

const server::Bindings kReceiptValueBindings{
    HeldField<&HeldReceipt, &ReceiptValues::ReceiptCost>("GetCheckCost"),
    HeldField<&HeldReceipt, &ReceiptValues::ReceiptTotal>("GetCheckTotal"),
    HeldField<&HeldReceipt, &ReceiptValues::Balance>("GetBalance"),
    HeldField<&HeldReceipt, &ReceiptValues::BalanceIsChange>("GetBalanceType"),
    HeldField<&HeldReceipt, &ReceiptValues::DiscountSum>("GetDiscountSum"),
};

}  // namespace
}  // namespace zorfp
