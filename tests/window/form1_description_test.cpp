#include "window/form1.h"

#include "conversion/tank_boxes.h"
#include "tests/ascii.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

namespace velmora {
namespace {

using testing::ascii;
using window::Kind;

TEST(Form1, NamesEachControlOnce) {
  std::set<std::pair<std::u16string_view, int>> seen;
  for (const auto& control : form1().controls) {
    EXPECT_TRUE(seen.insert({control.name, control.index}).second)
        << ascii(control.name) << "(" << control.index << ")";
  }
}

// Each box the conversion uses, of its kind, with the caption beside it that its errors name it
// by.
TEST(Form1, HasTheBoxesTheConversionUses) {
  for (const Box box : allBoxes) {
    const bool input = textPropertyName(box) == u"Text";
    int found = 0;
    for (const auto& control : form1().controls) {
      if (control.name == boxName(box)) {
        ++found;
        EXPECT_EQ(control.kind, input ? Kind::input : Kind::result) << ascii(boxName(box));
        const auto beside = std::ranges::find_if(form1().controls, [&](const auto& label) {
          return label.kind == Kind::label && label.top == control.top && label.left < control.left;
        });
        ASSERT_NE(beside, form1().controls.end()) << ascii(boxName(box));
        EXPECT_EQ(beside->text, std::u16string(boxCaption(box)) + u"：") << ascii(boxName(box));
      }
    }
    EXPECT_EQ(found, 1) << ascii(boxName(box));
  }
}

TEST(Form1, EveryFontAndControlFitsTheWindow) {
  const auto& form = form1();
  for (const auto& control : form.controls) {
    EXPECT_LT(control.font, static_cast<int>(form.fonts.size())) << ascii(control.name);
    EXPECT_EQ(control.font == window::noFont, control.kind == Kind::picture) << ascii(control.name);
    // Only the banner runs past the edges; it is clipped there.
    if (control.kind != Kind::picture) {
      EXPECT_GE(control.left, 0) << ascii(control.name);
      EXPECT_LE(control.left + control.width, form.clientWidth) << ascii(control.name);
      EXPECT_LE(control.top + control.height, form.clientHeight) << ascii(control.name);
    }
  }
}

} // namespace
} // namespace velmora
