#include "conversion/tank_boxes.h"

#include <array>

namespace velmora {

namespace {

// The names alone, so that only they, and not the whole table, are in the program.
constexpr auto boxNames = [] {
  std::array<std::u16string_view, boxCount> names;
  for (std::size_t row = 0; row < boxCount; ++row) {
    names[row] = boxTable[row].name;
  }
  return names;
}();

} // namespace

std::u16string_view boxName(Box box) noexcept {
  return boxNames[static_cast<std::size_t>(box)];
}

std::u16string_view textPropertyName(Box box) noexcept {
  // The inputs are the table's first rows.
  const bool inputBox = static_cast<unsigned>(box) < inputBoxCount;
  return inputBox ? u"Text" : u"Caption";
}

} // namespace velmora
