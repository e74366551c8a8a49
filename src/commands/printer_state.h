// Paper, printer connection and cutter: the one-byte printer state (command 0x30) and the cutter
// byte of the printer's memory.
#pragma once

#include <optional>

#include "driver/driver.h"

namespace zorfp {

// Bits of the printer state byte.
inline constexpr Byte kPrinterConnectionError = 0x01;
inline constexpr Byte kJournalLow = 0x04;
inline constexpr Byte kReceiptPaperLow = 0x08;
inline constexpr Byte kJournalEmpty = 0x20;
inline constexpr Byte kReceiptPaperOut = 0x40;

// The state byte, the printer's status left unjudged; nullopt when there is no answer or the
// answer is not exactly one byte (code 103, status 255).
std::optional<Byte> ReadPrinterState(Driver& d);
// One bit of a fresh state byte; false on failure. GetJournalLow and GetJournalEmpty build on it.
bool ReadPrinterStateFlag(Driver& d, Byte mask);

bool GetPrnErrorConnection(Driver& d);  // EP-05 and later
bool GetReceiptLow(Driver& d);
bool GetReceiptEmpty(Driver& d);

// Newer classes: true when the cutter is enabled (bit 3 of memory byte 0x301A clear).
bool GetCutterStatus(Driver& d);

}  // namespace zorfp
