#pragma once

#include "runtime/run_time_error.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The boxes the tank conversion reads and writes, by their controls' names as error messages
// show them: the inputs, a size typed into each, then the results, the figures in the order a
// click writes them. Everything else that counts or names the boxes follows from these.
inline constexpr auto inputBoxNames =
    std::to_array<std::u16string_view>({u"Text1", u"Text2", u"Text3"});
inline constexpr auto resultBoxNames =
    std::to_array<std::u16string_view>({u"Label5", u"Label7", u"Label8", u"Label11", u"Label13"});
inline constexpr std::size_t inputBoxCount = inputBoxNames.size();
inline constexpr std::size_t boxCount = inputBoxCount + resultBoxNames.size();

// Every box's name by its number: the inputs from 0, the results after them.
inline constexpr auto boxNames = [] {
  std::array<std::u16string_view, boxCount> names;
  std::ranges::copy(resultBoxNames, std::ranges::copy(inputBoxNames, names.begin()).out);
  return names;
}();

// The number of the box with that name; a name that is not in the table does not compile.
consteval int boxNumber(std::u16string_view name) {
  for (std::size_t number = 0; number < boxCount; ++number) {
    if (boxNames[number] == name) {
      return static_cast<int>(number);
    }
  }
  throw "no such box";
}

// The boxes as the code names them, each by its number.
enum class Box {
  Text1 = boxNumber(u"Text1"),
  Text2 = boxNumber(u"Text2"),
  Text3 = boxNumber(u"Text3"),
  Label5 = boxNumber(u"Label5"),
  Label7 = boxNumber(u"Label7"),
  Label8 = boxNumber(u"Label8"),
  Label11 = boxNumber(u"Label11"),
  Label13 = boxNumber(u"Label13"),
};

// The boxes numbered first to first + count - 1.
template <std::size_t first, std::size_t count> constexpr std::array<Box, count> boxesFrom() {
  std::array<Box, count> boxes{};
  for (std::size_t i = 0; i < count; ++i) {
    boxes[i] = static_cast<Box>(first + i);
  }
  return boxes;
}
inline constexpr auto allBoxes = boxesFrom<0, boxCount>();
inline constexpr auto inputBoxes = boxesFrom<0, inputBoxCount>();
// In the order a click writes them.
inline constexpr auto resultBoxes = boxesFrom<inputBoxCount, boxCount - inputBoxCount>();

// The control's name, as error messages show it: boxName(Box::Label7) -> "Label7".
std::u16string_view boxName(Box box) noexcept;

// The box as the keeper knows it, by the caption beside it: boxCaption(Box::Label7) -> "需要光量".
std::u16string_view boxCaption(Box box) noexcept;

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
