#include "runtime/run_time_error.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include "runtime/window/window_error.h"

#include <windows.h>
#endif

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
  }
}

TEST(RunTimeError, AFailureWithoutAPlatformCodeStillReadsAsFailed) {
  EXPECT_NE(failedPropertyStatus(0), propertyCallSucceeded);
  EXPECT_EQ(failedPropertyStatus(5), 5u);
}

TEST(RunTimeError, FloatingPointErrorHasItsKind) {
  try {
    raiseFloatingPointError();
    FAIL();
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.kind(), ErrorKind::floatingPoint);
    EXPECT_TRUE(contains(error.message(), u"浮點"));
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
      EXPECT_TRUE(contains(error.message(), quoted.quoted));
    }
  }
}

#ifdef _WIN32
// A window that cannot be made says which call failed and Windows' code and words for it (whose
// wording Windows and Wine differ on: only their presence is checked).
TEST(WindowError, NamesTheCallTheCodeAndWhatWindowsCallsIt) {
  const struct {
    const char* call;
    unsigned long code;
    std::string start, end;
  } errors[] = {
      {"CreateWindowExW", ERROR_CANNOT_FIND_WND_CLASS, "CreateWindowExW failed: error 1407 (",
       ".)"},
      {"RegisterClassExW", ERROR_NOT_ENOUGH_MEMORY, "RegisterClassExW failed: error 8 (", ".)"},
      {"CreateWindowExW", 0, "CreateWindowExW failed: error 0 (Windows gave no error code)", ""},
      {"LoadImageW", 0xE0001234,
       "LoadImageW failed: error 3758101044 (Windows has no description of it)", ""},
  };
  for (const auto& error : errors) {
    SetLastError(error.code);
    try {
      window::throwLastError(error.call);
      FAIL();
    } catch (const window::WindowError& thrown) {
      const std::string text = thrown.what();
      EXPECT_EQ(thrown.code(), error.code);
      EXPECT_EQ(text.substr(0, error.start.size()), error.start);
      EXPECT_TRUE(text.ends_with(error.end)) << text;
      EXPECT_GE(text.size(), error.start.size() + (error.end.empty() ? 0 : 10)) << text;
      EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    }
  }
}
#endif

} // namespace
} // namespace velmora
