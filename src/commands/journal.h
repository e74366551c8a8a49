// The printer's memory read by address (command 0x1C), the base of the readers that take single
// registers and settings from fixed addresses, and FPGetMemoryData; the fiscal-memory record of
// one Z report (0x36), the electronic journal's state (0x42 on 05-03, 0x33 and memory locations on
// EP-06), the printer's capacity (0x41) and the lock report (0x4A).
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"

namespace zorfp {

// `length` bytes at `address` in memory area `page`, the printer's status left unjudged. nullopt
// when there is no answer or the answer holds other than that many bytes (code 102 or 103).
std::optional<Bytes> ReadMemory(Driver& d, std::uint16_t address, Byte page, Byte length);
// The same read with the printer's status and result judged first (the Z report's number and date).
std::optional<Bytes> ReadMemoryJudged(Driver& d, std::uint16_t address, Byte page, Byte length);

// The bytes as decimal numbers, each followed by ";" ("12;0;255;"); empty on failure. A length of
// 0 is still sent, then reported as code 102.
AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData);

// One Z report's fiscal-memory record into the held values (05-02, 05-03). The held date is 0 from
// the start of the call until a record decodes whole.
bool FPGetFMDay(Driver& d, std::uint16_t ReportNum);
FiscalDayRecord& HeldFiscalDay(Driver& d);
AnsiString GetRepDateEx(Driver& d, const FiscalDayRecord& r);

bool FPPrintLockReport(Driver& d, std::uint16_t Password_Report);

// 05-03: the journal's state into the held values.
bool FPUpdateStatusKLEF(Driver& d);
// 05-03: the held values; EP-06: a fresh query each.
std::int32_t GetKLEFFirstPID(Driver& d);
std::int32_t GetKLEFLastPID(Driver& d);
std::int32_t GetKLEFFreeBytes(Driver& d);
// EP-06: the journal's memory locations.
std::int32_t GetKLEFBeginAdr(Driver& d);
std::int32_t GetKLEFEndAdr(Driver& d);
std::int32_t GetKLEFDirectLastPID(Driver& d);
bool GetKLEFPersonalization(Driver& d);
AnsiString GetKLEFBlockingDateTime(Driver& d);

// 05-03: item and record capacity.
struct Capacity {
  std::int32_t MaxItems = 0;
  std::int32_t MaxRecords = 0;
  std::int32_t RecordsUsed = 0;
};
std::optional<Capacity> ReadCapacity(Driver& d);

}  // namespace zorfp
