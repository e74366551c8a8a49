#include "commands/totals.h"

namespace zorfp {

ReceiptValues& HeldReceipt(Driver& d) {
  return d.held().totals.receipt;
}

void ClearReceipt(ReceiptValues& r) {
  r = ReceiptValues{};
}

}  // namespace zorfp
