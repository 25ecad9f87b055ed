#include "runtime/leading_number.h"

#include "tests/bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velmora {
namespace {

using testing::bitsOf;
using testing::fromBits;

struct Reading {
  std::u16string text;
  std::uint64_t bits;
};

void expectReadings(const std::initializer_list<Reading>& readings) {
  for (const Reading& reading : readings) {
    const std::string shown(reading.text.begin(),
                            reading.text.begin() + std::min<std::size_t>(reading.text.size(), 60));
    EXPECT_EQ(bitsOf(leadingNumber(reading.text)), reading.bits) << "text starting " << shown;
  }
}

TEST(LeadingNumber, TextsWithoutDigitsReadAsPositiveZero) {
  expectReadings({{u"", 0},
                  {u"abc", 0},
                  {u"-", 0},
                  {u"+", 0},
                  {u".", 0},
                  {u"-.", 0},
                  {u"e5", 0},
                  {u"   ", 0},
                  {u"公分", 0},
                  {u"-e1", 0}});
}

TEST(LeadingNumber, SignedZeroKeepsItsSign) {
  expectReadings({{u"-0", testing::negativeZeroBits},
                  {u"-0.000", testing::negativeZeroBits},
                  {u"+0", 0},
                  {u"0e999999", 0},
                  {u"-0e-5", testing::negativeZeroBits}});
}

TEST(LeadingNumber, NumberEndsAtFirstCharacterThatCannotContinueIt) {
  expectReadings({{u"90cm", bitsOf(90)},
                  {u"45公分", bitsOf(45)},
                  {u"1,200", bitsOf(1)},
                  {u"12e", bitsOf(12)},
                  {u"12e+", bitsOf(12)},
                  {u"12E-x", bitsOf(12)},
                  {u"1.5.5", bitsOf(1.5)},
                  {u"3-4", bitsOf(3)},
                  {u"7 8", bitsOf(7)},
                  {u"2e3e4", bitsOf(2000)}});
}

TEST(LeadingNumber, DecimalPointNeedsDigitsOnOneSideOnly) {
  expectReadings({{u".5", bitsOf(0.5)},
                  {u"5.", bitsOf(5)},
                  {u"-.25", bitsOf(-0.25)},
                  {u"5.e1", bitsOf(50)},
                  {u".5e1", bitsOf(5)}});
}

TEST(LeadingNumber, LeadingWhiteSpaceIsSkipped) {
  expectReadings({{u" \t\r\n90", bitsOf(90)}, {u"\u3000４５", bitsOf(45)}, {u"\u00A01", 0}});
}

TEST(LeadingNumber, FullWidthFormsCountAsAscii) {
  expectReadings({{u"９０", bitsOf(90)},
                  {u"－１２．５", bitsOf(-12.5)},
                  {u"＋３", bitsOf(3)},
                  {u"１ｅ３", bitsOf(1000)},
                  {u"１Ｅ－２", bitsOf(0.01)},
                  {u"9０.５", bitsOf(90.5)}});
}

TEST(LeadingNumber, OutOfRangeGoesToInfinityOrZero) {
  expectReadings({{u"1e999", testing::positiveInfinityBits},
                  {u"-1e999", testing::negativeInfinityBits},
                  {u"1e-999", 0},
                  {u"-1e-999", testing::negativeZeroBits},
                  {u"1e99999999999999999999", testing::positiveInfinityBits},
                  {u"1e-99999999999999999999", 0},
                  {u"1.7976931348623157e308", testing::largestDoubleBits},
                  {u"1.7976931348623159e308", testing::positiveInfinityBits},
                  {u"4.9406564584124654e-324", testing::smallestSubnormalBits},
                  {u"2.4703282292062328e-324", testing::smallestSubnormalBits},
                  {u"2.4703282292062327e-324", 0}});
}

TEST(LeadingNumber, LongTextsAreRoundedCorrectly) {
  // 2^53 + 1 lies halfway between two doubles: a digit 100,000 places out decides.
  std::u16string halfway = u"9007199254740993.";
  halfway.append(100'000, u'0');
  std::u16string manyZerosThenOne = u"0.";
  manyZerosThenOne.append(99'999, u'0');
  manyZerosThenOne.append(u"1e100000");
  std::u16string hundredThousandNines(100'000, u'9');
  expectReadings({{halfway, bitsOf(9007199254740992.0)},
                  {halfway + u"1", bitsOf(9007199254740994.0)},
                  {manyZerosThenOne, bitsOf(1)},
                  {hundredThousandNines, testing::positiveInfinityBits},
                  {u"0.1000000000000000055511151231257827021181583404541015625", bitsOf(0.1)},
                  {u"9007199254740993", bitsOf(9007199254740992.0)},
                  {u"9007199254740993.0000000000000000000001", bitsOf(9007199254740994.0)}});
}

TEST(LeadingNumber, TheDecidingDigitCountsAtEveryLength) {
  // Halfway between two doubles, decided by a last 1: lengths about where a short number's
  // copy stops fitting on the stack.
  for (std::size_t length = 120; length <= 136; ++length) {
    std::u16string text = u"9007199254740993.";
    text.append(length - text.size() - 1, u'0').append(u"1");
    expectReadings(
        {{text, bitsOf(9007199254740994.0)}, {text + u"cm", bitsOf(9007199254740994.0)}});
  }
}

TEST(LeadingNumber, HardInputsForX87ParsingAreExact) {
  expectReadings({{u"7.669839545176445e24", bitsOf(7.669839545176445e24)},
                  {u"36802087597862e9", bitsOf(36802087597862e9)}});
}

} // namespace
} // namespace velmora
