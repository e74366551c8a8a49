// What the non-fiscal printing members keep between calls.
#pragma once

namespace zorfp {

struct PrintingValues {
  // EP-05, EP-06: the receipt-only mode as last switched by this driver (0x28 0xFE). The printer's
  // own status bit is asked first; this is what is left when it cannot be read.
  bool ReceiptOnly = false;
};

}  // namespace zorfp
