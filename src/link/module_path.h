// Where the loaded library lives: the exchange log is written beside it.
#pragma once

#include <filesystem>

namespace zorfp {

// Full path of the file this code was loaded from (the shared library, or the program that links
// it statically). Empty when the platform cannot tell.
std::filesystem::path ModuleFileName();

}  // namespace zorfp
