#include "sim/bytes.h"

#include <cstdio>

namespace zorfp::sim {

std::string HexString(std::span<const Byte> bytes) {
  std::string out;
  char buf[4];
  for (Byte b : bytes) {
    std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", b);
    out += buf;
  }
  return out;
}

}  // namespace zorfp::sim
