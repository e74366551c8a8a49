// Where the loaded library lives, and so where its exchange log goes.
#pragma once

#include <filesystem>

namespace zorfp {

// Full path of the file this code was loaded from (the shared library, or the program that links
// it statically). Empty when the platform cannot tell.
std::filesystem::path ModuleFileName();

// The exchange log's folder: "Log" beside the library. On Linux a library installed in a system
// folder cannot write there, so where that folder cannot be written or made the user's state
// folder takes over (ChooseLogFolder).
std::filesystem::path DefaultLogFolder();

// Linux: `beside` when it can be written; else $XDG_STATE_HOME/zorfp/Log (an absolute one only, as the
// convention wants), else $HOME/.local/state/zorfp/Log; `beside` again without a home.
std::filesystem::path ChooseLogFolder(const std::filesystem::path& beside, bool beside_writable,
                                      const char* xdg_state_home, const char* home);

}  // namespace zorfp
