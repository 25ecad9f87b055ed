#include "runtime/run_time_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace velmora {
namespace {

// Each error has its kind and a message that says what went wrong, then what to do next. A text
// that is not a number is quoted whole up to 40 units, and cut after them with a surrogate
// pair never halved.
TEST(RunTimeError, EachRaiseGivesItsKindAndItsWholeMessage) {
  const std::u16string nines(39, u'9');
  const std::u16string quoteOpens = u"型態不符：無法將「";
  const std::u16string quoteCloses = u"」轉換成數字。請再按一次「開始換算」。";
  const struct {
    std::function<void()> raise;
    ErrorKind kind;
    std::u16string message;
  } errors[] = {
      {[] { checkPropertyCall(1400, u"Label7", u"Caption"); }, ErrorKind::propertyCall,
       u"屬性呼叫失敗：無法存取 Label7 的 Caption 屬性（錯誤碼 1400）。"
       u"請再按一次「開始換算」；如果一再發生，請重新啟動 Velmora。"},
      // The only divisor is 1000: what a keeper meets is a size too large, an infinity times a
      // zero.
      {raiseFloatingPointError, ErrorKind::floatingPoint,
       u"浮點運算錯誤：尺寸太大，無法計算。請改用較小的尺寸，再按「開始換算」。"},
      {[] { raiseConversionError(u"abc"); }, ErrorKind::conversion,
       quoteOpens + u"abc" + quoteCloses},
      {[] { raiseConversionError(u""); }, ErrorKind::conversion, quoteOpens + quoteCloses},
      {[&] { raiseConversionError(nines + u"9"); }, ErrorKind::conversion,
       quoteOpens + nines + u"9" + quoteCloses},
      {[&] { raiseConversionError(nines + u"91"); }, ErrorKind::conversion,
       quoteOpens + nines + u"9…" + quoteCloses},
      {[&] { raiseConversionError(nines + u"\U0001F41Ftail"); }, ErrorKind::conversion,
       quoteOpens + nines + u"…" + quoteCloses},
  };
  for (const auto& error : errors) {
    try {
      error.raise();
      ADD_FAILURE() << "nothing raised";
    } catch (const RunTimeError& raised) {
      EXPECT_EQ(raised.kind(), error.kind);
      EXPECT_EQ(raised.message(), error.message);
    }
  }
}

TEST(RunTimeError, AFailureWithoutAPlatformCodeStillReadsAsFailed) {
  EXPECT_NE(failedPropertyStatus(0), propertyCallSucceeded);
  EXPECT_EQ(failedPropertyStatus(5), 5u);
}

} // namespace
} // namespace velmora
