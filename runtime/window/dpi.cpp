#include "runtime/window/dpi.h"

#include "runtime/window/handles.h"

namespace velmora::window {

namespace {

// Looked up as the program runs, not linked: the newer dpi functions are missing from the older
// Windows that Velmora runs on, and one missing import would stop the program loading there.
template <typename Function> Function user32Function(const char* name) noexcept {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
  // By way of a function type without parameters, which GCC accepts as a cast to any function.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace

int windowDpi(HWND window) noexcept {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) {
      return static_cast<int>(dpi);
    }
  }
  const ScreenDc screen(GetDC(nullptr));
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

void scaleFrameWithDpi(HWND window) noexcept {
  using EnableFn = BOOL(WINAPI*)(HWND);
  static const auto enable = user32Function<EnableFn>("EnableNonClientDpiScaling");
  if (enable) {
    enable(window);
  }
}

RECT frameAround(RECT client, DWORD style, DWORD exStyle, int dpi) noexcept {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = user32Function<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi) {
    adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
  }
  return client;
}

} // namespace velmora::window
