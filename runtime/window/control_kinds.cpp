#include "runtime/window/control_kinds.h"

#include "runtime/window/picture.h"
#include "runtime/window/result_box.h"
#include "runtime/window/screen_reader.h"
#include "runtime/window/units.h"
#include "runtime/window/wide_text.h"
#include "runtime/window/window_error.h"

#include <commctrl.h>

#include <string>

namespace velmora::window {

namespace {

using Drawing = void (*)(const DRAWITEMSTRUCT& item, Control& control, int dpi) noexcept;

// What a kind is: its window class and styles (WS_TABSTOP for those the focus goes to), how the
// window draws it where Windows does not, and what it answers besides.
struct KindRow {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  Drawing draw = nullptr;
  bool clicks = false; // runs a handler when clicked
  bool figure = false; // a figure whose whole text a tooltip and a menu give
};

void drawPictureControl(const DRAWITEMSTRUCT& item, Control& control, int dpi) noexcept {
  drawPicture(item, control.bitmap.get(), dpi);
}

void drawResultControl(const DRAWITEMSTRUCT& item, Control& control, int dpi) noexcept {
  drawResult(item, colorStatic(control, item.hDC), control, dpi);
}

KindRow kindRow(Kind kind) noexcept {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (kind) {
  case Kind::label:
    return {L"STATIC", child | SS_LEFT, 0};
  case Kind::input:
    return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  case Kind::result:
    // Drawn by the window, so that a figure too wide is shortened, not cut; SS_NOTIFY lets the
    // pointer reach it for the tooltip and the menu.
    return {L"STATIC", child | SS_OWNERDRAW | SS_NOTIFY, WS_EX_STATICEDGE, drawResultControl, false,
            true};
  case Kind::button:
    return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0, nullptr, true};
  case Kind::picture:
    return {L"STATIC", child | SS_OWNERDRAW, 0, drawPictureControl};
  }
  return {L"STATIC", child, 0};
}

COLORREF colorOf(Rgb rgb) noexcept {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

// Asked at each drawing, so a theme switched while the window is open takes effect at the next.
bool highContrast() noexcept {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace

void loadControlClasses() {
  // Button, edit and static for the kinds here; the tooltip class (Microsoft documents
  // ICC_BAR_CLASSES for it) for the result boxes' tooltips.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  if (InitCommonControlsEx(&classes)) {
    return;
  }
  // Only comctl32 6.0 knows ICC_STANDARD_CLASSES; 5.8x (XP without our manifest in force)
  // refuses the whole call, and there button, edit and static are user32's own anyway.
  classes.dwICC = ICC_BAR_CLASSES;
  if (!InitCommonControlsEx(&classes)) {
    throwLastError("InitCommonControlsEx");
  }
}

Control createControl(const ControlDescription& row, HWND parent, int id, HINSTANCE instance,
                      HFONT font, int dpi) {
  const KindRow kind = kindRow(row.kind);
  Control control;
  control.description = &row;
  control.handle =
      CreateWindowExW(kind.exStyle, kind.className, TerminatedText(row.text).get(), kind.style,
                      twipsToPixels(row.left, dpi), twipsToPixels(row.top, dpi),
                      twipsToPixels(row.width, dpi), twipsToPixels(row.height, dpi), parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!control.handle) {
    throwLastError("CreateWindowExW");
  }
  if (font) {
    SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  if (row.live) {
    markLiveRegion(control.handle);
  }
  if (row.background) {
    control.background = Brush(CreateSolidBrush(colorOf(*row.background)));
    if (!control.background) {
      throwLastError("CreateSolidBrush");
    }
  }
  switch (row.kind) {
  case Kind::input:
    // No limit but the system's: the default would cut a long paste at 32,767 characters
    // without a word, and the box would read as something the keeper did not paste.
    SendMessageW(control.handle, EM_SETLIMITTEXT, 0, 0);
    break;
  case Kind::picture:
    if (row.bitmap) {
      control.bitmap = Bitmap(static_cast<HBITMAP>(LoadImageW(
          instance, MAKEINTRESOURCEW(row.bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (!control.bitmap) {
        throwLastError("LoadImageW");
      }
    }
    break;
  case Kind::label:
  case Kind::result:
  case Kind::button:
    break;
  }
  return control;
}

bool drawControl(const DRAWITEMSTRUCT& item, Control& control, int dpi) noexcept {
  const Drawing draw = kindRow(control.description->kind).draw;
  if (draw) {
    draw(item, control, dpi);
  }
  return draw != nullptr;
}

bool takesClicks(const Control& control) noexcept {
  return kindRow(control.description->kind).clicks;
}

bool showsFigure(const Control& control) noexcept {
  return kindRow(control.description->kind).figure;
}

void placeControl(const Control& control, HFONT font, int dpi) noexcept {
  const ControlDescription& row = *control.description;
  SetWindowPos(control.handle, nullptr, twipsToPixels(row.left, dpi), twipsToPixels(row.top, dpi),
               twipsToPixels(row.width, dpi), twipsToPixels(row.height, dpi),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (font) {
    SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

HBRUSH colorStatic(const Control& control, HDC dc) noexcept {
  // What Windows gives any static: the system's text on the window's face, a high-contrast
  // theme's when one is on.
  const auto system = reinterpret_cast<HBRUSH>(
      DefWindowProcW(GetParent(control.handle), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(control.handle)));
  const ControlDescription& row = *control.description;
  if (highContrast()) {
    return system;
  }
  if (row.foreground) {
    SetTextColor(dc, colorOf(*row.foreground));
  }
  if (!row.background) {
    return system;
  }
  SetBkColor(dc, colorOf(*row.background));
  return control.background.get();
}

} // namespace velmora::window
