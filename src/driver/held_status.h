// The printer's status block (the answer to the status request, command 0x00) as the status
// members decode it; 05-02 and 05-03 also keep the last one FPGetCurrentStatus read. Each field
// carries the name of the property that returns it.
#pragma once

#include "link/bytes.h"

namespace zorfp {

struct StatusBlock {
  // Mode flags A (data byte 0), bits 1 to 7.
  bool BeginingPayments = false;
  bool CashDrawerFlag = false;    // bit 2 as it stands: GetBoxStatus
  bool CashDrawerOpened = false;  // the same bit inverted
  bool RefundReceiptType = false;
  bool TaxesAdded = false;  // ETaxType: true = ettAddNDS
  bool DayOpened = false;
  bool ReceiptOpened = false;
  bool DisplayMode = false;
  // Mode flags B (data byte 1), bits 0 to 6.
  bool ServiceReportOnlyReceipt = false;  // bit 0 clear (EP-05, EP-06)
  bool TaxChanged = false;
  bool NonFiscalReportOpened = false;  // bit 3: a service report is open
  bool FiscalMode = false;
  bool Failure = false;  // the last command failed
  bool OnlinePrintMode = false;

  // The fiscalization moment as an OLE DATE: 1 January 2003 while not fiscalized, 0 when the
  // printer's bytes are not a real date and time.
  double FiscalizationDateTime = 0;

  AnsiString SerialText;    // text 1, all of it
  AnsiString SerialNumber;  // as the class shows it: newer classes cut and trim text 1
  AnsiString FiscalNumber;  // text 2
  AnsiString HeadLine1, HeadLine2, HeadLine3;  // texts 3 to 5
  AnsiString RegCode;                          // text 6, the registration code line
  AnsiString FirmwareVersion;                  // text 7 as the class reads it; empty where none
};

struct StatusValues {
  // FPGetCurrentStatus (05-02, 05-03): the last block that decoded whole.
  StatusBlock current;
};

}  // namespace zorfp
