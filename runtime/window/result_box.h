#pragma once

// A result box: its figure drawn centred on one line in its row's colours and font, rounded to
// the digits that fit where the figure is wider than the box; the box's own text stays the whole
// figure, which a tooltip shows where the box shows less, and which the box's menu puts on the
// clipboard.

#include "runtime/window/control.h"
#include "runtime/window/handles.h"

#include <commctrl.h>
#include <windows.h>

#include <span>
#include <string>

namespace velmora::window {

// Draws an owner-drawn result box of a window at dpi on its background (in the colours its kind
// chose for item's dc), and notes in control.shortened whether it drew less than the box's text.
void drawResult(const DRAWITEMSTRUCT& item, HBRUSH background, Control& control, int dpi) noexcept;

// The one tooltip of a window's result boxes. It asks for its text as the pointer rests on a
// box; answer() gives the whole figure where the box shows less, and nothing (no tip) where the
// box shows it whole.
class ResultTips {
public:
  ResultTips() noexcept = default;
  // A tip for each of boxes. Where Windows will not make the tooltip, or a box's tip, the boxes
  // go without.
  ResultTips(HWND form, HINSTANCE instance, std::span<const HWND> boxes) noexcept;

  // Answers the tooltip's TTN_GETDISPINFOW for control.
  void answer(NMTTDISPINFOW& request, const Control& control);

private:
  WindowHandle tooltip_;
  std::u16string text_; // what the tooltip shows, kept until it asks again
};

// Shows a result box's menu at a point of the screen; 複製 puts the box's whole figure on the
// clipboard as text.
void offerCopy(HWND form, const Control& control, POINT at) noexcept;

} // namespace velmora::window
