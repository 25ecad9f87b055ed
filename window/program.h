#pragma once

// Velmora from start to end: Form1 built from its table, its two buttons wired, shown, and its
// messages pumped until it closes. A start that fails, or a failure once it runs, is said in a
// box that waits for the user's answer (runtime/window/failure_box.h).

#include "runtime/window/form_description.h"

#include <windows.h>

namespace velmora {

// The program's exit code: 0 when the window was closed, 1 after a failure's box was answered.
// The table is Form1's; a test gives it one with a fault.
int runVelmora(const window::FormDescription& form, HINSTANCE instance) noexcept;

} // namespace velmora
