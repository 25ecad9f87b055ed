// The box that says Velmora cannot start or go on: what it says, as the keeper reads it.
#include "runtime/window/failure_box.h"

#include "runtime/report_place.h"
#include "runtime/window/wide_text.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace velmora::window {
namespace {

// The box says, in Chinese and then in English, whether the window never opened or failed once
// open, what to do, where to report it when it keeps happening, and a reason that is never empty
// and never overruns the box's text.
TEST(FailureBox, SaysWhatFailedWhatToDoWhereToReportAndAReasonThatIsNeverEmpty) {
  const auto wide = [](std::u16string_view text) {
    return std::wstring(wideUnits(text), text.size());
  };
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
    const std::size_t english = shown.find(box.english);
    EXPECT_LT(shown.find(L"請再開啟"), english) << box.reason;
    EXPECT_LT(shown.find(wide(reportStepChinese)), english) << box.reason;
    EXPECT_GT(shown.find(L"Open Velmora again"), english) << box.reason;
    EXPECT_GT(shown.find(wide(reportStepEnglish)), english) << box.reason;
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
