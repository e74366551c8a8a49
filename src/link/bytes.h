// Byte strings as they travel on the wire and through the call state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorfp {

using Byte = std::uint8_t;
using Bytes = std::vector<Byte>;

// Driver-side text: Windows-1251 bytes ("ANSI"). The printer's own text is code page 866.
using AnsiString = std::string;

inline Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

}  // namespace zorfp
