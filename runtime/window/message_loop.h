#pragma once

// The program's one message loop, and its end.

#include <windows.h>

namespace velmora::window {

// Pumps messages until the program quits; Tab and Shift+Tab move between the window's
// controls. Returns the exit code PostQuitMessage gave.
int runMessageLoop(HWND window);

// Ends the program at once: the window goes, so no handler of it runs again, and
// runMessageLoop returns 0.
void endProgram(HWND window) noexcept;

} // namespace velmora::window
