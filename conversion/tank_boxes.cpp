#include "conversion/tank_boxes.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

// The captions beside the boxes, which the keeper knows them by; a box left without one does not
// compile.
struct BoxCaption {
  Box box;
  std::u16string_view caption;
};
constexpr BoxCaption captionRows[] = {
    {Box::Text1, u"水族箱長"},   {Box::Text2, u"水族箱寬"},   {Box::Text3, u"水族箱高"},
    {Box::Label5, u"全部水量"},  {Box::Label7, u"需要光量"},  {Box::Label8, u"建議光量"},
    {Box::Label11, u"需要流量"}, {Box::Label13, u"建議流量"},
};
constexpr auto boxCaptions = [] {
  std::array<std::u16string_view, boxCount> captions{};
  for (const BoxCaption& row : captionRows) {
    captions[static_cast<std::size_t>(row.box)] = row.caption;
  }
  return captions;
}();
static_assert(std::ranges::none_of(boxCaptions,
                                   [](std::u16string_view caption) { return caption.empty(); }));

} // namespace

std::u16string_view boxName(Box box) noexcept {
  return boxNames[static_cast<std::size_t>(box)];
}

std::u16string_view boxCaption(Box box) noexcept {
  return boxCaptions[static_cast<std::size_t>(box)];
}

std::u16string_view textPropertyName(Box box) noexcept {
  // The inputs are numbered first.
  const bool inputBox = static_cast<unsigned>(box) < inputBoxCount;
  return inputBox ? u"Text" : u"Caption";
}

} // namespace velmora
