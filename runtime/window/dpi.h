#pragma once

// The window's dots per inch, and the frame around a client area at a dpi. The per-monitor
// functions came with Windows 10 and are looked up at run time, so the program still starts on
// Windows XP; where they are missing, the whole screen's dpi and the system's frame are used.

#include <windows.h>

namespace velmora::window {

// The dpi the window is drawn at: its monitor's where Windows says, else the screen's.
int windowDpi(HWND window) noexcept;

// Asks Windows to draw the window's title bar at its dpi, from WM_NCCREATE, the one moment it
// can be asked. Windows 10 1607 does so for a per-monitor window only when asked; from 1703 a
// per-monitor (v2) window has it anyway, and earlier Windows lack the call, which then does
// nothing.
void scaleFrameWithDpi(HWND window) noexcept;

// The outer rectangle of a window of the given styles whose inside is client, at a dpi.
RECT frameAround(RECT client, DWORD style, DWORD exStyle, int dpi) noexcept;

} // namespace velmora::window
