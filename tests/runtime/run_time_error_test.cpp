#include "runtime/run_time_error.h"

#include "runtime/report_place.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace velmora {
namespace {

// Each error has its kind and a message that says what went wrong in the window's words, the
// inner names in brackets, then the steps a keeper can take in the window, and where a click
// cannot clear it, where to report it. A text that is not a number is quoted whole up to 40
// units, and cut after them with a surrogate pair never halved.
TEST(RunTimeError, EachRaiseGivesItsKindAndItsWholeMessage) {
  const std::u16string nines(39, u'9');
  const std::u16string quoteOpens = u"「全部水量」格裡的「";
  const std::u16string quoteCloses = u"」無法轉換成數字（型態不符）。請再按一次「開始換算」。";
  const struct {
    std::function<void()> raise;
    ErrorKind kind;
    std::u16string message;
  } errors[] = {
      {[] { checkPropertyCall(1400, u"全部水量", u"Label5", u"Caption"); }, ErrorKind::propertyCall,
       u"無法存取「全部水量」格（屬性呼叫失敗：Label5.Caption，錯誤碼 1400）。"
       u"請再按一次「開始換算」；如果一再發生，請按「離開」，再重新開啟 Velmora。"
       u"重新開啟後仍然如此，" +
           std::u16string(reportStepChinese) + u"。"},
      // The only divisor is 1000: what a keeper meets is a size too long to be a number, an
      // infinity, times a zero.
      {raiseFloatingPointError, ErrorKind::floatingPoint,
       u"無法計算：有一格的尺寸太長，大到無法當成數字，另一格卻是 0 或空白（浮點運算錯誤）。"
       u"請檢查長、寬、高，再按一次「開始換算」。"},
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
