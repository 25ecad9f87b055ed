// Velmora.exe used by hand: typed into, clicked, tabbed through and left, with real X input
// (running_velmora.h tells how).
#include "running_velmora.h"

#include "runtime/run_time_error.h"
#include "tests/ascii.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using testing::ascii;
using testing::Results;
using testing::RunningVelmora;
using testing::UserInput;

using testing::utf16;

const Results empty{};
const Results& tank90 = testing::tank90.figures;

// Clicks into each box and types over what it holds.
UserInput fillIn(const RunningVelmora& velmora, std::string_view length, std::string_view width,
                 std::string_view height) {
  UserInput input;
  input.click(velmora.centre(u"Text1")).retype(length);
  input.click(velmora.centre(u"Text2")).retype(width);
  input.click(velmora.centre(u"Text3")).retype(height);
  return input;
}

UserInput clickStart(const RunningVelmora& velmora) {
  return UserInput().click(velmora.centre(u"Command1"));
}

template <typename Raise> std::u16string messageOf(Raise raise) {
  try {
    raise();
  } catch (const RunTimeError& error) {
    return error.message();
  }
  return {};
}

TEST(VelmoraByHand, ConvertsTheTanksTypedIntoIt) {
  // Empty boxes count as 0.
  const testing::ExampleTank tanks[] = {
      testing::tank120, testing::tank60, {"", "", "", {u"0", u"0", u"0", u"0", u"0"}}};
  RunningVelmora velmora;
  // The focus starts in the length box: 90 × 45 × 45 is typed straight in, tabbing on, and
  // started with a click; the others by clicking into each box, then Tab and Space.
  velmora.perform(UserInput().type("90").keys({"Tab"}).type("45").keys({"Tab"}).type("45").click(
      velmora.centre(u"Command1")));
  EXPECT_EQ(velmora.results(), tank90);
  for (const auto& tank : tanks) {
    SCOPED_TRACE(std::string(tank.length) + " x " + std::string(tank.width) + " x " +
                 std::string(tank.height));
    velmora.perform(fillIn(velmora, tank.length, tank.width, tank.height).keys({"Tab", "space"}));
    EXPECT_EQ(velmora.results(), tank.figures);
    EXPECT_EQ(velmora.text(u"Text1"), utf16(tank.length));
  }
}

TEST(VelmoraByHand, ConvertsOnTheOldestWindowsItClaimsOnWindows7AndOn10) {
  // XP's 64-bit edition is a later Windows, 5.2; the released program is the 32-bit one.
  constexpr bool is64 = sizeof(void*) == 8;
  const struct {
    const char* wineName;
    DWORD major, minor;
  } versions[] = {
      {is64 ? "winxp64" : "winxp", 5, is64 ? 2u : 1u}, {"win7", 6, 1}, {"win10", 10, 0}};
  for (const auto& windows : versions) {
    SCOPED_TRACE(windows.wineName);
    const testing::WineWindowsVersion told(windows.wineName);
    RunningVelmora velmora;
    EXPECT_EQ(velmora.windowsVersion(), std::pair(windows.major, windows.minor));
    velmora.perform(fillIn(velmora, "90", "45", "45").click(velmora.centre(u"Command1")));
    EXPECT_EQ(velmora.results(), tank90);
  }
}

// Started from a shortcut set to run maximized or minimized, Velmora still opens as it does
// from any other: the same frame in the same place, in front, neither maximized nor minimized.
TEST(VelmoraByHand, OpensAtItsOwnSizeWhateverShowStateItIsStartedWith) {
  RECT normal{};
  {
    const RunningVelmora velmora;
    GetWindowRect(velmora.form(), &normal);
  }
  const struct {
    const char* how;
    WORD showState;
  } starts[] = {
      {"maximized", SW_SHOWMAXIMIZED},
      {"minimized", SW_SHOWMINIMIZED},
      {"minimized without activating, as a shortcut's Run: Minimized asks", SW_SHOWMINNOACTIVE},
  };
  for (const auto& start : starts) {
    SCOPED_TRACE(start.how);
    const RunningVelmora velmora(start.showState);
    EXPECT_FALSE(IsZoomed(velmora.form()));
    EXPECT_FALSE(IsIconic(velmora.form()));
    RECT frame{};
    GetWindowRect(velmora.form(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &normal))
        << frame.left << "," << frame.top << " " << frame.right - frame.left << "x"
        << frame.bottom - frame.top << ", not " << normal.left << "," << normal.top << " "
        << normal.right - normal.left << "x" << normal.bottom - normal.top;
  }
}

