#pragma once

// The program's one message loop.

#include <windows.h>

namespace velmora::window {

// Pumps messages until the program quits; Tab and Shift+Tab move between the window's
// controls. Returns the exit code PostQuitMessage gave; throws WindowError where Windows cannot
// give the next message.
int runMessageLoop(HWND window);

} // namespace velmora::window
