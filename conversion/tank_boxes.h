#pragma once

#include "runtime/run_time_error.h"

#include <array>
#include <string>
#include <string_view>

namespace velmora {

// The eight boxes the tank conversion reads and writes.
enum class Box { Text1, Text2, Text3, Label5, Label7, Label8, Label11, Label13 };
inline constexpr std::array<Box, 8> allBoxes{Box::Text1,  Box::Text2,  Box::Text3,   Box::Label5,
                                             Box::Label7, Box::Label8, Box::Label11, Box::Label13};

// The control's name, as error messages show it: boxName(Box::Label7) -> "Label7".
std::u16string_view boxName(Box box) noexcept;

// The property a box's text is held in: "Text" for an input box, "Caption" for a result box.
std::u16string_view textPropertyName(Box box) noexcept;

// Boxes that hold text. Every call reports a status, so a failed call on a real control
// becomes the property-call error naming it.
class TankBoxes {
public:
  virtual ~TankBoxes() = default;
  virtual PropertyStatus read(Box box, std::u16string& text) = 0;
  virtual PropertyStatus write(Box box, std::u16string_view text) = 0;
};

} // namespace velmora
