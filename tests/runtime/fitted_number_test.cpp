// fitNumber: a figure too wide for its box, rounded to the digits that fit.
#include "runtime/fitted_number.h"

#include "tests/ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

using testing::ascii;

// Near the widths of 9.75-point Arial at 96 dpi: digits 7, the point and the minus sign 4, E 9
// and the plus sign 8.
int arialLike(std::u16string_view text) {
  int width = 0;
  for (const char16_t c : text) {
    width += c == u'.' || c == u'-' ? 4 : c == u'E' ? 9 : c == u'+' ? 8 : 7;
  }
  return width;
}

TEST(FitNumber, RoundsAFigureTooWideForItsBoxToTheDigitsThatFit) {
  const struct {
    std::u16string text;
    int room;
    std::u16string shown;
  } table[] = {
      {u"182.25", 47, u"182.25"},         // 39 wide: as it is
      {u"191.096835", 47, u"191.097"},    // 46 wide
      {u"191.096835", 45, u"191.1"},      // 191.10 with its zero dropped
      {u"36.926037", 47, u"36.926"},      // 36.9260 likewise
      {u"0.125", 25, u"0.13"},            // a tie rounds away from zero
      {u"-2.5", 20, u"-3"},               // on negative figures too
      {u"-0.000123456", 50, u"-0.00012"}, // leading zeros are no digits of the figure
      {u"-0.000123456", 47, u"-0.0001"},  //
      {u"99.96", 25, u"100"},             // 9s round up into one more digit
      {u"999.9996", 32, u"1000"},         //
      {u"9.99E-05", 40, u"0.0001"},       // and from scientific into plain notation
      {u"1234567.891", 49, u"1234568"},   // every integer digit or none
      {u"1234567.891", 47, u"1E+06"},     //
      {u"12345678901", 49, u"1.2E+10"},   // the whole number too wide: scientific
      {u"1.7976931348623157E+308", 60, u"1.8E+308"},
      {u"1.5E-05", 20, u"2E-05"},    // nothing fits: one digit is the least
      {u"∞", 1, u"∞"},               // no number: as it is
      {u"NaN", 5, u"NaN"},           //
      {u"三百公升", 5, u"三百公升"}, //
      {u"0", 0, u"0"},               //
  };
  for (const auto& c : table) {
    EXPECT_EQ(fitNumber(c.text, c.room, arialLike), c.shown) << ascii(c.text) << " in " << c.room;
  }
}

} // namespace
} // namespace velmora
