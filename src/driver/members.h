// The members every driver class has in some form: opening and closing the port, the settings
// properties, the call results and the line-speed change. Properties are a getter named like the
// property and a setter named Put<property>.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

// Opening and closing the port.
bool FPInit(Driver& d, Byte PortNumber, std::uint32_t BaudRate, Byte ReadTimeOut, Byte WriteTimeOut);
bool FPInit(Driver& d, Byte PortNumber, Byte ReadTimeOut, Byte WriteTimeOut);  // 08-01: fixed 9600
bool FPInitEx(Driver& d, const AnsiString& Port, std::uint32_t BaudRate, Byte ReadTimeOut, Byte WriteTimeOut);
bool FPInitEx(Driver& d, const AnsiString& Port, Byte ReadTimeOut, Byte WriteTimeOut);  // 08-01
bool FPClose(Driver& d);

// Settings. Lang is one per class; the others are one for the whole library.
Byte Lang(Driver& d);
void PutLang(Driver& d, Byte value);
bool CP866(Driver& d);
void PutCP866(Driver& d, bool value);
Byte AnswerWaiting(Driver& d);
void PutAnswerWaiting(Driver& d, Byte value);
Byte RepeatCount(Driver& d);
void PutRepeatCount(Driver& d, Byte value);
bool LogRecord(Driver& d);
void PutLogRecord(Driver& d, bool value);

// Results of the last call; no printer traffic.
Byte GetByteResult(Driver& d);
Byte GetByteStatus(Driver& d);
Byte GetByteReserv(Driver& d);
AnsiString GetTextErrorMessage(Driver& d);  // FPErrorMessage of the older classes

// Line speed: tells the printer to switch; the client then opens the port again at the new rate.
// EP-01's FPChangeRate is the first (the older classes report by text alone).
bool FPChangeBaudRate(Driver& d, Byte SpeedIndex);
bool FPChangeBaudRate(Driver& d, Byte SpeedIndex, bool USB);  // 05-02, 05-03

}  // namespace zorfp
