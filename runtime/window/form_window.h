#pragma once

#include "runtime/window/form_description.h"
#include "runtime/window/handles.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string_view>
#include <vector>

namespace velmora::window {

// A Windows call that building a window needed failed: the call's name and its error code.
// Deliberately slight (no std::string inside), so the program carries no string machinery for
// an error it meets only when Windows itself is failing.
class WindowError : public std::exception {
public:
  WindowError(const char* call, unsigned long code) noexcept : call_(call), code_(code) {}
  const char* what() const noexcept override { return call_; }
  unsigned long code() const noexcept { return code_; }

private:
  const char* call_;
  unsigned long code_;
};

// A top-level window built from a FormDescription: one child per row, in the table's order.
// It owns its fonts, brushes and bitmaps, keeps the controls placed by the window's dpi, and
// runs click handlers so that nothing they throw reaches Windows.
//
// The window points back at this object, so it neither copies nor moves.
class FormWindow {
public:
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
  struct Control {
    const ControlDescription* description;
    HWND handle;
    Brush background;
    std::function<void()> clicked;
  };

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam,
                                    LPARAM lParam) noexcept;
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<Font> createFonts(int dpi) const;
  // Makes the controls at the window's dpi, with their fonts.
  void createControls(HINSTANCE instance);
  // Moves the window to another dpi: new fonts, every control placed anew, the frame fitted.
  void applyDpi(int dpi);
  // Sizes the frame so that the inside is the description's size at the window's dpi.
  void fitFrame();
  SIZE outerSize() const;
  const Control* find(HWND handle) const noexcept;
  void click(Control& control) noexcept;
  void drawPicture(const DRAWITEMSTRUCT& item) const;
  void showError(std::u16string_view message) const noexcept;

  const FormDescription& description_;
  int dpi_ = 96;
  std::vector<std::u16string> faces_; // the installed face chosen for each font
  std::vector<Font> fonts_;
  std::vector<Bitmap> bitmaps_; // one per control, empty for all but pictures
  std::vector<Control> controls_;
  HWND lastFocus_ = nullptr;
  // Last, so it is destroyed first, while everything its messages touch still exists.
  WindowHandle window_;
};

// Ends the program at once: the window goes, so no handler of it runs again, and
// runMessageLoop returns 0.
void endProgram(HWND window) noexcept;

// Pumps messages until the program quits; Tab and Shift+Tab move between the window's
// controls. Returns the exit code PostQuitMessage gave.
int runMessageLoop(HWND window);

} // namespace velmora::window
