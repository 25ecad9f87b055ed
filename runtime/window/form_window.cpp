#include "runtime/window/form_window.h"

#include "runtime/run_time_error.h"

#include <algorithm>
#include <string>

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

[[noreturn]] void throwLastError(const char* what) {
  throw WindowError(what, GetLastError());
}

// Windows 10's per-monitor functions, looked up at run time so the program still starts on
// Windows 7.
template <typename Function> Function user32Function(const char* name) noexcept {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

int windowDpi(HWND window) noexcept {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window))
      return static_cast<int>(dpi);
  }
  const ScreenDc screen(GetDC(nullptr));
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

RECT frameAround(RECT client, int dpi) noexcept {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = user32Function<AdjustFn>("AdjustWindowRectExForDpi");
  if (adjustForDpi)
    adjustForDpi(&client, frameStyle, FALSE, frameExStyle, static_cast<UINT>(dpi));
  else
    AdjustWindowRectEx(&client, frameStyle, FALSE, frameExStyle);
  return client;
}

COLORREF colorOf(Rgb rgb) noexcept {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

int CALLBACK countFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept {
  ++*reinterpret_cast<int*>(found);
  return 0; // one is enough
}

bool installed(std::u16string_view face, HDC screen) noexcept {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  if (face.size() >= LF_FACESIZE)
    return false;
  std::copy(face.begin(), face.end(), reinterpret_cast<char16_t*>(wanted.lfFaceName));
  int found = 0;
  EnumFontFamiliesExW(screen, &wanted, countFace, reinterpret_cast<LPARAM>(&found), 0);
  return found > 0;
}

// The first of the font's faces that GDI has; asking for each by name is much quicker at start
// than listing every installed family.
std::u16string chooseFace(const FontDescription& font, HDC screen) {
  const auto found =
      std::find_if(font.faces.begin(), font.faces.end(),
                   [screen](std::u16string_view face) { return installed(face, screen); });
  if (found != font.faces.end())
    return std::u16string(*found);
  // None installed: let GDI map the first name to what it has.
  return font.faces.empty() ? std::u16string() : std::u16string(font.faces.front());
}

Font createFont(const std::u16string& face, const FontDescription& font, int dpi) {
  LOGFONTW logFont{};
  logFont.lfHeight = fontHeight(font.centipoints, dpi);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = font.charset;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::copy_n(face.c_str(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1),
              reinterpret_cast<char16_t*>(logFont.lfFaceName));
  Font created(CreateFontIndirectW(&logFont));
  if (!created)
    throwLastError("CreateFontIndirectW");
  return created;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

// The one place each kind's window class and styles are decided.
ControlClass controlClass(Kind kind) noexcept {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (kind) {
  case Kind::label:
    return {L"STATIC", child | SS_LEFT, 0};
  case Kind::input:
    return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  case Kind::result:
    return {L"STATIC", child | SS_CENTER, WS_EX_STATICEDGE};
  case Kind::button:
    return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
  case Kind::picture:
    return {L"STATIC", child | SS_OWNERDRAW, 0};
  }
  return {L"STATIC", child, 0};
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

// A memory DC for drawing a bitmap, released on every path.
class MemoryDc {
public:
  explicit MemoryDc(HDC like) noexcept : dc_(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) {
      if (previous_)
        SelectObject(dc_, previous_);
      DeleteDC(dc_);
    }
  }
  HDC get() const noexcept { return dc_; }
  void select(HGDIOBJ object) noexcept {
    const HGDIOBJ old = SelectObject(dc_, object);
    if (!previous_)
      previous_ = old;
  }

private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

} // namespace

FormWindow::FormWindow(const FormDescription& description, HINSTANCE instance)
    : description_(description) {
  registerClass(instance, description.icon, &FormWindow::procedure);
  const ScreenDc screen(GetDC(nullptr));
  for (const FontDescription& font : description.fonts)
    faces_.push_back(chooseFace(font, screen.get()));

  const std::u16string caption(description.caption);
  if (!CreateWindowExW(frameExStyle, className, wide(caption), frameStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                       this))
    throwLastError("CreateWindowExW");
  // Everything is made at the window's dpi from the start, so no control is placed, given a
  // font or redrawn twice before the window is first shown.
  dpi_ = windowDpi(handle());
  fonts_ = createFonts(dpi_);
  createControls(instance);
  fitFrame();
}

FormWindow::~FormWindow() {
  // The window goes first, while the fonts and brushes it uses still exist.
  window_ = WindowHandle();
}

void FormWindow::createControls(HINSTANCE instance) {
  const auto& rows = description_.controls;
  controls_.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ControlDescription& row = rows[i];
    const ControlClass kind = controlClass(row.kind);
    const std::u16string text(row.text);
    const HWND child = CreateWindowExW(
        kind.exStyle, kind.name, wide(text), kind.style, twipsToPixels(row.left, dpi_),
        twipsToPixels(row.top, dpi_), twipsToPixels(row.width, dpi_),
        twipsToPixels(row.height, dpi_), handle(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + i)), instance, nullptr);
    if (!child)
      throwLastError("CreateWindowExW");
    if (row.font != noFont)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.at(row.font).get()), FALSE);
    Control control{&row, child, Brush(), {}};
    if (row.background) {
      control.background = Brush(CreateSolidBrush(colorOf(*row.background)));
      if (!control.background)
        throwLastError("CreateSolidBrush");
    }
    if (row.kind == Kind::input)
      SendMessageW(child, EM_SETLIMITTEXT, 0, 0); // no limit but the system's
    Bitmap bitmap;
    if (row.kind == Kind::picture && row.bitmap) {
      bitmap = Bitmap(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(row.bitmap),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (!bitmap)
        throwLastError("LoadImageW");
    }
    bitmaps_.push_back(std::move(bitmap));
    controls_.push_back(std::move(control));
  }
}

