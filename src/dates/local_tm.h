// The C library's local-time conversion, whose thread-safe form differs per OS.
#pragma once

#include <ctime>

namespace zorfp {

std::tm LocalTm(std::time_t t);

}  // namespace zorfp
