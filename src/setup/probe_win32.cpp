// Detection on Windows: the system family, folders, files with their version resources, and the
// registry.
#include <windows.h>  // before the other system headers
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "setup/win32.h"

namespace zorfp::setup::win32 {
namespace {

std::wstring WithBackslash(std::wstring s) {
  if (!s.empty() && s.back() != L'\\') s += L'\\';
  return s;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return WithBackslash(path);
}

std::optional<std::string> FileVersion(const std::wstring& file) {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) return std::nullopt;
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(HIWORD(info->dwFileVersionMS)),
                static_cast<int>(LOWORD(info->dwFileVersionMS)), static_cast<int>(HIWORD(info->dwFileVersionLS)),
                static_cast<int>(LOWORD(info->dwFileVersionLS)));
  return std::string(text);
}

bool IsFile(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void Search(const std::wstring& folder, const std::wstring& name, unsigned depth, Found& found) {
  if (IsFile(folder + name)) found.push_back(FileVersion(folder + name));
  if (depth == 0) return;
  WIN32_FIND_DATAW data;
  HANDLE h = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring sub = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && sub != L"." && sub != L".." &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      Search(folder + sub + L"\\", name, depth - 1, found);
    }
  } while (::FindNextFileW(h, &data));
  ::FindClose(h);
}

class Probe : public SystemProbe {
 public:
  bool IsNtFamily() const override {
    OSVERSIONINFOW v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&v)) return true;
#pragma GCC diagnostic pop
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }

  std::string Folder(std::string_view token) const override {
    wchar_t path[MAX_PATH];
    std::wstring folder;
    if (token == "SystemFolder") {
      if (::GetSystemDirectoryW(path, MAX_PATH)) folder = WithBackslash(path);
    } else if (token == "WindowsFolder") {
      if (::GetWindowsDirectoryW(path, MAX_PATH)) folder = WithBackslash(path);
    } else if (token == "WindowsVolume") {
      if (::GetWindowsDirectoryW(path, MAX_PATH)) folder = std::wstring(path).substr(0, 3);
    } else if (token == "TempFolder") {
      if (::GetTempPathW(MAX_PATH, path)) folder = WithBackslash(path);
    } else {
      static const struct {
        const char* token;
        int csidl;
      } kShell[] = {
          {"ProgramFilesFolder", CSIDL_PROGRAM_FILES}, {"ProgramFiles", CSIDL_PROGRAM_FILES},
          {"CommonFilesFolder", CSIDL_PROGRAM_FILES_COMMON}, {"DesktopFolder", CSIDL_DESKTOPDIRECTORY},
          {"AppDataFolder", CSIDL_APPDATA}, {"FavoritesFolder", CSIDL_FAVORITES},
          {"StartMenuFolder", CSIDL_STARTMENU}, {"ProgramMenuFolder", CSIDL_PROGRAMS},
          {"StartupFolder", CSIDL_STARTUP}, {"FontsFolder", CSIDL_FONTS},
      };
      for (const auto& s : kShell) {
        if (token == s.token) folder = ShellFolder(s.csidl);
      }
    }
    return Utf8(folder);
  }

  Found FindFiles(const std::string& path, unsigned depth) override {
    const std::wstring w = Wide(path);
    const std::size_t slash = w.rfind(L'\\');
    Found found;
    if (slash == std::wstring::npos) return found;
    Search(w.substr(0, slash + 1), w.substr(slash + 1), depth, found);
    return found;
  }

  Found ReadRegistry(const RegistryPath& p) override {
    HKEY root = p.root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, Wide(p.key).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    const std::wstring name = Wide(p.value_name);
    DWORD type = 0, size = 0;
    std::optional<std::string> version;
    const bool has_value = ::RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr, &type, nullptr,
                                              &size) == ERROR_SUCCESS;
    if (has_value) {
      std::vector<BYTE> data(size + sizeof(wchar_t));
      if (::RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr, &type, data.data(), &size) ==
          ERROR_SUCCESS) {
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
          version = Utf8(reinterpret_cast<const wchar_t*>(data.data()));
        } else if (type == REG_DWORD && size >= 4) {
          DWORD v;
          std::memcpy(&v, data.data(), 4);
          version = std::to_string(v);
        }
      }
    }
    ::RegCloseKey(key);
    if (!has_value && !p.key_only) return {};
    return {version};
  }
};

}  // namespace

std::unique_ptr<SystemProbe> MakeProbe() { return std::make_unique<Probe>(); }

}  // namespace zorfp::setup::win32
