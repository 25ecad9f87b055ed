#include "window/form1_boxes.h"

#include "runtime/window/wide_text.h"

#include <windows.h>

namespace velmora {

Form1Boxes::Form1Boxes(const window::FormWindow& form) : form_(form) {
  for (const Box box : allBoxes) {
    controls_[static_cast<std::size_t>(box)] = form.requireControl(boxName(box));
  }
}

// Into the caller's string, whose room the conversion reuses from one read to the next.
PropertyStatus Form1Boxes::read(Box box, std::u16string& text) {
  if (!window::readWindowText(control(box), text)) {
    return failedPropertyStatus(GetLastError());
  }
  return propertyCallSucceeded;
}

PropertyStatus Form1Boxes::write(Box box, std::u16string_view text) {
  if (!SetWindowTextW(control(box), window::TerminatedText(text).get())) {
    return failedPropertyStatus(GetLastError());
  }
  form_.announce(control(box));
  return propertyCallSucceeded;
}

} // namespace velmora
