// The option bits and feed lines of 05-02 and 05-03: read whole into the class's copy (0x34) and
// written whole from it (0x35). The Flag properties change the copy bit by bit without printer
// traffic (server/bind/flags.cpp).
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

OptionFlags& HeldFlags(Driver& d);

// The printer's flags into the copy. An answer shorter than the four fields (102 without data,
// 103 otherwise) leaves the copy as it was.
bool FPGetFlags(Driver& d);
// The copy to the printer; feed lines above 16 are refused (111) and nothing is sent.
bool FPSetFlags(Driver& d, std::uint16_t Password_Prog);

}  // namespace zorfp
