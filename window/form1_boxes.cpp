#include "window/form1_boxes.h"

#include <windows.h>

#include <algorithm>
#include <array>

namespace velmora {

// Into the caller's string, whose room the conversion reuses from one read to the next.
PropertyStatus Form1Boxes::read(Box box, std::u16string& text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  SetLastError(0);
  const int length = GetWindowTextLengthW(control);
  if (length == 0 && GetLastError() != 0)
    return failedPropertyStatus(GetLastError());
  text.resize(static_cast<std::size_t>(length) + 1);
  SetLastError(0);
  const int copied = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  if (copied == 0 && GetLastError() != 0)
    return failedPropertyStatus(GetLastError());
  text.resize(static_cast<std::size_t>(copied));
  return propertyCallSucceeded;
}

PropertyStatus Form1Boxes::write(Box box, std::u16string_view text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  // Every figure fits the stack with its terminating zero; only a longer text goes to the heap.
  std::array<char16_t, 64> onStack;
  std::u16string onHeap;
  const char16_t* terminated = onStack.data();
  if (text.size() < onStack.size()) {
    *std::copy(text.begin(), text.end(), onStack.begin()) = u'\0';
  } else {
    onHeap = text;
    terminated = onHeap.c_str();
  }
  if (!SetWindowTextW(control, reinterpret_cast<const wchar_t*>(terminated)))
    return failedPropertyStatus(GetLastError());
  form_.announce(control);
  return propertyCallSucceeded;
}

} // namespace velmora
