// The printer's memory read by address (command 0x1C): the base of the readers that take single
// registers and settings from fixed addresses, and FPGetMemoryData.
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"

namespace zorfp {

// `length` bytes at `address` in memory area `page`, the printer's status left unjudged. nullopt
// when there is no answer or the answer holds other than that many bytes (code 102 or 103).
std::optional<Bytes> ReadMemory(Driver& d, std::uint16_t address, Byte page, Byte length);

// The bytes as decimal numbers, each followed by ";" ("12;0;255;"); empty on failure. A length of
// 0 is still sent, then reported as code 102.
AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData);

}  // namespace zorfp
