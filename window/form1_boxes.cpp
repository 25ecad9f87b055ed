#include "window/form1_boxes.h"

#include "runtime/window/wide_text.h"

#include <windows.h>

namespace velmora {

// Into the caller's string, whose room the conversion reuses from one read to the next.
PropertyStatus Form1Boxes::read(Box box, std::u16string& text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  if (!window::readWindowText(control, text))
    return failedPropertyStatus(GetLastError());
  return propertyCallSucceeded;
}

PropertyStatus Form1Boxes::write(Box box, std::u16string_view text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  if (!SetWindowTextW(control, window::TerminatedText(text).get()))
    return failedPropertyStatus(GetLastError());
  form_.announce(control);
  return propertyCallSucceeded;
}

} // namespace velmora
