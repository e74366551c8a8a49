// The printer's option bits and feed lines as the class holds them (05-02, 05-03): read whole by
// FPGetFlags, changed bit by bit by the Flag properties, written whole by FPSetFlags. Bits that no
// property names go back to the printer as they were read.
#pragma once

#include <cstdint>

namespace zorfp {

struct OptionFlags {
  std::uint16_t Group1 = 0;
  std::uint32_t Group3 = 0;
  std::uint8_t Group4 = 0;
  std::uint8_t FeedLines = 0;  // lines fed after a document, 0 to 16
};

struct FlagsValues {
  OptionFlags flags;
};

}  // namespace zorfp
