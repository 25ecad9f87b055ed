#include "conversion/tank_boxes.h"

namespace velmora {

std::u16string_view boxName(Box box) noexcept {
  switch (box) {
  case Box::Text1:
    return u"Text1";
  case Box::Text2:
    return u"Text2";
  case Box::Text3:
    return u"Text3";
  case Box::Label5:
    return u"Label5";
  case Box::Label7:
    return u"Label7";
  case Box::Label8:
    return u"Label8";
  case Box::Label11:
    return u"Label11";
  case Box::Label13:
    return u"Label13";
  }
  return u"?";
}

std::u16string_view textPropertyName(Box box) noexcept {
  const bool inputBox = box == Box::Text1 || box == Box::Text2 || box == Box::Text3;
  return inputBox ? u"Text" : u"Caption";
}

} // namespace velmora
