#include "runtime/run_time_error.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

bool contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

TEST(RunTimeError, PropertyCallNamesTheControlThePropertyAndTheCode) {
  try {
    checkPropertyCall(1400, u"Label7", u"Caption");
    FAIL();
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), ErrorKind::propertyCall);
    EXPECT_TRUE(contains(error.message(), u"Label7"));
    EXPECT_TRUE(contains(error.message(), u"Caption"));
    EXPECT_TRUE(contains(error.message(), u"1400"));
    EXPECT_TRUE(
        error.message().ends_with(u"。請再按一次「開始換算」；如果一再發生，請重新啟動 Velmora。"));
  }
}

TEST(RunTimeError, AFailureWithoutAPlatformCodeStillReadsAsFailed) {
  EXPECT_NE(failedPropertyStatus(0), propertyCallSucceeded);
  EXPECT_EQ(failedPropertyStatus(5), 5u);
}

// The only divisor is 1000: what a keeper meets is a size too large, an infinity times a zero.
TEST(RunTimeError, FloatingPointErrorSaysTheSizesAreTooLargeAndWhatToDo) {
  try {
    raiseFloatingPointError();
    FAIL();
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), ErrorKind::floatingPoint);
    EXPECT_EQ(error.message(),
              u"浮點運算錯誤：尺寸太大，無法計算。請改用較小的尺寸，再按「開始換算」。");
  }
}

TEST(RunTimeError, ConversionErrorQuotesShortTextsWholeAndLongOnesCut) {
  struct Quoted {
    std::u16string text;
    std::u16string quoted;
  };
  const std::u16string forty(40, u'9');
  // A surrogate pair straddling the cut is dropped whole.
  const std::u16string pairAtCut = std::u16string(39, u'9') + u"\U0001F41F" + u"tail";
  const Quoted table[] = {
      {u"abc", u"「abc」"},
      {u"", u"「」"},
      {forty, u"「" + forty + u"」"},
      {forty + u"1", u"「" + forty + u"…」"},
      {pairAtCut, u"「" + std::u16string(39, u'9') + u"…」"},
  };
  for (const Quoted& quoted : table) {
    try {
      raiseConversionError(quoted.text);
      FAIL();
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), ErrorKind::conversion);
      EXPECT_TRUE(
          contains(error.message(), quoted.quoted + u"轉換成數字。請再按一次「開始換算」。"));
    }
  }
}

} // namespace
} // namespace velmora
