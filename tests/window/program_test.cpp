// The program's run from start to end (runVelmora), where the start fails: the box it leaves
// the keeper, and when it ends.
#include "window/program.h"

#include "runtime/window/failure_box.h"
#include "window/form1.h"

#include "tests/ascii.h"
#include "tests/window/window_reading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using testing::ascii;
using testing::readAndCloseMessageBox;
using window::ControlDescription;
using window::Kind;

// A start that fails once the window's frame exists, when the dying window has already posted
// its quit: the box says so, in front of every window, names the cause, and the program ends
// only once it is answered.
// A table without a box fails in Form1Boxes, one whose banner is missing in the window's own
// making.
TEST(VelmoraStart, AFailureOnceTheFrameExistsWaitsInItsBoxForAnAnswer) {
  using Rows = std::vector<ControlDescription>;
  const struct {
    const char* what;
    void (*spoil)(Rows&);
    std::u16string reason;
  } failures[] = {
      {"a box missing",
       [](Rows& rows) {
         std::erase_if(rows, [](const ControlDescription& row) { return row.name == u"Label8"; });
       },
       u"FormWindow::requireControl found no control named Label8"},
      {"the banner missing",
       [](Rows& rows) {
         for (ControlDescription& row : rows) {
           if (row.kind == Kind::picture) {
             row.bitmap = 1; // no bitmap of the program's has that id
           }
         }
       },
       u"LoadImageW failed: error "},
  };
  const std::array<wchar_t, 1024> opening = window::failureText(window::Failure::opening, "");
  const std::u16string_view said(reinterpret_cast<const char16_t*>(opening.data()),
                                 std::wcslen(opening.data()) -
                                     std::wcslen(L"an error that gave no description"));
  for (const auto& failure : failures) {
    SCOPED_TRACE(failure.what);
    Rows rows(form1().controls.begin(), form1().controls.end());
    failure.spoil(rows);
    window::FormDescription faulty = form1();
    faulty.controls = rows;

    // A thread of its own, whose queue holds only what this start puts there, as Velmora's
    // does, and a message posted before it, as an input method's window may leave one: Windows
    // makes the quit message only once no other waits.
    std::atomic<bool> answered = false;
    std::atomic<DWORD> starter = 0;
    int code = 0;
    bool answeredFirst = false;
    std::thread start([&] {
      MSG none;
      PeekMessageW(&none, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue, made
      PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
      starter = GetCurrentThreadId();
      code = runVelmora(faulty, GetModuleHandleW(nullptr));
      answeredFirst = answered;
    });
    while (!starter) {
      Sleep(1);
    }
    bool onTop = false;
    const std::u16string shown = readAndCloseMessageBox(starter, &answered, &onTop);
    start.join();

    EXPECT_EQ(code, 1);
    EXPECT_TRUE(onTop) << "the box may open behind other windows";
    EXPECT_TRUE(answeredFirst) << "ended before its box was answered";
    EXPECT_TRUE(shown.starts_with(said)) << ascii(shown);
    EXPECT_NE(shown.find(failure.reason, said.size()), std::u16string::npos) << ascii(shown);
  }
}

} // namespace
} // namespace velmora