SIZE FormWindow::outerSize() const {
  const RECT client{0, 0, twipsToPixels(description_.clientWidth, dpi_),
                    twipsToPixels(description_.clientHeight, dpi_)};
  const RECT frame = frameAround(client, dpi_);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

std::vector<Font> FormWindow::createFonts(int dpi) const {
  std::vector<Font> fonts;
  for (std::size_t i = 0; i < description_.fonts.size(); ++i)
    fonts.push_back(createFont(faces_[i], description_.fonts[i], dpi));
  return fonts;
}

void FormWindow::applyDpi(int dpi) {
  dpi_ = dpi;
  std::vector<Font> fonts = createFonts(dpi);
  for (const Control& control : controls_) {
    const ControlDescription& row = *control.description;
    SetWindowPos(control.handle, nullptr, twipsToPixels(row.left, dpi), twipsToPixels(row.top, dpi),
                 twipsToPixels(row.width, dpi), twipsToPixels(row.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (row.font != noFont)
      SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.at(row.font).get()),
                   TRUE);
  }
  // The controls use the new fonts now; the old ones can go.
  fonts_ = std::move(fonts);
  fitFrame();
}

void FormWindow::fitFrame() {
  const SIZE size = outerSize();
  SetWindowPos(handle(), nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame drawn is not the frame predicted (Wine keeps its frame at the system's
  // dpi), correct by the difference so the inside is exactly the description's size.
  RECT client{};
  GetClientRect(handle(), &client);
  const int wider = twipsToPixels(description_.clientWidth, dpi_) - client.right;
  const int taller = twipsToPixels(description_.clientHeight, dpi_) - client.bottom;
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
  throw WindowError("FormWindow::onClick: no such button", ERROR_INVALID_PARAMETER);
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

const FormWindow::Control* FormWindow::find(HWND handle) const noexcept {
  for (const Control& control : controls_) {
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

void FormWindow::drawPicture(const DRAWITEMSTRUCT& item) const {
  const auto at = std::find_if(controls_.begin(), controls_.end(),
                               [&](const Control& c) { return c.handle == item.hwndItem; });
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (at == controls_.end())
    return;
  const Bitmap& bitmap = bitmaps_[static_cast<std::size_t>(at - controls_.begin())];
  BITMAP size{};
  if (!bitmap || !GetObjectW(bitmap.get(), sizeof size, &size))
    return;
  MemoryDc source(item.hDC);
  if (!source.get())
    return;
  source.select(bitmap.get());
  if (dpi_ == 96) {
    BitBlt(item.hDC, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
  } else {
    // Drawn at the size it has at 96 dpi, scaled as the rest of the window is.
    const int oldMode = SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, 0, 0, MulDiv(size.bmWidth, dpi_, 96), MulDiv(size.bmHeight, dpi_, 96),
               source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SetStretchBltMode(item.hDC, oldMode);
  }
}

LRESULT FormWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CTLCOLORSTATIC: {
    const Control* control = find(reinterpret_cast<HWND>(lParam));
    if (!control || (!control->description->background && !control->description->foreground))
      break;
    const HDC dc = reinterpret_cast<HDC>(wParam);
    const ControlDescription& row = *control->description;
    if (row.foreground)
      SetTextColor(dc, colorOf(*row.foreground));
    if (row.background) {
      SetBkColor(dc, colorOf(*row.background));
      return reinterpret_cast<LRESULT>(control->background.get());
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  case WM_DRAWITEM: {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const Control* control = find(item.hwndItem);
    if (!control || control->description->kind != Kind::picture)
      break;
    drawPicture(item);
    return TRUE;
  }
  case WM_COMMAND:
    if (HIWORD(wParam) == BN_CLICKED && lParam) {
      const Control* control = find(reinterpret_cast<HWND>(lParam));
      if (control && control->description->kind == Kind::button)
        click(const_cast<Control&>(*control));
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
    return self->handle(message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

void endProgram(HWND window) noexcept {
  DestroyWindow(window); // its WM_DESTROY posts the quit message
}

int runMessageLoop(HWND window) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0)
      return static_cast<int>(message.wParam);
    if (got == -1)
      return 1;
    if (IsWindow(window) && IsDialogMessageW(window, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

} // namespace velmora::window
