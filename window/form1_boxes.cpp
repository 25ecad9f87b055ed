#include "window/form1_boxes.h"

#include <windows.h>

namespace velmora {

PropertyStatus Form1Boxes::read(Box box, std::u16string& text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  SetLastError(0);
  const int length = GetWindowTextLengthW(control);
  if (length == 0 && GetLastError() != 0)
    return failedPropertyStatus(GetLastError());
  std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
  SetLastError(0);
  const int copied = GetWindowTextW(control, reinterpret_cast<wchar_t*>(buffer.data()), length + 1);
  if (copied == 0 && GetLastError() != 0)
    return failedPropertyStatus(GetLastError());
  buffer.resize(static_cast<std::size_t>(copied));
  text = std::move(buffer);
  return propertyCallSucceeded;
}

PropertyStatus Form1Boxes::write(Box box, std::u16string_view text) {
  const HWND control = form_.control(boxName(box));
  if (!control)
    return failedPropertyStatus(ERROR_INVALID_WINDOW_HANDLE);
  const std::u16string terminated(text);
  if (!SetWindowTextW(control, reinterpret_cast<const wchar_t*>(terminated.c_str())))
    return failedPropertyStatus(GetLastError());
  return propertyCallSucceeded;
}

} // namespace velmora
