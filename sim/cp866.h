// Code page 866, the printer's character set, to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "sim/bytes.h"

namespace zorfp::sim {

// Every one of the 256 byte values has a character, so this never fails.
std::string Cp866ToUtf8(std::string_view cp866);

// Characters that code page 866 lacks become '?'; malformed UTF-8 bytes likewise.
Cp866Text Utf8ToCp866(std::string_view utf8);

}  // namespace zorfp::sim
