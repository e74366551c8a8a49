// setup_helper install FOLDER EXIT   copies itself into FOLDER as zorfp-prereq.exe, notes in
//                                    FOLDER\log.txt what the current user's Run key holds, and
//                                    exits with EXIT (a prerequisite's setup program)
// setup_helper exit N                exits with N (a stand-in installation database)
// setup_helper run COMMAND_LINE      starts COMMAND_LINE exactly as given, waits, prints "exit N"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring RunValues() {
  HKEY key = nullptr;
  std::wstring out;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return L"(no Run key)";
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[1024], data[2048];
    DWORD name_size = 1024, data_size = sizeof data, type = 0;
    if (::RegEnumValueW(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data), &data_size) !=
        ERROR_SUCCESS) {
      break;
    }
    out += std::wstring(L"[") + name + L"]=[" + (type == REG_SZ ? data : L"?") + L"] ";
  }
  ::RegCloseKey(key);
  return out;
}

int Install(const std::wstring& folder, int exit_code) {
  ::CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (!::CopyFileW(self, (folder + L"\\zorfp-prereq.exe").c_str(), FALSE)) return 90;
  FILE* log = _wfopen((folder + L"\\log.txt").c_str(), L"a, ccs=UTF-8");
  if (!log) return 91;
  std::fwprintf(log, L"installed from %ls; Run: %ls\n", self, RunValues().c_str());
  std::fclose(log);
  return exit_code;
}

int Run(const std::wstring& command_line) {
  std::wstring line = command_line;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start: %lu\n", ::GetLastError());
    return 1;
  }
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  std::printf("exit %ld\n", static_cast<long>(code));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring verb = argc > 1 ? argv[1] : L"";
  if (verb == L"install" && argc == 4) return Install(argv[2], _wtoi(argv[3]));
  if (verb == L"exit" && argc == 3) return _wtoi(argv[2]);
  if (verb == L"run" && argc == 3) return Run(argv[2]);
  std::fprintf(stderr, "usage: setup_helper install FOLDER EXIT | exit N | run COMMAND_LINE\n");
  return 64;
}
