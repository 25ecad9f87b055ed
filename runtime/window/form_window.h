#pragma once

// A top-level window built from a FormDescription: one child per row, in the table's order. It
// owns its fonts and controls, keeps the controls placed by the window's dpi, and runs click
// handlers so that nothing they throw reaches Windows.

#include "runtime/window/control_kinds.h"
#include "runtime/window/form_description.h"
#include "runtime/window/handles.h"
#include "runtime/window/result_box.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::window {

// The window points back at this object, so it neither copies nor moves.
class FormWindow {
public:
  // Throws WindowError when Windows cannot make the window or one of its parts.
  FormWindow(const FormDescription& description, HINSTANCE instance);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  ~FormWindow();

  HWND handle() const noexcept { return window_.get(); }

  // The control of a row: control(u"Label14", 8). Null when there is no such row.
  HWND control(std::u16string_view name, int index = noIndex) const noexcept;

  // Runs handler when the named button is clicked. A RunTimeError it throws is shown in an
  // error box owned by the window; the program goes on.
  void onClick(std::u16string_view name, std::function<void()> handler);

  // Centres the window on its screen, shows it and gives the first tab stop the focus.
  void show(int showCommand);

  int dpi() const noexcept { return dpi_; }

private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<Font> createFonts(int dpi) const;
  HFONT fontOf(const ControlDescription& row) const noexcept;
  // Moves the window to another dpi: new fonts, every control placed anew, the frame fitted.
  void applyDpi(int dpi);
  // Sizes the frame so that the inside is the description's size at the window's dpi.
  void fitFrame();
  Control* find(HWND handle) noexcept;
  void click(Control& control) noexcept;
  void showError(std::u16string_view message) const noexcept;

  const FormDescription& description_;
  int dpi_ = 96;
  std::vector<std::u16string> faces_; // the installed face chosen for each font
  std::vector<Font> fonts_;
  std::vector<Control> controls_;
  ResultTips tips_;
  HWND lastFocus_ = nullptr;
  // Last, so it is destroyed first, while everything its messages touch still exists.
  WindowHandle window_;
};

} // namespace velmora::window
