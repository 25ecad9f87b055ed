#pragma once

// A picture control's drawing: its bitmap from the top-left corner of its inside, unscaled at
// 96 dpi and scaled with the rest of the window at any other, clipped to the control; the rest
// of the control in the window's face colour.

#include <windows.h>

namespace velmora::window {

// Draws bitmap (or nothing, where it is null) for an owner-drawn picture control at dpi.
void drawPicture(const DRAWITEMSTRUCT& item, HBITMAP bitmap, int dpi) noexcept;

} // namespace velmora::window
