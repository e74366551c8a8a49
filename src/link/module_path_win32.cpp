#include <windows.h>

#include "link/module_path.h"

namespace zorfp {

std::filesystem::path ModuleFileName() {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ModuleFileName), &module)) {
    return {};
  }
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameW(module, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(std::wstring(buffer, n));
}

// Beside the DLL, where clients of the Windows driver look for it.
std::filesystem::path DefaultLogFolder() {
  return ModuleFileName().parent_path() / "Log";
}

}  // namespace zorfp
