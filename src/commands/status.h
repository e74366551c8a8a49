// Status and identity: the status block (command 0x00), which every status and identity member is
// served from, the printer-state byte (command 0x30) and the cutter byte of the printer's memory.
// The members themselves are bindings over these reads (server/bind/status.cpp).
#pragma once

#include <optional>

#include "driver/driver.h"

namespace zorfp {

// A fresh status block, decoded as the class lays it out (texts in Windows-1251); nullopt when it
// could not be read (no answer, 102 without data, 103 when cut short of its fourth header line).
// The printer's status and result bytes are not judged, and the error text is emptied first.
std::optional<StatusBlock> ReadStatus(Driver& d);

// The block FPGetCurrentStatus keeps for its properties (05-02, 05-03).
StatusBlock& HeldStatus(Driver& d);
// One status request into the held block; a block that could not be read leaves it as it was.
bool FPGetCurrentStatus(Driver& d);

// The serial number as the newer classes show it: the first 10 characters of text 1, trimmed.
AnsiString CutSerialNumber(const AnsiString& text1);

// The printer-state byte: paper, journal and printer connection.
struct PrinterState {
  bool ConnectionError = false;  // bit 0
  bool JournalLow = false;       // bit 2 (EP-05, EP-06)
  bool ReceiptLow = false;       // bit 3
  bool JournalEmpty = false;     // bit 5 (EP-05, EP-06)
  bool ReceiptEmpty = false;     // bit 6
};
// A fresh state byte, the printer's status left unjudged; nullopt when there is no answer or the
// answer is not exactly one byte (code 103, status 255).
std::optional<PrinterState> ReadPrinterState(Driver& d);

// Newer classes: true when the cutter is enabled (bit 3 of memory byte 0x301A clear).
bool GetCutterStatus(Driver& d);

}  // namespace zorfp
