// Form1 built for real by the window engine and looked at the way Windows sees it.
#include "conversion/tank_conversion.h"
#include "runtime/window/form_window.h"
#include "runtime/window/units.h"
#include "runtime/window/window_error.h"
#include "window/form1.h"
#include "window/form1_boxes.h"

#include "resources/resource_ids.h"
#include "runtime/window/wide_text.h"
#include "tests/ascii.h"
#include "tests/form1_facts.h"
#include "tests/window/test_handles.h"
#include "tests/window/window_reading.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using testing::ascii;
using testing::Capture;
using testing::captureClient;
using testing::threadWindowOfClass;
using testing::windowText;
using window::ControlDescription;
using window::FormWindow;
using window::Kind;

std::string label(const ControlDescription& row) {
  std::string name = ascii(row.name);
  if (row.index != window::noIndex) {
    name.push_back('(');
    name.append(std::to_string(row.index));
    name.push_back(')');
  }
  return name;
}

void pumpMessages(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// The dpi this run's Wine prefix was made with (tools/wine-run); the layout is checked at it.
int screenDpi() {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"VELMORA_DPI", value, 16);
  return length > 0 && length < 16 ? _wtoi(value) : 96;
}

// A length in pixels at 96 dpi, as it is at the screen's dpi.
int scaled(int pixels) {
  return MulDiv(pixels, screenDpi(), 96);
}

int pixels(int twips) {
  return window::twipsToPixels(twips, screenDpi());
}

RECT placeInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class Form1Window : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    form = std::make_unique<FormWindow>(form1(), GetModuleHandleW(nullptr));
    form->show();
    pumpMessages(std::chrono::milliseconds(300));
  }
  static void TearDownTestSuite() {
    form.reset();
    pumpMessages(std::chrono::milliseconds(50));
  }

  static HWND control(std::u16string_view name, int index = window::noIndex) {
    return form->control(name, index);
  }

  static std::unique_ptr<FormWindow> form;
};

std::unique_ptr<FormWindow> Form1Window::form;

// First, before any other test could move the focus.
TEST_F(Form1Window, OpensWithTheFocusOnTheLengthBox) {
  EXPECT_EQ(GetFocus(), control(u"Text1"));
}

TEST_F(Form1Window, IsAFixedCentredWindowWithACloseBoxOnly) {
  const HWND window = form->handle();
  EXPECT_EQ(windowText(window), u"Velmora");
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_POPUP));
  EXPECT_TRUE(IsWindowVisible(window));

  RECT frame{};
  GetWindowRect(window, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  EXPECT_NEAR(frame.left - screen.left, screen.right - frame.right, 1);
  EXPECT_NEAR(frame.top - screen.top, screen.bottom - frame.bottom, 1);

  EXPECT_NE(GetClassLongPtrW(window, GCLP_HICON), 0);
  EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

// An icon as it draws at size on white.
Capture drawn(HICON icon, int size) {
  const window::ScreenDc screen(GetDC(nullptr));
  const window::MemoryDc memory(CreateCompatibleDC(screen.get()));
  const window::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), size, size));
  const window::Selection selected(memory.get(), bitmap.get());
  const RECT area{0, 0, size, size};
  FillRect(memory.get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(memory.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  return testing::capture(memory.get(), area);
}

// The title bar shows the icon group's own small drawing, not the large one shrunk.
TEST_F(Form1Window, HasTheIconGroupsSmallDrawingForItsSmallIcon) {
  const auto small = reinterpret_cast<HICON>(GetClassLongPtrW(form->handle(), GCLP_HICONSM));
  ASSERT_NE(small, nullptr);
  const int size = GetSystemMetrics(SM_CXSMICON);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(small, &info));
  const window::Bitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP shape{};
  GetObjectW(colour.get(), sizeof shape, &shape);
  EXPECT_EQ(shape.bmWidth, size);
  EXPECT_EQ(shape.bmHeight, size);

  const auto own = static_cast<HICON>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(VELMORA_ICON), IMAGE_ICON, size, size, 0));
  ASSERT_NE(own, nullptr);
  const Capture wanted = drawn(own, size);
  DestroyIcon(own);
  EXPECT_EQ(drawn(small, size).pixels, wanted.pixels);
}

