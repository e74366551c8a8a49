// The data modem's status record as the last update decoded it. One record for the whole library:
// every 05-03 and EP-06 object returns the same values (commands/modem.cpp keeps it in the 05-03
// slot). Times are kept as text in the system's format, as the properties return them.
#pragma once

#include <cstdint>

#include "link/bytes.h"

namespace zorfp {

struct ModemRecord {
  std::int32_t SecondCnt = 0;
  std::int32_t RROXchgTime = 0;
  std::int32_t ACQXchgTime = 0;
  AnsiString FirstUnsendPIDDateTime;
  std::int32_t PID_Unused = 0;
  std::int32_t PID_CurPers = 0;
  std::int32_t PID_LastWrite = 0;
  std::int32_t PID_LastSign = 0;
  std::int32_t PID_LastSend = 0;
  std::int32_t SN = 0;
  std::int32_t ID_DEV = 0;
  std::int32_t ID_SAM = 0;
  std::int32_t NT_SAM = 0;
  std::int32_t NT_SESSION = 0;
  Byte FailCode = 0;
  Byte Res1 = 0;
  std::int32_t BatVoltage = 0;
  std::int32_t DCVoltage = 0;
  std::int32_t BatCurrent = 0;
  std::int32_t Temperature = 0;
  Byte State1 = 0;
  Byte State2 = 0;
  Byte State3 = 0;
  Byte LanState1 = 0;
  Byte LanState2 = 0;
  Byte RROXchgResult = 0;
  Byte ACQXchgResult = 0;
  Byte Res2 = 0;
  std::int32_t RROXchgErrorCnt = 0;
  Byte RSSI = 0;
  Byte RSSI_BER = 0;
  // The extended record only (189 bytes).
  AnsiString USSDResult;
  std::int32_t OSVer = 0;
  std::int32_t OSRev = 0;
  AnsiString SysTime;
  AnsiString NETIPAddr, NETGate, NETMask, MODIPAddr, ACQIPAddr;
  std::int32_t ACQPort = 0;
};

struct ModemValues {
  ModemRecord record;
};

}  // namespace zorfp
