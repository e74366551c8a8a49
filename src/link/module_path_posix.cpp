#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "link/module_path.h"

namespace zorfp {

std::filesystem::path ModuleFileName() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&ModuleFileName), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
  return info.dli_fname;
}

}  // namespace zorfp