TEST(VelmoraByHand, NeitherConvertsNorEndsOnEnterOrEsc) {
  RunningVelmora velmora;
  velmora.perform(fillIn(velmora, "90", "45", "45")
                      .keys({"Return", "Escape"})
                      .click(velmora.centre(u"Text1"))
                      .keys({"Escape", "Return", "Tab", "Return", "Escape"}));
  EXPECT_EQ(velmora.results(), empty);
  EXPECT_TRUE(velmora.running());
  EXPECT_EQ(velmora.messageBox(), nullptr);
  // The same boxes convert when the button is clicked.
  velmora.perform(clickStart(velmora));
  EXPECT_EQ(velmora.results(), tank90);
}

TEST(VelmoraByHand, KeepsItsResultsWhenTheBoxesAreEdited) {
  RunningVelmora velmora;
  velmora.perform(fillIn(velmora, "90", "45", "45").click(velmora.centre(u"Command1")));
  ASSERT_EQ(velmora.results(), tank90);
  velmora.perform(fillIn(velmora, "120", "", "7.5").keys({"BackSpace", "Tab", "shift+Tab"}));
  EXPECT_EQ(velmora.text(u"Text3"), u"7.");
  EXPECT_EQ(velmora.results(), tank90);
}

TEST(VelmoraByHand, WritesTheSameTextsOnASecondClick) {
  RunningVelmora velmora;
  velmora.perform(fillIn(velmora, "90", "45", "45").click(velmora.centre(u"Command1")));
  ASSERT_EQ(velmora.results(), tank90);
  // Marked from outside, so the second click is seen to write every box.
  for (const Box box : testing::resultBoxes) {
    velmora.setText(boxName(box), u"-");
  }
  velmora.perform(clickStart(velmora));
  EXPECT_EQ(velmora.results(), tank90);
}

TEST(VelmoraByHand, EndsAtOnceWithExitCodeZero) {
  const struct {
    const char* how;
    bool convertFirst;
    bool closeBox;
  } ways[] = {
      {"離開 after a conversion", true, false},
      {"離開 before any", false, false},
      {"the close box after a conversion", true, true},
      {"the close box before any", false, true},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    RunningVelmora velmora;
    UserInput input = fillIn(velmora, "90", "45", "45");
    if (way.convertFirst) {
      input.click(velmora.centre(u"Command1"));
    }
    velmora.perform(input);
    velmora.send(
        UserInput().click(way.closeBox ? velmora.closeBox() : velmora.centre(u"Command2")));
    EXPECT_EQ(velmora.exitCode(10s), 0u);
  }
}

// Wine draws the close box's cross as a character of its own Marlett font; a prefix that lacks
// the font shows a letter there instead. A cross's ink is the same mirrored left to right; a
// letter's is not.
TEST(VelmoraByHand, ShowsACrossInItsCloseBox) {
  RunningVelmora velmora;
  RECT box = velmora.closeBoxRect();
  // Inside the box's raised edges, whose dark sides would count as ink.
  InflateRect(&box, -3, -3);
  const int width = box.right - box.left, height = box.bottom - box.top;
  ASSERT_GT(width, 4);
  ASSERT_GT(height, 4);

  const testing::Capture shot = testing::captureScreen(box);
  const auto ink = [&](int x, int y) {
    const COLORREF c = shot.at(x, y);
    return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 200;
  };
  int left = width, right = -1, inked = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (ink(x, y)) {
        left = std::min(left, x);
        right = std::max(right, x);
        ++inked;
      }
    }
  }
  int unmatched = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = left; x <= right; ++x) {
      unmatched += ink(x, y) && !ink(left + right - x, y);
    }
  }
  EXPECT_GE(inked, 4);
  EXPECT_LE(unmatched, inked / 10) << inked << " pixels of ink";
}

