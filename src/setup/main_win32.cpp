// ZORFPDriverSetup.exe: checks and installs the prerequisites, then opens the driver's
// installation database and returns the installer's exit code.
#include <windows.h>  // before the other system headers
#include <commctrl.h>
#include <objbase.h>

#include "setup/platform_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  using namespace zorfp::setup;
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  const HMODULE rich_text = ::LoadLibraryW(L"riched20.dll");  // the welcome page's control
  int exit_code;
  {
    win32::Win32Platform platform(instance);
    exit_code = RunSetup(platform, win32::Utf8(command_line ? command_line : L""));
  }
  if (rich_text) ::FreeLibrary(rich_text);
  ::CoUninitialize();
  return exit_code;
}
