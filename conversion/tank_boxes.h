#pragma once

#include "runtime/run_time_error.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Whether the conversion reads a box (a size typed in) or writes it (a figure).
enum class BoxKind { input, result };

struct BoxRow {
  std::u16string_view name; // the control's, as error messages show it
  BoxKind kind;
};

// The boxes the tank conversion reads and writes: the inputs, then the results in the order a
// click writes them. Everything else that counts or names the boxes follows from these rows.
inline constexpr std::array boxTable{
    BoxRow{u"Text1", BoxKind::input},    BoxRow{u"Text2", BoxKind::input},
    BoxRow{u"Text3", BoxKind::input},    BoxRow{u"Label5", BoxKind::result},
    BoxRow{u"Label7", BoxKind::result},  BoxRow{u"Label8", BoxKind::result},
    BoxRow{u"Label11", BoxKind::result}, BoxRow{u"Label13", BoxKind::result},
};

// A box's row in boxTable; a name that is not there does not compile.
consteval int boxRow(std::u16string_view name) {
  for (std::size_t row = 0; row < boxTable.size(); ++row) {
    if (boxTable[row].name == name) {
      return static_cast<int>(row);
    }
  }
  throw "no such box";
}

// The boxes as the code names them, each its row in boxTable.
enum class Box {
  Text1 = boxRow(u"Text1"),
  Text2 = boxRow(u"Text2"),
  Text3 = boxRow(u"Text3"),
  Label5 = boxRow(u"Label5"),
  Label7 = boxRow(u"Label7"),
  Label8 = boxRow(u"Label8"),
  Label11 = boxRow(u"Label11"),
  Label13 = boxRow(u"Label13"),
};

inline constexpr std::size_t boxCount = boxTable.size();
inline constexpr std::size_t inputBoxCount =
    static_cast<std::size_t>(std::ranges::count(boxTable, BoxKind::input, &BoxRow::kind));
// The inputs come first, so a box is an input by its row alone.
static_assert(std::ranges::all_of(boxTable.begin(), boxTable.begin() + inputBoxCount,
                                  [](const BoxRow& row) { return row.kind == BoxKind::input; }));

// The boxes of rows first to first + count - 1, in the table's order.
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
