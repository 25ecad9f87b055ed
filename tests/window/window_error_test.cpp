// The window engine's error: what it says of a failed call.
#include "runtime/window/window_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace velmora::window {
namespace {

// A window that cannot be made says which call failed, for which row where it was asked for one,
// and Windows' code and words for it (whose wording Windows and Wine differ on: only their
// presence is checked).
TEST(WindowError, NamesTheCallTheRowTheCodeAndWhatWindowsCallsIt) {
  const struct {
    const char* call;
    std::u16string_view name;
    unsigned long code;
    std::string start, end;
  } errors[] = {
      {"CreateWindowExW", u"", ERROR_CANNOT_FIND_WND_CLASS, "CreateWindowExW failed: error 1407 (",
       ".)"},
      {"RegisterClassExW", u"", ERROR_NOT_ENOUGH_MEMORY, "RegisterClassExW failed: error 8 (",
       ".)"},
      {"CreateWindowExW", u"", 0, "CreateWindowExW failed: error 0 (Windows gave no error code)",
       ""},
      {"LoadImageW", u"", 0xE0001234,
       "LoadImageW failed: error 3758101044 (Windows has no description of it)", ""},
      {"FormWindow::control", u"Label7", ERROR_NOT_FOUND,
       "FormWindow::control failed for Label7: error 1168 (", ".)"},
      {"FormWindow::onClick", u"按鈕1", ERROR_NOT_FOUND,
       "FormWindow::onClick failed for ??1: error 1168 (", ".)"},
  };
  for (const auto& error : errors) {
    SetLastError(error.code);
    try {
      if (error.name.empty())
        throwLastError(error.call);
      throw WindowError(error.call, error.name, error.code);
    } catch (const WindowError& thrown) {
      const std::string text = thrown.what();
      EXPECT_EQ(thrown.code(), error.code);
      EXPECT_EQ(text.substr(0, error.start.size()), error.start);
      EXPECT_TRUE(text.ends_with(error.end)) << text;
      EXPECT_GE(text.size(), error.start.size() + (error.end.empty() ? 0 : 10)) << text;
      EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    }
  }
}

} // namespace
} // namespace velmora::window
