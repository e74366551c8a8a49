// The setup program's platform on Windows: its own file, the temporary folder, messages and the
// progress window, the Run key, the shell's "open", web sites through shortcut files.
#include <windows.h>  // before the other system headers
#include <shellapi.h>

#include <fstream>
#include <vector>

#include "setup/platform_win32.h"
#include "setup/resource.h"
#include "setup/text.h"

namespace zorfp::setup::win32 {
namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Waits for a process while the thread's windows stay painted.
DWORD WaitFor(HANDLE process) {
  for (;;) {
    const DWORD r = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return r;
    PumpMessages();
  }
}

}  // namespace

Win32Platform::Win32Platform(HINSTANCE instance) : instance_(instance), probe_(MakeProbe()) {}

Win32Platform::~Win32Platform() { HideProgress(); }

std::filesystem::path Win32Platform::ProgramFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::optional<std::filesystem::path> Win32Platform::TempFolder() {
  wchar_t path[MAX_PATH + 1];
  const DWORD n = ::GetTempPathW(MAX_PATH + 1, path);
  if (n == 0 || n > MAX_PATH) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::is_directory(path, ec)) return std::nullopt;
  return std::filesystem::path(path);
}

void Win32Platform::ShowError(const std::string& text) {
  ::MessageBoxW(progress_, Wide(text).c_str(), Wide(Title()).c_str(), MB_OK | MB_ICONERROR);
}

std::string Win32Platform::Title() { return Format("%s Setup", ProductName().c_str()); }

void Win32Platform::ShowProgress(const std::string& title, const std::string& text) {
  if (!progress_) progress_ = ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, nullptr, 0);
  if (!progress_) return;  // no display: the run goes on without the window
  ::SetWindowTextW(progress_, Wide(title).c_str());
  ::SetDlgItemTextW(progress_, IDC_TEXT, Wide(text).c_str());
  ::ShowWindow(progress_, SW_SHOW);
  ::UpdateWindow(progress_);
  PumpMessages();
}

void Win32Platform::HideProgress() {
  if (progress_) ::DestroyWindow(progress_);
  progress_ = nullptr;
  PumpMessages();
}

std::string Win32Platform::ProductName() {
  const std::wstring file = ProgramFile().wstring();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &handle);
  std::vector<BYTE> data(size);
  if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return "ZORFP";
  struct Translation {
    WORD language, code_page;
  }* t = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&t), &length) ||
      length < sizeof *t) {
    return "ZORFP";
  }
  wchar_t query[64];
  ::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", t->language, t->code_page);
  wchar_t* name = nullptr;
  if (!::VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&name), &length) || !name) return "ZORFP";
  return Utf8(name);
}

SystemProbe& Win32Platform::Probe() { return *probe_; }

void Win32Platform::SetRunValue(const std::string& name, const std::string& command) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  const std::wstring data = Wide(command);
  ::RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

void Win32Platform::RemoveRunValue(const std::string& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueW(key, Wide(name).c_str());
  ::RegCloseKey(key);
}

std::optional<int> Win32Platform::OpenAndWait(const std::filesystem::path& file, const std::string& parameters) {
  const std::wstring path = file.wstring();
  const std::wstring params = Wide(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = path.c_str();
  info.lpParameters = params.empty() ? nullptr : params.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&info)) return std::nullopt;
  if (!info.hProcess) return 0;  // handed to a running program: nothing to wait for
  WaitFor(info.hProcess);
  DWORD code = 0;
  ::GetExitCodeProcess(info.hProcess, &code);
  ::CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

void Win32Platform::OpenSite(const std::string& url) {
  const std::optional<std::filesystem::path> temp = TempFolder();
  if (!temp) return;
  const std::filesystem::path shortcut = *temp / L"ZORFPDriverSetup.url";
  {
    std::ofstream out(shortcut, std::ios::binary | std::ios::trunc);
    out << "[InternetShortcut]\n\rURL=" << url << "\n\r";
  }
  ::ShellExecuteW(nullptr, L"open", shortcut.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::unique_ptr<Transport> Win32Platform::MakeTransport() { return MakeInternetTransport(); }

Download::Clock Win32Platform::Clock() {
  return [] { return static_cast<double>(::GetTickCount64()) / 1000.0; };
}

StepOutcome Win32Platform::RunWizard(Session& session) { return win32::RunWizard(instance_, *this, session); }

}  // namespace zorfp::setup::win32
