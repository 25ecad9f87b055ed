#include "window/form1.h"

#include "conversion/tank_boxes.h"
#include "runtime/window/units.h"
#include "tests/ascii.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace velmora {
namespace {

using testing::ascii;
using window::Kind;

TEST(Twips, BecomePixelsRoundedHalfAwayFromZero) {
  const struct {
    int twips, dpi, pixels;
  } cases[] = {
      {3060, 96, 204}, {5400, 96, 360},  {-360, 96, -24},  {255, 96, 17}, {735, 120, 61},
      {255, 120, 21},  {270, 144, 27},   {-360, 120, -30}, {8, 96, 1},    {7, 96, 0},
      {-8, 96, -1},    {3615, 168, 422}, {0, 192, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(window::twipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(FontHeight, IsMinusThePointsInPixelsRounded) {
  const struct {
    int centipoints, dpi, height;
  } cases[] = {
      {1200, 96, -16},  {1125, 96, -15},  {975, 96, -13},  {975, 120, -16},
      {1125, 120, -19}, {1200, 144, -24}, {975, 144, -20}, {1125, 192, -30},
  };
  for (const auto& c : cases)
    EXPECT_EQ(window::fontHeight(c.centipoints, c.dpi), c.height)
        << c.centipoints << " at " << c.dpi;
}

TEST(Form1, NamesEachControlOnce) {
  std::set<std::pair<std::u16string_view, int>> seen;
  for (const auto& control : form1().controls)
    EXPECT_TRUE(seen.insert({control.name, control.index}).second)
        << ascii(control.name) << "(" << control.index << ")";
}

TEST(Form1, HasTheBoxesTheConversionUses) {
  const Box boxes[] = {Box::Text1,  Box::Text2,  Box::Text3,   Box::Label5,
                       Box::Label7, Box::Label8, Box::Label11, Box::Label13};
  for (const Box box : boxes) {
    const bool input = textPropertyName(box) == u"Text";
    int found = 0;
    for (const auto& control : form1().controls) {
      if (control.name == boxName(box)) {
        ++found;
        EXPECT_EQ(control.kind, input ? Kind::input : Kind::result) << ascii(boxName(box));
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
