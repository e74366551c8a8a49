#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <system_error>

#include "link/module_path.h"

namespace zorfp {
namespace {

// Writable, or creatable: the nearest folder that exists on the way up decides.
bool CanWriteOrMake(std::filesystem::path folder) {
  std::error_code ec;
  while (!folder.empty() && !std::filesystem::exists(folder, ec)) {
    if (folder == folder.parent_path()) return false;
    folder = folder.parent_path();
  }
  return !folder.empty() && std::filesystem::is_directory(folder, ec) &&
         ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::filesystem::path ModuleFileName() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&ModuleFileName), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
  return info.dli_fname;
}

std::filesystem::path ChooseLogFolder(const std::filesystem::path& beside, bool beside_writable,
                                      const char* xdg_state_home, const char* home) {
  if (beside_writable) return beside;
  if (xdg_state_home && xdg_state_home[0] == '/') return std::filesystem::path(xdg_state_home) / "zorfp" / "Log";
  if (home && home[0] != '\0') return std::filesystem::path(home) / ".local" / "state" / "zorfp" / "Log";
  return beside;
}

std::filesystem::path DefaultLogFolder() {
  const std::filesystem::path beside = ModuleFileName().parent_path() / "Log";
  return ChooseLogFolder(beside, CanWriteOrMake(beside), ::getenv("XDG_STATE_HOME"), ::getenv("HOME"));
}

}  // namespace zorfp
