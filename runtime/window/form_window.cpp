#include "runtime/window/form_window.h"

#include "runtime/run_time_error.h"
#include "runtime/window/dpi.h"
#include "runtime/window/fonts.h"
#include "runtime/window/frame.h"
#include "runtime/window/result_box.h"
#include "runtime/window/units.h"
#include "runtime/window/wide_text.h"
#include "runtime/window/window_error.h"

#include <algorithm>
#include <exception>

namespace velmora::window {

namespace {

// Control ids start clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr int firstControlId = 100;

} // namespace

FormWindow::FormWindow(const FormDescription& description, HINSTANCE instance)
    : description_(description), title_(description.caption) {
  loadControlClasses();
  registerFrameClass(instance, description.icon, &FormWindow::procedure);
  const ScreenDc screen(GetDC(nullptr));
  for (const FontDescription& font : description.fonts) {
    faces_.push_back(firstInstalledFace(font, screen.get()));
  }

  if (!CreateWindowExW(frameExStyle, frameClassName, wide(title_), frameStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                       this)) {
    throwLastError("CreateWindowExW");
  }
  // Everything is made at the window's dpi from the start, so no control is placed, given a
  // font or redrawn twice before the window is first shown.
  dpi_ = windowDpi(handle());
  fonts_ = createFonts(dpi_);
  const auto& rows = description_.controls;
  controls_.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    controls_.push_back(createControl(rows[i], handle(), firstControlId + static_cast<int>(i),
                                      instance, fontOf(rows[i]), dpi_));
  }
  std::vector<HWND> figures;
  for (const Control& control : controls_) {
    if (showsFigure(control)) {
      figures.push_back(control.handle);
    }
  }
  tips_ = ResultTips(handle(), instance, figures);
  fitFrame(handle(), clientSize(dpi_), dpi_);
}

FormWindow::~FormWindow() {
  // The window goes first, while the fonts and brushes it uses still exist.
  window_ = WindowHandle();
}

std::vector<Font> FormWindow::createFonts(int dpi) const {
  std::vector<Font> fonts;
  for (std::size_t i = 0; i < description_.fonts.size(); ++i) {
    fonts.push_back(createFont(faces_[i], description_.fonts[i], dpi));
  }
  return fonts;
}

HFONT FormWindow::fontOf(const ControlDescription& row) const noexcept {
  return row.font == noFont ? nullptr : fonts_[static_cast<std::size_t>(row.font)].get();
}

void FormWindow::applyDpi(int dpi, const RECT& suggested) {
  // The new fonts first: where one cannot be made, the window stays whole at its old dpi.
  std::vector<Font> fonts = createFonts(dpi);
  dpi_ = dpi;
  fonts_.swap(fonts);
  // The suggested frame in one move, as Windows' own per-monitor sample does: resized first
  // and moved after, the window can land across the screens' boundary and bounce back.
  SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control& control : controls_) {
    placeControl(control, fontOf(*control.description), dpi);
  }
  // The controls use the new fonts now; the old ones can go.
  fonts.clear();
  fitInside(handle(), clientSize(dpi));
}

SIZE FormWindow::clientSize(int dpi) const noexcept {
  return {twipsToPixels(description_.clientWidth, dpi),
          twipsToPixels(description_.clientHeight, dpi)};
}

HWND FormWindow::control(std::u16string_view name, int index) const noexcept {
  for (const Control& control : controls_) {
    if (control.description->name == name && control.description->index == index) {
      return control.handle;
    }
  }
  return nullptr;
}

HWND FormWindow::requireControl(std::u16string_view name) const {
  if (const HWND found = control(name)) {
    return found;
  }
  throw WindowError("FormWindow::requireControl", "control", name);
}

void FormWindow::announce(HWND control) const noexcept {
  for (const Control& each : controls_) {
    if (each.handle == control && each.description->live) {
      announceChange(control);
    }
  }
}

void FormWindow::onClick(std::u16string_view name, std::function<void()> handler) {
  for (Control& control : controls_) {
    if (control.description->name == name && takesClicks(control)) {
      control.clicked = std::move(handler);
      return;
    }
  }
  throw WindowError("FormWindow::onClick", "button", name);
}

