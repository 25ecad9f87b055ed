#pragma once

// The form's frame: its window class with the program's icon, its style (a fixed border, a
// caption and a close box, nothing to resize, minimize or maximize), its size around the
// inside at a dpi, and how it first shows: centred on its screen, at its own size whatever show
// state Windows handed the program.

#include <windows.h>

namespace velmora::window {

inline constexpr wchar_t frameClassName[] = L"Velmora.Form";
inline constexpr DWORD frameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD frameExStyle = 0;

// Registers the frame's class, once per process, with the icon group's large image (the system
// takes the small one from the same group). Throws WindowError when Windows cannot.
void registerFrameClass(HINSTANCE instance, int icon, WNDPROC procedure);

// The outer size of a frame whose inside is inside, at a dpi.
SIZE frameSize(SIZE inside, int dpi) noexcept;

// Sizes window's frame so that its inside is inside at dpi.
void fitFrame(HWND window, SIZE inside, int dpi) noexcept;

// Where the frame drawn around window is not the one predicted, resizes it in place by what its
// inside lacks of inside.
void fitInside(HWND window, SIZE inside) noexcept;

// Centres window on its screen and shows it, neither maximized nor minimized.
void showCentred(HWND window) noexcept;

} // namespace velmora::window
