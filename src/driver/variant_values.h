// Values the receipt and status members keep between calls: one set per protocol variant, shared
// by every driver object of that variant.
#pragma once

#include <array>
#include <cstdint>

#include "link/bytes.h"

namespace zorfp {

// Written by the item, payment and discount commands; read back without printer traffic.
struct ReceiptValues {
  std::int64_t ReceiptCost = 0;
  std::int64_t ReceiptTotal = 0;
  std::int32_t Balance = 0;
  bool BalanceIsChange = false;  // the balance is change to hand out, not a sum still to pay
  std::int64_t DiscountSum = 0;
};

// `CurrentStatus` (05-02, 05-03): the status block as the last successful FPGetCurrentStatus
// decoded it. Its properties never talk to the printer.
struct CurrentStatus {
  bool BeginingPayments = false;
  bool CashDrawerOpened = false;  // the printer's drawer bit inverted
  bool RefundReceiptType = false;
  bool TaxesAdded = false;  // ETaxType: true = ettAddNDS
  bool DayOpened = false;
  bool ReceiptOpened = false;
  bool DisplayMode = false;
  bool TaxChanged = false;
  bool NonFiscalReportOpened = false;
  bool FiscalMode = false;
  bool Failure = false;
  bool OnlinePrintMode = false;
  AnsiString SerialText;  // text 1 in full; SerialNumber cuts it
  AnsiString FiscalNumber;
  AnsiString HeadLine1, HeadLine2, HeadLine3, RegCode;
  AnsiString FirmwareVersion;
  double FiscalizationDateTime = 0;  // OLE DATE
};

struct VariantValues {
  ReceiptValues receipt;
  CurrentStatus current_status;
};

}  // namespace zorfp
