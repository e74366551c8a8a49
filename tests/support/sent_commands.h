// The command bytes of the frames the driver sent, without the framing around them: the code and
// its parameters as the member built them, so that a test states them as the layout gives them.
#pragma once

#include <string>
#include <vector>

#include "support/pty_peer.h"

namespace zorfp::testing {

// A frame as written (DLE STX seq command... checksum DLE ETX, DLE doubled inside) to its command.
inline Bytes CommandOf(const Bytes& frame) {
  constexpr Byte kDle = 0x10;
  Bytes content;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    content.push_back(frame[i]);
    if (frame[i] == kDle && frame[i + 1] == kDle) ++i;
  }
  if (content.size() < 2) return {};
  return Bytes(content.begin() + 1, content.end() - 1);  // without the sequence number and checksum
}

inline std::vector<std::string> CommandsHex(const std::vector<Bytes>& frames) {
  std::vector<std::string> out;
  for (const Bytes& f : frames) out.push_back(Hex(CommandOf(f)));
  return out;
}

}  // namespace zorfp::testing
