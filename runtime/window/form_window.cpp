#include "runtime/window/form_window.h"

#include "runtime/run_time_error.h"
#include "runtime/window/banner.h"
#include "runtime/window/dpi.h"
#include "runtime/window/fonts.h"
#include "runtime/window/result_box.h"
#include "runtime/window/units.h"
#include "runtime/window/window_error.h"

#include <algorithm>

namespace velmora::window {

namespace {

constexpr wchar_t className[] = L"Velmora.Form";
constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD frameExStyle = 0;
// Control ids start clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int firstControlId = 100;

const wchar_t* wide(const std::u16string& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

void registerClass(HINSTANCE instance, int icon, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // Shared icons belong to the system; nothing to free.
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON),
                                                    GetSystemMetrics(SM_CYICON), LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throwLastError("RegisterClassExW");
}

} // namespace

FormWindow::FormWindow(const FormDescription& description, HINSTANCE instance)
    : description_(description) {
  // The result boxes' tooltip is comctl32's, which registers its class here.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  registerClass(instance, description.icon, &FormWindow::procedure);
  const ScreenDc screen(GetDC(nullptr));
  for (const FontDescription& font : description.fonts)
    faces_.push_back(firstInstalledFace(font, screen.get()));

  const std::u16string caption(description.caption);
  if (!CreateWindowExW(frameExStyle, className, wide(caption), frameStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                       this))
    throwLastError("CreateWindowExW");
  // Everything is made at the window's dpi from the start, so no control is placed, given a
  // font or redrawn twice before the window is first shown.
  dpi_ = windowDpi(handle());
  fonts_ = createFonts(dpi_);
  const auto& rows = description_.controls;
  controls_.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    controls_.push_back(createControl(rows[i], handle(), firstControlId + static_cast<int>(i),
                                      instance, fontOf(rows[i]), dpi_));
  tips_ = ResultTips(handle(), instance, controls_);
  fitFrame();
}

FormWindow::~FormWindow() {
  // The window goes first, while the fonts and brushes it uses still exist.
  window_ = WindowHandle();
}

std::vector<Font> FormWindow::createFonts(int dpi) const {
  std::vector<Font> fonts;
  for (std::size_t i = 0; i < description_.fonts.size(); ++i)
    fonts.push_back(createFont(faces_[i], description_.fonts[i], dpi));
  return fonts;
}

HFONT FormWindow::fontOf(const ControlDescription& row) const noexcept {
  return row.font == noFont ? nullptr : fonts_[static_cast<std::size_t>(row.font)].get();
}

void FormWindow::applyDpi(int dpi) {
  std::vector<Font> fonts = createFonts(dpi);
  dpi_ = dpi;
  fonts_.swap(fonts);
  for (const Control& control : controls_)
    placeControl(control, fontOf(*control.description), dpi);
  // The controls use the new fonts now; the old ones can go.
  fonts.clear();
  fitFrame();
}

void FormWindow::fitFrame() {
  const RECT client{0, 0, twipsToPixels(description_.clientWidth, dpi_),
                    twipsToPixels(description_.clientHeight, dpi_)};
  const RECT frame = frameAround(client, frameStyle, frameExStyle, dpi_);
  const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
  SetWindowPos(handle(), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame drawn is not the frame predicted (Wine keeps its frame at the system's
  // dpi), correct by the difference so the inside is exactly the description's size.
  RECT drawn{};
  GetClientRect(handle(), &drawn);
  const int wider = client.right - drawn.right;
  const int taller = client.bottom - drawn.bottom;
  if (wider || taller)
    SetWindowPos(handle(), nullptr, 0, 0, size.cx + wider, size.cy + taller,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FormWindow::control(std::u16string_view name, int index) const noexcept {
  for (const Control& control : controls_) {
    if (control.description->name == name && control.description->index == index)
      return control.handle;
  }
  return nullptr;
}

void FormWindow::onClick(std::u16string_view name, std::function<void()> handler) {
  for (Control& control : controls_) {
    if (control.description->name == name && control.description->kind == Kind::button) {
      control.clicked = std::move(handler);
      return;
    }
  }
  throw WindowError("FormWindow::onClick, for a button the window lacks,", ERROR_INVALID_PARAMETER);
}

void FormWindow::show(int showCommand) {
  HMONITOR monitor = MonitorFromWindow(handle(), MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT frame{};
  if (GetMonitorInfoW(monitor, &info) && GetWindowRect(handle(), &frame)) {
    const RECT& screen = info.rcMonitor;
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(handle(), nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(handle(), showCommand);
  UpdateWindow(handle());
  if (const HWND first = GetNextDlgTabItem(handle(), nullptr, FALSE))
    SetFocus(first);
}

Control* FormWindow::find(HWND handle) noexcept {
  for (Control& control : controls_) {
    if (control.handle == handle)
      return &control;
  }
  return nullptr;
}

void FormWindow::showError(std::u16string_view message) const noexcept {
  try {
    const std::u16string text(message);
    const std::u16string title(description_.caption);
    MessageBoxW(handle(), wide(text), wide(title), MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(handle(), L"Error", L"Velmora", MB_OK | MB_ICONERROR);
  }
}

void FormWindow::click(Control& control) noexcept {
  if (!control.clicked)
    return;
  try {
    control.clicked();
  } catch (const RunTimeError& error) {
    showError(error.message());
  } catch (...) {
    showError(u"發生未預期的錯誤。");
  }
}

LRESULT FormWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CTLCOLORSTATIC:
    if (const Control* control = find(reinterpret_cast<HWND>(lParam))) {
      if (const HBRUSH brush = colorStatic(*control, reinterpret_cast<HDC>(wParam)))
        return reinterpret_cast<LRESULT>(brush);
    }
    break;
  case WM_DRAWITEM: {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Control* control = find(item.hwndItem);
    if (control && control->description->kind == Kind::picture) {
      drawPicture(item, control->bitmap.get(), dpi_);
      return TRUE;
    }
    if (control && control->description->kind == Kind::result) {
      drawResult(item, *control, dpi_);
      return TRUE;
    }
    break;
  }
  case WM_NOTIFY: {
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.code != TTN_GETDISPINFOW)
      break;
    if (const Control* control = find(reinterpret_cast<HWND>(header.idFrom)))
      tips_.answer(reinterpret_cast<NMTTDISPINFOW&>(header), *control);
    return 0;
  }
  case WM_CONTEXTMENU:
    if (const Control* control = find(reinterpret_cast<HWND>(wParam));
        control && control->description->kind == Kind::result) {
      offerCopy(handle(), *control,
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    }
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == BN_CLICKED && lParam) {
      Control* control = find(reinterpret_cast<HWND>(lParam));
      if (control && control->description->kind == Kind::button)
        click(*control);
    }
    // Enter and Esc arrive here as IDOK and IDCANCEL, which no control has: nothing to do.
    return 0;
  case WM_ACTIVATE:
    // A plain window forgets its focused control when deactivated; give it back.
    if (LOWORD(wParam) == WA_INACTIVE) {
      const HWND focus = GetFocus();
      if (focus && IsChild(handle(), focus))
        lastFocus_ = focus;
    } else if (lastFocus_ && IsWindow(lastFocus_)) {
      SetFocus(lastFocus_);
      return 0;
    }
    break;
  case WM_DPICHANGED: {
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    applyDpi(HIWORD(wParam));
    SetWindowPos(handle(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
  }
  case WM_CLOSE:
    DestroyWindow(handle());
    return 0;
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  default:
    break;
  }
  return DefWindowProcW(handle(), message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::procedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = WindowHandle(window);
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self)
    return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.forget();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->onMessage(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

} // namespace velmora::window
