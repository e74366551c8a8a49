// The classes root of the system registry. regsvr32 registers an in-process server elevated, into
// HKEY_CLASSES_ROOT. The type library is registered by the system from the library file's own
// resource (TYPELIB 1), which writes its TypeLib and Interface keys.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // RegDeleteTreeW
#endif
#include <windows.h>  // with ole2.h: the automation API

#include <string>

#include "server/catalogue.h"
#include "server/registration.h"

namespace zorfp::server {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

class SystemClassesRoot : public ClassesRoot {
 public:
  void Set(const RegistryValue& v) override {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, Wide(v.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      ok_ = false;
      return;
    }
    const std::wstring data = Wide(v.data);
    const std::wstring name = Wide(v.name);
    if (::RegSetValueExW(key, v.name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
      ok_ = false;
    }
    ::RegCloseKey(key);
  }

  void DeleteTree(const std::string& key) override {
    const LSTATUS s = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, Wide(key).c_str());
    if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) ok_ = false;
    if (s == ERROR_SUCCESS) ::RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(key).c_str());
  }

  bool RegisterTypeLibrary(const std::filesystem::path& library) override {
    ITypeLib* type_library = nullptr;
    if (FAILED(::LoadTypeLibEx(library.c_str(), REGKIND_NONE, &type_library))) return false;
    std::wstring path = library.wstring();
    std::wstring folder = library.parent_path().wstring();
    const HRESULT hr = ::RegisterTypeLib(type_library, path.data(), folder.data());
    type_library->lpVtbl->Release(type_library);
    return SUCCEEDED(hr);
  }

  // Removes this bitness's registration of the type library; one that is not there is no failure.
  bool UnregisterTypeLibrary() override {
    const LibraryInfo& lib = Catalogue();
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    const std::wstring key =
        Wide("TypeLib\\" + GuidText(lib.libid) + "\\" + std::to_string(lib.major) + "." +
             std::to_string(lib.minor) + "\\0\\" + (kind == SYS_WIN64 ? "win64" : "win32"));
    HKEY probe = nullptr;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &probe) != ERROR_SUCCESS) return true;
    ::RegCloseKey(probe);
    return SUCCEEDED(::UnRegisterTypeLib(lib.libid, lib.major, lib.minor, 0, kind));
  }

  bool Commit() override { return ok_; }  // the registry writes as it goes

 private:
  bool ok_ = true;
};

}  // namespace

std::filesystem::path ServerPath(const std::filesystem::path& library) {
  if (library.native().find(L' ') == std::wstring::npos) return library;
  wchar_t short_path[MAX_PATH];
  const DWORD n = ::GetShortPathNameW(library.c_str(), short_path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::filesystem::path(short_path) : library;
}

std::unique_ptr<ClassesRoot> OpenClassesRoot() {
  return std::make_unique<SystemClassesRoot>();
}

}  // namespace zorfp::server
