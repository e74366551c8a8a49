// Numbers that clients and the printer pass as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "link/bytes.h"

namespace zorfp {

// Without leading and trailing blanks and control characters (every byte up to 0x20).
AnsiString Trim(std::string_view text);

// A signed 64-bit decimal integer: an optional sign and digits, nothing else. nullopt for anything
// else, an empty text, or a value out of range.
std::optional<std::int64_t> ParseInt64(std::string_view text);

}  // namespace zorfp
