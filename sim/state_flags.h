// The option bits and feed lines 05-02 and 05-03 keep (commands 0x34 and 0x35).
#pragma once

#include <cstdint>

namespace zorfp::sim {

struct FlagsState {
  std::uint16_t group1 = 0;
  std::uint32_t group3 = 0;
  std::uint8_t group4 = 0;
  std::uint8_t feed_lines = 0;  // 0 to 16
};

}  // namespace zorfp::sim