// Every row is a control of the window showing its text; the dialog keys' ids are no control's,
// so Enter and Esc run nothing; and an input box takes any size a keeper types or pastes: no
// digits-only style (it would refuse 45.7), and no limit but the system's, far past the 30 000
// characters an edit box takes unasked. How each kind draws is checked by its pixels below.
TEST_F(Form1Window, BuildsEveryRowShowingItsTextAndTheInputBoxesTakeAnySize) {
  for (const auto& row : form1().controls) {
    SCOPED_TRACE(label(row));
    const HWND child = control(row.name, row.index);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), form->handle());
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(windowText(child), row.text);
    const int id = GetDlgCtrlID(child);
    EXPECT_NE(id, IDOK);
    EXPECT_NE(id, IDCANCEL);
    if (row.kind == Kind::input) {
      EXPECT_TRUE(style & ES_AUTOHSCROLL); // else typing stops at the box's right edge
      EXPECT_FALSE(style & (ES_MULTILINE | ES_READONLY | ES_NUMBER));
      EXPECT_GT(SendMessageW(child, EM_GETLIMITTEXT, 0, 0), 0x7FFF0000);
    }
  }
}

// The client area, every row's place, and every font's face, charset, weight and height, as
// they must be at dpi.
void expectLaidOutAt(const FormWindow& form, int dpi) {
  RECT client{};
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(client.right, window::twipsToPixels(form1().clientWidth, dpi));
  EXPECT_EQ(client.bottom, window::twipsToPixels(form1().clientHeight, dpi));
  for (const auto& row : form1().controls) {
    SCOPED_TRACE(label(row));
    const HWND child = form.control(row.name, row.index);
    const RECT place = placeInParent(child);
    EXPECT_EQ(place.left, window::twipsToPixels(row.left, dpi));
    EXPECT_EQ(place.top, window::twipsToPixels(row.top, dpi));
    EXPECT_EQ(place.right - place.left, window::twipsToPixels(row.width, dpi));
    EXPECT_EQ(place.bottom - place.top, window::twipsToPixels(row.height, dpi));
    if (row.font == window::noFont) {
      continue;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW logFont{};
    ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    const auto& wanted = form1().fonts[static_cast<std::size_t>(row.font)];
    const std::u16string_view face(reinterpret_cast<const char16_t*>(logFont.lfFaceName));
    EXPECT_NE(std::find(wanted.faces.begin(), wanted.faces.end(), face), wanted.faces.end())
        << ascii(face);
    EXPECT_EQ(logFont.lfCharSet, wanted.charset);
    EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
    EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    EXPECT_EQ(logFont.lfHeight, window::fontHeight(wanted.centipoints, dpi));
  }
}

TEST_F(Form1Window, LaysEveryRowOutAtTheScreensDpi) {
  expectLaidOutAt(*form, screenDpi());
}

// The extent of text in a control's font (the face the window chose for it), made at dpi.
SIZE extentAt(HWND control, const ControlDescription& row, std::u16string_view text, int dpi) {
  LOGFONTW logFont{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof logFont,
             &logFont);
  logFont.lfHeight =
      window::fontHeight(form1().fonts[static_cast<std::size_t>(row.font)].centipoints, dpi);
  const window::Font font(CreateFontIndirectW(&logFont));
  const window::ScreenDc screen(GetDC(nullptr));
  const HGDIOBJ previous = SelectObject(screen.get(), font.get());
  SIZE extent{};
  GetTextExtentPoint32W(screen.get(), window::wideUnits(text), static_cast<int>(text.size()),
                        &extent);
  SelectObject(screen.get(), previous);
  return extent;
}

// Every caption, in the face the window chose, fits inside its control on the common screens:
// nothing wraps out of sight or is cut at an edge.
TEST_F(Form1Window, FitsEveryCaptionInsideItsControlAtEveryDpi) {
  for (const int dpi : {96, 120, 144, 192}) {
    for (const auto& row : form1().controls) {
      if (row.text.empty()) {
        continue;
      }
      SCOPED_TRACE(label(row) + " at " + std::to_string(dpi) + " dpi");
      const SIZE extent = extentAt(control(row.name, row.index), row, row.text, dpi);
      // A button draws its caption inside its raised edges, two pixels each side at 96 dpi.
      const int edges = row.kind == Kind::button ? MulDiv(4, dpi, 96) : 0;
      EXPECT_LE(extent.cx, window::twipsToPixels(row.width, dpi) - edges);
      EXPECT_LE(extent.cy, window::twipsToPixels(row.height, dpi) - edges);
    }
  }
}

TEST_F(Form1Window, TabsThroughTheBoxesThenTheButtons) {
  const HWND window = form->handle();
  const std::array<HWND, 6> order{control(u"Text1"),    control(u"Text2"),    control(u"Text3"),
                                  control(u"Command1"), control(u"Command2"), control(u"Text1")};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(window, order[i], FALSE), order[i + 1]) << i;
    EXPECT_EQ(GetNextDlgTabItem(window, order[i + 1], TRUE), order[i]) << i;
  }
}

