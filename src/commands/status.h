// Status and identity: every member sends StatusRequest anew and returns one value of the block,
// except FPGetCurrentStatus (05-02, 05-03), which keeps the decoded block for its properties.
// The newer classes' properties and the older classes' functions of the same name are one member.
#pragma once

#include <optional>

#include "commands/status_block.h"
#include "driver/driver.h"

namespace zorfp {

// A fresh block, or nullopt when it could not be read (the call state says why). Members of other
// areas that read a status bit or text build on these.
std::optional<StatusBlock> ReadStatus(Driver& d);
bool ReadStatusFlagA(Driver& d, Byte mask);
bool ReadStatusFlagB(Driver& d, Byte mask);
// A text of a fresh block as the client receives it; empty when the block could not be read.
AnsiString ReadStatusText(Driver& d, AnsiString (*pick)(const StatusBlock&));

// Flags, all classes (older classes: functions of the same names).
bool GetBoxStatus(Driver& d);
bool GetSmenaOpened(Driver& d);          // newer
bool GetSmenaStatus(Driver& d);          // older
bool GetCheckOpened(Driver& d);          // newer
bool GetCheckOpenedStatus(Driver& d);    // older
bool GetCheckType(Driver& d);            // newer: a refund receipt is open
bool GetCheckStatus(Driver& d);          // older: the same bit
bool GetWorkMode(Driver& d);             // newer: fiscalized
bool GetFiscalizationStatus(Driver& d);  // older
bool GetPrintMode(Driver& d);            // newer: on-line print mode
bool GetRegistrationRegim(Driver& d);    // EP-01: the same bit
bool GetLastCommandStatus(Driver& d);    // newer: the last command failed
bool GetErrorCommandStatus(Driver& d);   // older

// Identity.
AnsiString GetSerialNumber(Driver& d);
AnsiString GetFiscalNumber(Driver& d);
AnsiString GetHardwareVersion(Driver& d);

// 05-02, 05-03: one status request into CurrentStatus, and its properties.
bool FPGetCurrentStatus(Driver& d);
bool BeginingPayments(Driver& d);
bool RefundReceiptType(Driver& d);
bool DayOpened(Driver& d);
bool ReceiptOpened(Driver& d);
bool FiscalMode(Driver& d);
bool Failure(Driver& d);
bool OnlinePrintMode(Driver& d);
AnsiString SerialNumber(Driver& d);
AnsiString FiscalNumber(Driver& d);
AnsiString FirmwareVersion(Driver& d);

}  // namespace zorfp
