// What the printer prints or shows outside the fiscal items: text lines, non-fiscal text lists,
// barcodes, the customer display, paper and drawer actions, copies and the version print. The
// display and drawer flags are bindings over the status block (server/bind/printing.cpp).
#pragma once

#include "driver/driver.h"

namespace zorfp {

// Text lines: the newer classes with size bits, the older ones (36 characters, no sizes) without.
bool FPSetString(Driver& d, bool StrFirstLast, const AnsiString& MessageString, bool DoubleWidth,
                 bool DoubleHeight);
bool FPSetString(Driver& d, bool StrFirstLast, const AnsiString& MessageString);

// The customer display: 05-02 and 05-03 by line number 0 to 4, the others first or last line.
bool FPSendCustomer(Driver& d, Byte Line, const AnsiString& Msg);
bool FPSendCustomer(Driver& d, bool StrFirstLast, const AnsiString& MessageString);

// Non-fiscal text lists, one line per CR LF or LF. 05-03 cuts a long line to 37 characters; the
// other classes refuse it, with the lines before it already printed. EP-05 and EP-06 switch the
// receipt-only mode first when it differs from the printer's.
bool FPTransPrint(Driver& d, const AnsiString& List, bool EndList);
bool FPTransPrint(Driver& d, const AnsiString& List, bool EndList, bool ReceiptOnly);
// EP-06: the lines go to station 1 or 2 (other values: neither bit), cut to 37 characters.
bool FPTransPrintNew(Driver& d, const AnsiString& List, bool EndList, Byte Station);

// Barcodes: Code 128 set C symbol values (0 to 99, at most 20) and Code 128 (0 to 127, at most 16).
bool FPPrintCODE128C(Driver& d, const AnsiString& CODE128C);
bool FPPrintCODE128(Driver& d, const AnsiString& CODE128);

// Commands without data.
bool FPLineFeed(Driver& d);
bool FPOpenBox(Driver& d);
bool FPCopyLastCheck(Driver& d);  // FPPrintCopy
bool FPPrintVersion(Driver& d);   // FPPrintVer
bool FPCplOnLine(Driver& d);
bool FPCplInd(Driver& d);
bool FPCplCutter(Driver& d);

}  // namespace zorfp
