#include "runtime/number_text.h"

#include "runtime/run_time_error.h"
#include "tests/ascii.h"
#include "tests/bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace velmora {
namespace {

using testing::ascii;

using testing::bitsOf;
using testing::fromBits;

struct Shown {
  std::uint64_t bits;
  std::u16string text;
};

TEST(NumberToText, ShowsFiguresPlainOrScientificAndTheSpecialValues) {
  const Shown table[] = {
      // The example tanks.
      {bitsOf(182.25), u"182.25"},
      {bitsOf(145.8), u"145.8"},
      {bitsOf(546.75), u"546.75"},
      {bitsOf(911.25), u"911.25"},
      {bitsOf(64.8), u"64.8"},
      {bitsOf(51.84), u"51.84"},
      {bitsOf(64.8 * 3), u"194.4"},
      {bitsOf(324), u"324"},
      {bitsOf(1500), u"1500"},
      {bitsOf(-182.25), u"-182.25"},
      {bitsOf(0.1 + 0.2), u"0.3"},
      // Plain notation from a ten-thousandth up to below a quadrillion, scientific outside.
      {bitsOf(0.0001), u"0.0001"},
      {bitsOf(0.00009999999999999999), u"0.0001"}, // rounds up into plain notation
      {bitsOf(0.000099999999999999), u"9.9999999999999E-05"},
      {bitsOf(0.5), u"0.5"},
      {bitsOf(123456789012345.0), u"123456789012345"},
      {bitsOf(999999999999999.0), u"999999999999999"},
      {bitsOf(999999999999999.4), u"999999999999999"},
      {bitsOf(999999999999999.6), u"1E+15"}, // rounds up out of plain notation
      {bitsOf(1e15), u"1E+15"},
      {bitsOf(1.5e-5), u"1.5E-05"},
      {bitsOf(1e97), u"1E+97"},
      {bitsOf(-1.25e-100), u"-1.25E-100"},
      {bitsOf(1e300), u"1E+300"},
      {bitsOf(0.1), u"0.1"},
      {bitsOf(2.0 / 3.0), u"0.666666666666667"},
      {bitsOf(1234567.891), u"1234567.891"},
      // The special values.
      {0, u"0"},
      {testing::negativeZeroBits, u"0"},
      {testing::positiveInfinityBits, u"∞"},
      {testing::negativeInfinityBits, u"-∞"},
      {0x7FF8000000000000, u"NaN"},
      {0xFFF8000000000001, u"NaN"},
      {testing::smallestSubnormalBits, u"4.94065645841247E-324"},
  };
  for (const Shown& shown : table) {
    EXPECT_EQ(numberToText(fromBits(shown.bits)), shown.text) << ascii(shown.text);
  }
}

TEST(NumberToText, DoublesNearTheLargestReadBackFinite) {
  const Shown table[] = {
      {testing::largestDoubleBits, u"1.7976931348623157E+308"},
      {testing::largestDoubleBits - 1, u"1.7976931348623155E+308"},
      {testing::largestDoubleBits | 0x8000000000000000, u"-1.7976931348623157E+308"},
      // Far enough below the largest, 15 digits read back finite.
      {bitsOf(1.79769313486231e308), u"1.79769313486231E+308"},
  };
  for (const Shown& shown : table) {
    const std::u16string text = numberToText(fromBits(shown.bits));
    EXPECT_EQ(text, shown.text) << ascii(shown.text);
    EXPECT_EQ(bitsOf(textToNumber(text)), shown.bits) << ascii(shown.text);
  }
}

TEST(TextToNumber, ReadsBackWhatNumberToTextWrites) {
  struct Case {
    double value;
    bool readsBackExactly; // as formatNumber tells
  };
  const Case cases[] = {
      {182.25, true},
      {0.0001, true},
      {1.5e-5, true},
      {1e15, true},
      {-2.5e-300, true},
      {64.8 * 3, false},
      {2.0 / 3.0, false},
      {fromBits(testing::smallestSubnormalBits), false},
      {std::numeric_limits<double>::max(), true},
      {std::numeric_limits<double>::infinity(), true},
      {-std::numeric_limits<double>::infinity(), true},
  };
  for (const Case& c : cases) {
    const NumberText text = formatNumber(c.value);
    const std::u16string shown(text.view());
    EXPECT_EQ(numberToText(textToNumber(shown)), shown) << ascii(shown);
    EXPECT_EQ(text.readsBackExactly, c.readsBackExactly) << ascii(shown);
    if (text.readsBackExactly) {
      EXPECT_EQ(bitsOf(textToNumber(shown)), bitsOf(c.value)) << ascii(shown);
    }
  }
  EXPECT_TRUE(std::isnan(textToNumber(u"NaN")));
  EXPECT_EQ(bitsOf(textToNumber(u"1.5E-05")), bitsOf(1.5e-5));
  EXPECT_EQ(bitsOf(textToNumber(u"194.4")), bitsOf(194.4));
  EXPECT_EQ(bitsOf(textToNumber(u"-0")), testing::negativeZeroBits);
}

TEST(TextToNumber, AnythingElseRaisesTheConversionErrorNamingTheText) {
  const std::u16string rejected[] = {u"",    u" 1", u"1 ",  u"abc", u"1,5",   u"１",
                                     u"∞∞",  u"-",  u".",   u"1e",  u"0x10",  u"inf",
                                     u"nan", u"+∞", u"1E+", u"--1", u"12公升"};
  for (const std::u16string& text : rejected) {
    try {
      textToNumber(text);
      ADD_FAILURE() << "accepted " << ascii(text);
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), ErrorKind::conversion);
      EXPECT_NE(error.message().find(u"「" + text + u"」"), std::u16string::npos) << ascii(text);
    }
  }
}

} // namespace
} // namespace velmora