TEST_F(Form1Window, PutsEachBoxRightAfterItsCaption) {
  const std::pair<const char16_t*, const char16_t*> pairs[] = {
      {u"Text1", u"Label1"}, {u"Text2", u"Label2"}, {u"Text3", u"Label3"}};
  for (const auto& [box, caption] : pairs) {
    EXPECT_EQ(GetWindow(control(box), GW_HWNDPREV), control(caption)) << ascii(box);
  }
}

bool similar(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

TEST_F(Form1Window, PaintsTheResultBoxesTheNoteAndTheBanner) {
  RedrawWindow(form->handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pumpMessages(std::chrono::milliseconds(200));
  const Capture shot = captureClient(form->handle());
  ASSERT_EQ(shot.width, pixels(3060));
  ASSERT_EQ(shot.height, pixels(5400));

  for (const auto& row : form1().controls) {
    if (row.kind != Kind::result) {
      continue;
    }
    SCOPED_TRACE(label(row));
    const RECT place = placeInParent(control(row.name, row.index));
    const COLORREF wanted = RGB(row.background->red, row.background->green, row.background->blue);
    // Inside the border, across the box.
    for (int x = place.left + 3; x < place.right - 3; x += 5) {
      EXPECT_EQ(shot.at(x, (place.top + place.bottom) / 2), wanted) << x;
    }
  }

  // The note is red to its last character: 位 is drawn in its place on the note's one line,
  // not wrapped below it out of sight.
  const ControlDescription& noteRow =
      *std::find_if(form1().controls.begin(), form1().controls.end(),
                    [](const ControlDescription& row) { return row.foreground.has_value(); });
  const HWND noteLabel = control(noteRow.name, noteRow.index);
  const RECT note = placeInParent(noteLabel);
  const int lastStarts =
      note.left + extentAt(noteLabel, noteRow, noteRow.text.substr(0, 10), screenDpi()).cx;
  const int lastEnds = note.left + extentAt(noteLabel, noteRow, noteRow.text, screenDpi()).cx;
  ASSERT_LE(lastEnds, note.right);
  int red = 0;
  for (int y = note.top; y < note.bottom; ++y) {
    for (int x = lastStarts; x < lastEnds; ++x) {
      const COLORREF c = shot.at(x, y);
      red += GetRValue(c) > 200 && GetGValue(c) < 160 && GetBValue(c) < 160;
    }
  }
  EXPECT_GT(red, scaled(scaled(12)));

  // Right of the calculator and the title, the banner is its plain sky: blue at the top,
  // nearly white at the bottom.
  for (int x = scaled(188); x < scaled(200); ++x) {
    for (int y = 0; y < scaled(3); ++y) {
      EXPECT_TRUE(similar(shot.at(x, y), RGB(129, 202, 240), 12)) << x << "," << y;
    }
    for (int y = scaled(30); y < scaled(33); ++y) {
      EXPECT_TRUE(similar(shot.at(x, y), RGB(235, 247, 254), 12)) << x << "," << y;
    }
  }
  // Below the banner, the window's own face.
  EXPECT_EQ(shot.at(scaled(100), scaled(36)), GetSysColor(COLOR_BTNFACE));

  // The picture starts 24 pixels left of the window, so its calculator (picture columns 35 to
  // 68) stands at 11 to 44 and its teal title (77 to 205) at 53 to 181, with plain sky
  // between and after them.
  const auto count = [&](int from, int to, auto&& wanted) {
    int found = 0;
    for (int y = 0; y < scaled(35); ++y) {
      for (int x = scaled(from); x < scaled(to); ++x) {
        found += wanted(shot.at(x, y), shot.at(scaled(2), y));
      }
    }
    return found;
  };
  const auto notSky = [](COLORREF c, COLORREF sky) { return !similar(c, sky, 24); };
  const auto teal = [](COLORREF c, COLORREF) { return similar(c, RGB(0, 112, 122), 40); };
  EXPECT_GT(count(11, 45, notSky), scaled(scaled(300)));
  EXPECT_EQ(count(0, 10, notSky), 0);
  EXPECT_GT(count(53, 182, teal), scaled(scaled(400)));
  EXPECT_EQ(count(46, 52, notSky), 0);
  EXPECT_EQ(count(183, 204, notSky), 0);
}

// A figure drawn with a box's font into a memory DC the size of the box's inside, as the box
// must draw it: centred on one line over the box's colour.
testing::Capture drawnAlone(HWND box, const ControlDescription& row, std::u16string_view text) {
  RECT inside{};
  GetClientRect(box, &inside);
  const window::ScreenDc screen(GetDC(nullptr));
  const window::MemoryDc memory(CreateCompatibleDC(screen.get()));
  const window::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), inside.right, inside.bottom));
  const window::Selection selectedBitmap(memory.get(), bitmap.get());
  {
    const COLORREF colour = RGB(row.background->red, row.background->green, row.background->blue);
    const window::Brush brush(CreateSolidBrush(colour));
    FillRect(memory.get(), &inside, brush.get());
    const window::Selection selectedFont(
        memory.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SetBkColor(memory.get(), colour);
    SetTextColor(memory.get(), GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(memory.get(), window::wideUnits(text), static_cast<int>(text.size()), &inside,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  return testing::capture(memory.get(), inside);
}

// What each result box draws is its figure, or that figure rounded to the digits that fit:
// pixel for pixel the rounded text drawn alone, with no ink at the box's inner edges. The box's
// own text stays the whole figure.
TEST_F(Form1Window, DrawsEachFigureWholeOrRoundedNeverCut) {
  using testing::Results;
  const struct {
    const testing::ExampleTank& tank;
    Results drawn, drawnAt144; // one pixel kept clear at 96 dpi, two at 144
  } tanks[] = {
      {testing::tank91,
       {u"191.097", u"152.877", u"191.097", u"573.291", u"955.484"},
       {u"191.1", u"152.88", u"191.1", u"573.29", u"955.48"}},
      {testing::tank33,
       {u"36.926", u"29.5408", u"36.926", u"110.778", u"184.63"},
       {u"36.926", u"29.541", u"36.926", u"110.78", u"184.63"}},
      {testing::tank90, testing::tank90.figures, testing::tank90.figures},
  };
  Form1Boxes written(*form);
  for (const auto& [tank, drawnAt96, drawnAt144] : tanks) {
    SCOPED_TRACE(std::string(tank.length) + " x " + std::string(tank.width) + " x " +
                 std::string(tank.height));
    for (const auto& [box, size] :
         {std::pair(u"Text1", tank.length), std::pair(u"Text2", tank.width),
          std::pair(u"Text3", tank.height)}) {
      SetWindowTextW(control(box), window::TerminatedText(testing::utf16(size)).get());
    }
    convertTank(written);
    pumpMessages(std::chrono::milliseconds(100));
    for (std::size_t i = 0; i < testing::resultBoxes.size(); ++i) {
      const std::u16string_view name = boxName(testing::resultBoxes[i]);
      SCOPED_TRACE(ascii(name));
      const HWND box = control(name);
      const auto& row = *std::find_if(form1().controls.begin(), form1().controls.end(),
                                      [&](const ControlDescription& r) { return r.name == name; });
      const Capture shown = captureClient(box);
      const std::u16string_view drawn = screenDpi() == 144 ? drawnAt144[i] : drawnAt96[i];
      const Capture wanted = drawnAlone(box, row, drawn);
      EXPECT_EQ(windowText(box), tank.figures[i]);
      EXPECT_EQ(shown.pixels, wanted.pixels) << ascii(drawn);
      const COLORREF colour = RGB(row.background->red, row.background->green, row.background->blue);
      for (int y = 0; y < shown.height; ++y) {
        EXPECT_EQ(shown.at(0, y), colour) << y;
        EXPECT_EQ(shown.at(shown.width - 1, y), colour) << y;
      }
    }
  }
  for (const Box box : testing::resultBoxes) {
    SetWindowTextW(control(boxName(box)), L"");
  }
  for (const auto box : {u"Text1", u"Text2", u"Text3"}) {
    SetWindowTextW(control(box), L"");
  }
}

// Refuses to make any tooltip on this thread, as a comctl32 that lacks the class or takes the
// tool for a size it does not know would.
LRESULT CALLBACK refuseTooltips(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code == HCBT_CREATEWND) {
    const LPCWSTR name = reinterpret_cast<const CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(name) && lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The tooltip only repeats what a box holds: where Windows will not make it, the window still
// opens and still draws a figure too wide for its box rounded to the digits that fit.
TEST(Form1WithoutTooltips, OpensAndStillRoundsItsFigures) {
  const testing::OwnedHook hook(
      SetWindowsHookExW(WH_CBT, refuseTooltips, nullptr, GetCurrentThreadId()));
  ASSERT_TRUE(hook);
  FormWindow bare(form1(), GetModuleHandleW(nullptr));
  bare.show();
  ASSERT_FALSE(threadWindowOfClass(GetCurrentThreadId(), u"tooltips_class32"));
  SetWindowTextW(bare.control(u"Text1"), L"91.5");
  SetWindowTextW(bare.control(u"Text2"), L"45.7");
  SetWindowTextW(bare.control(u"Text3"), L"45.7");
  Form1Boxes boxes(bare);
  convertTank(boxes);
  pumpMessages(std::chrono::milliseconds(100));

  const HWND volume = bare.control(u"Label5");
  const auto& row = *std::find_if(form1().controls.begin(), form1().controls.end(),
                                  [](const ControlDescription& r) { return r.name == u"Label5"; });
  EXPECT_EQ(windowText(volume), u"191.096835");
  const std::u16string_view rounded = screenDpi() == 144 ? u"191.1" : u"191.097";
  EXPECT_EQ(captureClient(volume).pixels, drawnAlone(volume, row, rounded).pixels);
}

// Moved to a screen of 144 dpi, the window rebuilds its fonts and places at the new dpi.
TEST(Form1DpiChange, LaysTheWindowOutAgainAtTheNewDpi) {
  FormWindow moved(form1(), GetModuleHandleW(nullptr));
  moved.show();
  const int dpi = screenDpi() * 3 / 2;
  RECT suggested{};
  GetWindowRect(moved.handle(), &suggested);
  SendMessageW(moved.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  pumpMessages(std::chrono::milliseconds(100));

  EXPECT_EQ(moved.dpi(), dpi);
  expectLaidOutAt(moved, dpi);
}

// Every place and size the window takes, from its WM_WINDOWPOSCHANGED.
LRESULT CALLBACK recordFrames(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR frames) noexcept {
  if (message == WM_WINDOWPOSCHANGED) {
    const auto& place = *reinterpret_cast<const WINDOWPOS*>(lParam);
    if ((place.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
      reinterpret_cast<std::vector<RECT>*>(frames)->push_back(
          {place.x, place.y, place.x + place.cx, place.y + place.cy});
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// Moved to a screen of another dpi, the window goes straight into the frame Windows suggests,
// as big as the window says it must be there: never first resized where it was.
TEST(Form1DpiChange, TakesTheSuggestedFrameInOneMove) {
  FormWindow moved(form1(), GetModuleHandleW(nullptr));
  moved.show();
  const int dpi = screenDpi() * 3 / 2;
  RECT before{};
  GetWindowRect(moved.handle(), &before);
  SIZE size{before.right - before.left, before.bottom - before.top};
  ASSERT_TRUE(SendMessageW(moved.handle(), WM_GETDPISCALEDSIZE, static_cast<WPARAM>(dpi),
                           reinterpret_cast<LPARAM>(&size)));
  const RECT suggested{before.left + 40, before.top + 30, before.left + 40 + size.cx,
                       before.top + 30 + size.cy};
  std::vector<RECT> frames;
  ASSERT_TRUE(
      SetWindowSubclass(moved.handle(), recordFrames, 1, reinterpret_cast<DWORD_PTR>(&frames)));
  SendMessageW(moved.handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  RemoveWindowSubclass(moved.handle(), recordFrames, 1);

  ASSERT_FALSE(frames.empty());
  EXPECT_TRUE(EqualRect(&frames.front(), &suggested));
  // Wine, which draws its frame at the system's dpi, may need one more step in place.
  for (const RECT& frame : frames) {
    EXPECT_EQ(std::pair(frame.left, frame.top), std::pair(suggested.left, suggested.top));
  }
  expectLaidOutAt(moved, dpi);
}

constexpr wchar_t announcementsProperty[] = L"Velmora.Announcements";

// Counts, on each control, the live-region changes a screen reader is told of.
void CALLBACK countAnnouncement(HWINEVENTHOOK, DWORD, HWND control, LONG object, LONG child, DWORD,
                                DWORD) noexcept {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) {
    const auto count = reinterpret_cast<UINT_PTR>(GetPropW(control, announcementsProperty));
    SetPropW(control, announcementsProperty, reinterpret_cast<HANDLE>(count + 1));
  }
}

// Each click on 開始換算 has a screen reader read out the volume it wrote, and no other box.
TEST(Form1ScreenReader, HearsTheVolumeAfterEachConversion) {
  FormWindow form(form1(), GetModuleHandleW(nullptr));
  Form1Boxes boxes(form);
  form.onClick(u"Command1", [&boxes] { convertTank(boxes); });
  form.show();
  const testing::OwnedWinEventHook hook(SetWinEventHook(
      EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, countAnnouncement,
      GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT));
  ASSERT_TRUE(hook);
  SetWindowTextW(form.control(u"Text1"), L"90");
  SetWindowTextW(form.control(u"Text2"), L"45");
  SetWindowTextW(form.control(u"Text3"), L"45");
  for (int click = 0; click < 2; ++click) {
    SendMessageW(form.control(u"Command1"), BM_CLICK, 0, 0);
  }
  pumpMessages(std::chrono::milliseconds(100));

  EXPECT_EQ(windowText(form.control(u"Label5")), u"182.25");
  for (const auto& row : form1().controls) {
    const HWND control = form.control(row.name, row.index);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(RemovePropW(control, announcementsProperty)),
              row.name == u"Label5" ? 2u : 0u)
        << label(row);
  }
}

} // namespace
} // namespace velmora
