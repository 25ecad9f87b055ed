#pragma once

// The kinds of control a window is built of, each decided in one place: its window class, its
// styles (whether the focus goes to it), its drawing, what it answers (a click, a tooltip, a
// copy), and every step that makes a row of that kind what the table says (its font, its
// colours, its picture, its limits). A new kind is a case here: the window procedure routes a
// message to a control by these answers (takesClicks, showsFigure, drawControl), never by kind.

#include "runtime/window/control.h"
#include "runtime/window/form_description.h"

#include <windows.h>

namespace velmora::window {

// Loads the window classes the kinds are made of, before any control is made: the manifest
// asks for the common controls 6, and Windows XP makes no control of a class they take over
// until the program has asked comctl32 for it (Vista and later, and Wine, load them on first
// use). Throws WindowError when comctl32 cannot.
void loadControlClasses();

// Makes the control of a row as a child of parent, placed at dpi, with font (or none): all
// before it is first drawn. Throws WindowError when Windows cannot make it.
Control createControl(const ControlDescription& row, HWND parent, int id, HINSTANCE instance,
                      HFONT font, int dpi);

// Draws an owner-drawn control as its kind is drawn (WM_DRAWITEM); false, with nothing drawn,
// for a kind that Windows draws.
bool drawControl(const DRAWITEMSTRUCT& item, Control& control, int dpi) noexcept;

// Whether a click on the control runs its handler: a button's.
bool takesClicks(const Control& control) noexcept;

// Whether the control shows a figure, whose whole text its tooltip and its menu (複製) give
// where the box shows less: a result box.
bool showsFigure(const Control& control) noexcept;

// Places a control at a dpi and gives it that dpi's font, redrawn.
void placeControl(const Control& control, HFONT font, int dpi) noexcept;

// The one place a static control's colours are decided, for WM_CTLCOLORSTATIC and for a
// result box that draws itself: sets dc's text and background colours and returns the brush the
// background is painted with, never null. A row's own colours over the system's; with a
// high-contrast theme on, the system's alone for every row, so that the window reads as the
// user's theme asks.
HBRUSH colorStatic(const Control& control, HDC dc) noexcept;

} // namespace velmora::window
