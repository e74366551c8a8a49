// The waiting window: borderless, always on top, 312 x 56, centred; one lowered panel in the info
// background colour with bold 13-pixel "MS Sans Serif" text. Its one-second timer runs the job on
// the caller's thread inside the window's modal loop, then the window closes.
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "driver/waiting_window.h"
#include "errors/codepage.h"

namespace zorfp {
namespace {

constexpr wchar_t kClassName[] = L"ZORFPWaitingWindow";
constexpr UINT_PTR kTimerId = 1;
constexpr int kWidth = 312;
constexpr int kHeight = 56;

struct WindowState {
  const std::function<void()>* job;
  std::exception_ptr failure;
  bool done = false;
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<WindowState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_TIMER:
      if (wparam == kTimerId && state != nullptr) {
        ::KillTimer(hwnd, kTimerId);
        try {
          (*state->job)();
        } catch (...) {
          state->failure = std::current_exception();
        }
        state->done = true;
        ::DestroyWindow(hwnd);
      }
      return 0;
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wparam), ::GetSysColor(COLOR_INFOBK));
      ::SetTextColor(reinterpret_cast<HDC>(wparam), ::GetSysColor(COLOR_INFOTEXT));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_INFOBK));
    case WM_CLOSE:
      return 0;  // the job decides when the window goes
    default:
      return ::DefWindowProcW(hwnd, msg, wparam, lparam);
  }
}

void RegisterOnce(HINSTANCE instance) {
  static const bool registered = [instance] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    wc.hbrBackground = ::GetSysColorBrush(COLOR_INFOBK);
    wc.lpszClassName = kClassName;
    return ::RegisterClassW(&wc) != 0;
  }();
  (void)registered;
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&WindowProc), &module);
  return module;
}

std::wstring Wide(std::string_view ansi) {
  const std::u16string text = AnsiToUtf16(ansi);
  return std::wstring(text.begin(), text.end());
}

}  // namespace

void ShowWaitingWindow(Module& module, const std::function<void()>& job) {
  const HINSTANCE instance = ThisModule();
  RegisterOnce(instance);
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  const HWND owner = ::GetActiveWindow();
  const HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"Waiting", WS_POPUP, x,
                                      y, kWidth, kHeight, owner, nullptr, instance, nullptr);
  if (hwnd == nullptr) {  // no window station: still run the job, after the same pause
    module.clock->Pause(module.waiting_window_delay);
    job();
    return;
  }
  WindowState state{&job, nullptr, false};
  ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  const HWND panel =
      ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", Wide("\xCE\xE6\xE8\xE4\xE0\xE9\xF2\xE5...").c_str(),
                        WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0, kWidth, kHeight, hwnd,
                        nullptr, instance, nullptr);
  const HFONT font =
      ::CreateFontW(-13, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
  ::SendMessageW(panel, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

  // Shown: the panel takes the caller's text and the timer starts.
  ::SetWindowTextW(panel, Wide(module.WaitingWindowText).c_str());
  if (owner != nullptr) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd);
  ::SetTimer(hwnd, kTimerId, static_cast<UINT>(module.waiting_window_delay.count()), nullptr);

  MSG msg;
  bool quit = false;
  while (!state.done) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // The client's loop is ending (WM_QUIT): the job still runs, and the quit is passed on after it.
  if (!state.done) {
    ::KillTimer(hwnd, kTimerId);
    try {
      job();
    } catch (...) {
      state.failure = std::current_exception();
    }
  }
  if (owner != nullptr) {
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
  }
  if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  ::DeleteObject(font);
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  if (state.failure) std::rethrow_exception(state.failure);
}

}  // namespace zorfp
