#pragma once

// A top-level window built from a FormDescription: one child per row, in the table's order. It
// owns its fonts and controls, keeps the controls placed by the window's dpi, and runs click
// handlers so that nothing they throw reaches Windows.

#include "runtime/window/control_kinds.h"
#include "runtime/window/form_description.h"
#include "runtime/window/handles.h"
#include "runtime/window/result_box.h"
#include "runtime/window/screen_reader.h"

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
  // The same for a caller that cannot do without it: throws WindowError naming the row where
  // the window has none.
  HWND requireControl(std::u16string_view name) const;

  // Tells a screen reader that control's text has just been written, where its row is a live
  // region, so that it reads the new text out; nothing for any other control.
  void announce(HWND control) const noexcept;

  // Runs handler when the named button is clicked. A RunTimeError it throws is shown in an
  // error box owned by the window and titled with its caption, in the error's own words (the
  // window's language); anything else it throws, in a box that says what to do in Traditional
  // Chinese with English beneath, as every box of the engine's own words does. The program goes
  // on. Throws WindowError where the window has no such button.
  void onClick(std::u16string_view name, std::function<void()> handler);

  // Centres the window on its screen, shows it at its own size, neither maximized nor
  // minimized whatever show state Windows handed the program, and gives the first tab stop the
  // focus.
  void show();

  int dpi() const noexcept { return dpi_; }

  // Destroys the window at once, so that no handler of it runs again; its end posts the quit
  // message that ends runMessageLoop with 0.
  void destroy() noexcept;

private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<Font> createFonts(int dpi) const;
  HFONT fontOf(const ControlDescription& row) const noexcept;
  // Moves the window to another dpi, into the frame Windows suggests for it: new fonts, the
  // frame in one move, every control placed anew.
  void applyDpi(int dpi, const RECT& suggested);
  // The window's inside at a dpi: the description's size.
  SIZE clientSize(int dpi) const noexcept;
  Control* find(HWND handle) noexcept;
  // Draws the whole window again, frame and controls, in the system's colours of the moment.
  void redrawAll() noexcept;
  void click(Control& control) noexcept;

  const FormDescription& description_;
  const std::u16string title_; // the description's caption, terminated for the frame and boxes
  ComApartment com_;           // for the live regions, while the controls live
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