// The clipboard's text, or nothing when it holds none.
std::u16string clipboardText() {
  std::u16string text;
  if (!OpenClipboard(nullptr)) {
    return text;
  }
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* locked = static_cast<const char16_t*>(GlobalLock(data))) {
      text = locked;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A figure too wide for its box shows rounded, and whole in a tooltip where the pointer rests
// on it; the box's menu puts the whole figure on the clipboard. A figure shown whole has no
// tooltip, and a caption no menu.
TEST(VelmoraByHand, ShowsAndCopiesTheWholeFigureOfARoundedBox) {
  RunningVelmora velmora;
  const testing::ExampleTank& tank = testing::tank91;
  velmora.perform(
      fillIn(velmora, tank.length, tank.width, tank.height).click(velmora.centre(u"Command1")));
  ASSERT_EQ(velmora.results(), tank.figures);
  const auto waitFor = [](auto shows) {
    for (int i = 0; i < 300 && !shows(); ++i) {
      Sleep(10);
    }
    return shows();
  };

  velmora.perform(UserInput().pointAt(velmora.centre(u"Label13")));
  ASSERT_TRUE(waitFor([&] { return velmora.tooltip() != nullptr; }));
  EXPECT_EQ(testing::windowText(velmora.tooltip()), tank.figures[4]);

  for (const auto box : {u"Label5", u"Label11"}) {
    SCOPED_TRACE(ascii(box));
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    velmora.perform(UserInput().rightClick(velmora.centre(box)));
    ASSERT_TRUE(waitFor([&] { return velmora.menu() != nullptr; }));
    velmora.perform(UserInput().keys({"Down", "Return"}));
    EXPECT_TRUE(waitFor([&] { return velmora.menu() == nullptr; }));
    EXPECT_EQ(clipboardText(), velmora.text(box));
  }

  velmora.perform(UserInput().rightClick(velmora.centre(u"Label4")));
  EXPECT_FALSE(waitFor([&] { return velmora.menu() != nullptr; }));
  velmora.perform(fillIn(velmora, "90", "45", "45").click(velmora.centre(u"Command1")));
  velmora.perform(UserInput().pointAt(velmora.centre(u"Label13")));
  EXPECT_FALSE(waitFor([&] { return velmora.tooltip() != nullptr; }));
}

TEST(VelmoraByHand, ReportsAFaultInItsOwnBoxAndGoesOn) {
  // Only a volume box that does not read back as a number makes a conversion fault, and the
  // first step of the same click rewrites that box; so the test plants the text over the
  // program's own write, as if the box had changed behind its back.
  const std::u16string planted = u"三百公升";
  const struct {
    const char* what;
    const char* length;
    const char* width;
    const char* height;
    bool plant;
    const char* dismiss; // a key, or nothing for a click on OK
    std::u16string message;
    Results results;
  } faults[] = {
      {"infinity times zero", "1e999", "", "", false, "Return",
       messageOf([] { raiseFloatingPointError(); }), tank90},
      {"a volume that is not a number",
       "120",
       "50",
       "50",
       true,
       nullptr,
       messageOf([&] { raiseConversionError(planted); }),
       {planted, tank90[1], tank90[2], tank90[3], tank90[4]}},
  };
  for (const auto& fault : faults) {
    SCOPED_TRACE(fault.what);
    RunningVelmora velmora;
    velmora.perform(fillIn(velmora, "90", "45", "45").click(velmora.centre(u"Command1")));
    ASSERT_EQ(velmora.results(), tank90);
    if (fault.plant) {
      velmora.plantAfterNextWrite(u"Label5", planted);
    }
    velmora.perform(fillIn(velmora, fault.length, fault.width, fault.height)
                        .click(velmora.centre(u"Command1")));

    const HWND box = velmora.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), velmora.form());
    EXPECT_EQ(testing::windowText(box), u"Velmora");
    EXPECT_EQ(testing::messageText(box), fault.message);
    RECT ok{};
    GetWindowRect(GetDlgItem(box, IDOK), &ok);
    velmora.perform(fault.dismiss
                        ? UserInput().keys({fault.dismiss})
                        : UserInput().click({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2}));

    EXPECT_EQ(velmora.messageBox(), nullptr);
    EXPECT_TRUE(velmora.running());
    EXPECT_TRUE(velmora.answers());
    EXPECT_EQ(velmora.results(), fault.results);
    EXPECT_EQ(velmora.text(u"Text1"), utf16(fault.length));
    EXPECT_EQ(velmora.text(u"Text2"), utf16(fault.width));
    EXPECT_EQ(velmora.text(u"Text3"), utf16(fault.height));
  }
}

} // namespace
} // namespace velmora
