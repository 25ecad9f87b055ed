#include "conversion/tank_boxes.h"

#include <array>

namespace velmora {

namespace {

// In the order of Box.
constexpr std::array<std::u16string_view, 8> boxNames{u"Text1",  u"Text2",  u"Text3",   u"Label5",
                                                      u"Label7", u"Label8", u"Label11", u"Label13"};

} // namespace

std::u16string_view boxName(Box box) noexcept {
  return boxNames[static_cast<std::size_t>(box)];
}

std::u16string_view textPropertyName(Box box) noexcept {
  const bool inputBox = box == Box::Text1 || box == Box::Text2 || box == Box::Text3;
  return inputBox ? u"Text" : u"Caption";
}

} // namespace velmora
