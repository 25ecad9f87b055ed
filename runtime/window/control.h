#pragma once

// One control of a window as the engine keeps it while the window lives: the row it was made
// from, its window, and what it owns. Its kind decides what it does (control_kinds.h).

#include "runtime/window/form_description.h"
#include "runtime/window/handles.h"

#include <windows.h>

#include <functional>

namespace velmora::window {

struct Control {
  const ControlDescription* description = nullptr;
  HWND handle = nullptr;
  Brush background;              // for a row with a background colour
  Bitmap bitmap;                 // a picture's image
  std::function<void()> clicked; // a button's handler, once one is given
  bool shortened = false;        // a result box last drew less than its text
};

} // namespace velmora::window