void FormWindow::show() {
  showCentred(handle());
  UpdateWindow(handle());
  if (const HWND first = GetNextDlgTabItem(handle(), nullptr, FALSE)) {
    SetFocus(first);
  }
}

void FormWindow::destroy() noexcept {
  DestroyWindow(handle());
}

Control* FormWindow::find(HWND handle) noexcept {
  for (Control& control : controls_) {
    if (control.handle == handle) {
      return &control;
    }
  }
  return nullptr;
}

void FormWindow::redrawAll() noexcept {
  RedrawWindow(handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FormWindow::click(Control& control) noexcept {
  if (!control.clicked) {
    return;
  }
  // Both boxes are shown without taking memory: the error's words and the title are already
  // terminated texts, so a click that failed for want of memory still says what to do.
  try {
    control.clicked();
  } catch (const RunTimeError& error) {
    MessageBoxW(handle(), wide(error.message()), wide(title_), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Whatever else went wrong, the steps the window offers are the same.
    MessageBoxW(handle(),
                L"Velmora 發生錯誤。請再按一次「開始換算」；如果一再發生，請按「離開」，"
                L"再重新開啟 Velmora。\n\n"
                L"Velmora ran into an error. Click 開始換算 again; if this keeps happening, "
                L"click 離開 and open Velmora again.",
                wide(title_), MB_OK | MB_ICONERROR);
  }
}

LRESULT FormWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CTLCOLORSTATIC:
    if (const Control* control = find(reinterpret_cast<HWND>(lParam))) {
      return reinterpret_cast<LRESULT>(colorStatic(*control, reinterpret_cast<HDC>(wParam)));
    }
    break;
  case WM_DRAWITEM: {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (Control* control = find(item.hwndItem); control && drawControl(item, *control, dpi_)) {
      return TRUE;
    }
    break;
  }
  case WM_NOTIFY: {
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.code != TTN_GETDISPINFOW) {
      break;
    }
    if (const Control* control = find(reinterpret_cast<HWND>(header.idFrom))) {
      tips_.answer(reinterpret_cast<NMTTDISPINFOW&>(header), *control);
    }
    return 0;
  }
  case WM_CONTEXTMENU:
    if (const Control* control = find(reinterpret_cast<HWND>(wParam));
        control && showsFigure(*control)) {
      offerCopy(handle(), *control,
                {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    }
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == BN_CLICKED && lParam) {
      Control* control = find(reinterpret_cast<HWND>(lParam));
      if (control && takesClicks(*control)) {
        click(*control);
      }
    }
    // Enter and Esc arrive here as IDOK and IDCANCEL, which no control has: nothing to do.
    return 0;
  case WM_ACTIVATE:
    // A plain window forgets its focused control when deactivated; give it back.
    if (LOWORD(wParam) == WA_INACTIVE) {
      const HWND focus = GetFocus();
      if (focus && IsChild(handle(), focus)) {
        lastFocus_ = focus;
      }
    } else if (lastFocus_ && IsWindow(lastFocus_)) {
      SetFocus(lastFocus_);
      return 0;
    }
    break;
  case WM_GETDPISCALEDSIZE:
    // Asked before WM_DPICHANGED (Windows 10 1703 and later), so that the frame it suggests is
    // exactly the one the window needs at the new dpi.
    *reinterpret_cast<SIZE*>(lParam) =
        frameSize(clientSize(static_cast<int>(wParam)), static_cast<int>(wParam));
    return TRUE;
  case WM_DPICHANGED:
    applyDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
  case WM_SYSCOLORCHANGE:
    // A theme switched while the window is open (high contrast on or off, say). The common
    // controls 6 hear of new system colours only from their parent (WM_SYSCOLORCHANGE's page).
    for (const Control& control : controls_) {
      SendMessageW(control.handle, WM_SYSCOLORCHANGE, wParam, lParam);
    }
    redrawAll();
    return 0;
  case WM_SETTINGCHANGE:
    // High contrast can change without a system colour changing; colorStatic asks afresh.
    if (wParam == SPI_SETHIGHCONTRAST) {
      redrawAll();
    }
    break;
  case WM_CLOSE:
    destroy();
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
    scaleFrameWithDpi(window);
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.forget();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->onMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    traceForDebugger(error.what());
  } catch (...) {
    traceForDebugger("an exception of no standard type");
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace velmora::window
