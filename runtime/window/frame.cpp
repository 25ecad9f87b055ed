#include "runtime/window/frame.h"

#include "runtime/window/dpi.h"
#include "runtime/window/window_error.h"

namespace velmora::window {

void registerFrameClass(HINSTANCE instance, int icon, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // A shared icon belongs to the system; nothing to free. The small icon is left to the
  // system, which takes the group's own small drawing for it (WNDCLASSEX's page): loaded
  // shared a second time, Windows' cache of shared icons hands back the size loaded first.
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = frameClassName;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throwLastError("RegisterClassExW");
  }
}

SIZE frameSize(SIZE inside, int dpi) noexcept {
  const RECT frame = frameAround({0, 0, inside.cx, inside.cy}, frameStyle, frameExStyle, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void fitFrame(HWND window, SIZE inside, int dpi) noexcept {
  const SIZE size = frameSize(inside, dpi);
  SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  fitInside(window, inside);
}

// Wine draws its frame at the system's dpi whatever the window's, and Windows before 10 1703
// suggests a new dpi's frame scaled straight from the old one, which can be a pixel off: so the
// inside is measured.
void fitInside(HWND window, SIZE inside) noexcept {
  RECT drawn{}, frame{};
  GetClientRect(window, &drawn);
  GetWindowRect(window, &frame);
  const int wider = inside.cx - drawn.right;
  const int taller = inside.cy - drawn.bottom;
  if (wider || taller) {
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + wider,
                 frame.bottom - frame.top + taller, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void showCentred(HWND window) noexcept {
  const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT frame{};
  if (GetMonitorInfoW(monitor, &info) && GetWindowRect(window, &frame)) {
    const RECT& screen = info.rcMonitor;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A shortcut set to run maximized or minimized hands the program that show state twice: as
  // WinMain's argument, which is not used here, and in STARTUPINFO, whose state the first
  // ShowWindow of a process takes in place of the one asked for (Microsoft's pages for
  // ShowWindow and STARTUPINFO). Maximized, a fixed window would fill the screen with the form
  // in its corner and no way back; so a state the first call took from Windows is undone by a
  // second call, which Windows takes as given.
  ShowWindow(window, SW_SHOWNORMAL);
  if (IsZoomed(window) || IsIconic(window)) {
    ShowWindow(window, SW_RESTORE);
  }
}

} // namespace velmora::window
