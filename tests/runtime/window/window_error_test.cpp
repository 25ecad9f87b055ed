// The window engine's error: what it says of a failed call, and the box that tells the user.
#include "runtime/window/failure_box.h"
#include "runtime/window/window_error.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
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

// The box says, in Chinese and then in English, whether the window never opened or failed once
// open, what to do, and a reason that is never empty and never overruns the box's text.
TEST(FailureBox, SaysWhatFailedWhatToDoAndAReasonThatIsNeverEmpty) {
  const std::string tooLong(2000, 'x');
  const struct {
    Failure when;
    const char* reason;
    std::wstring first, english, end;
  } boxes[] = {
      {Failure::opening, "CreateWindowExW failed: error 1407 (Cannot find window class.)",
       L"Velmora 無法開啟視窗。\n", L"Velmora could not open its window.\n",
       L"\n\n原因 Reason: CreateWindowExW failed: error 1407 (Cannot find window class.)"},
      {Failure::running, "GetMessageW failed: error 87 (The parameter is incorrect.)",
       L"Velmora 執行時發生錯誤，必須結束。\n",
       L"Velmora ran into an error while running and has to close.\n",
       L"原因 Reason: GetMessageW failed: error 87 (The parameter is incorrect.)"},
      {Failure::opening, "", L"Velmora 無法開啟視窗。\n", L"Velmora could not open its window.\n",
       L"原因 Reason: an error that gave no description"},
      {Failure::running, nullptr, L"Velmora 執行時發生錯誤，必須結束。\n", L"has to close.\n",
       L"原因 Reason: an error that gave no description"},
      {Failure::opening, tooLong.c_str(), L"Velmora 無法開啟視窗。\n",
       L"Velmora could not open its window.\n", L"原因 Reason: xxxxxxxx"},
  };
  for (const auto& box : boxes) {
    const std::array<wchar_t, 1024> text = failureText(box.when, box.reason);
    const std::wstring shown(text.data(), std::wcslen(text.data()));
    EXPECT_TRUE(shown.starts_with(box.first)) << box.reason;
    EXPECT_LT(shown.find(L"請重新啟動 Velmora"), shown.find(box.english)) << box.reason;
    EXPECT_NE(shown.find(L"Start Velmora again"), std::wstring::npos) << box.reason;
    EXPECT_NE(shown.find(L"press Ctrl+C to copy this message"), std::wstring::npos);
    if (box.reason == tooLong.c_str()) {
      EXPECT_EQ(shown.size(), text.size() - 1);
      EXPECT_NE(shown.find(box.end), std::wstring::npos);
    } else {
      EXPECT_TRUE(shown.ends_with(box.end)) << box.reason;
    }
  }
}

} // namespace
} // namespace velmora::window
