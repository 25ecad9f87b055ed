#pragma once

// The built Velmora.exe run as its own process and used the way a person uses it: real X
// keystrokes and clicks from xdotool, its boxes read back through Win32.
//
// Velmora runs on a Wine virtual desktop of the tests' own (Wine draws the title bar and close
// box there, which a bare X display without a window manager lacks) at the X root's top-left
// corner, so Wine's screen coordinates are X's; the first use checks that. The test's thread
// joins that desktop to find Velmora's windows.
//
// xdotool is a Linux program; Wine starts it from CreateProcess but gives no handle to it, so
// one xdotool runs for the whole test process and reads its script from a file the test adds
// to. Once a script is handed on, its events are on their way, not yet handled: every burst of
// input therefore ends with a tap of Ctrl, which nothing in Velmora answers, and a hook in
// Velmora's thread signals when the thread takes that key from its queue, after every key and
// click before it.
//
// Failures of this machinery (xdotool failing, Velmora not answering in time) throw, and
// GoogleTest reports them.

#include "tests/form1_facts.h"
#include "tests/window/test_handles.h"
#include "tests/window/window_reading.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::testing {

// Keystrokes and clicks, in the order a person makes them.
class UserInput {
public:
  // A left click at a point on the screen; with the right button, rightClick.
  UserInput& click(POINT at);
  UserInput& rightClick(POINT at);
  // The pointer moved to a point, and resting there.
  UserInput& pointAt(POINT at);
  // Keys by their X names, pressed one after the other: "Tab", "shift+Tab", "Return", "Home".
  UserInput& keys(std::initializer_list<std::string_view> names);
  // Printable ASCII text, one key per character.
  UserInput& type(std::string_view text);
  // Selects all of the focused box's text and types text over it (nothing clears it).
  UserInput& retype(std::string_view text);

  const std::string& script() const noexcept { return script_; }
  int events() const noexcept { return events_; }

private:
  std::string script_;
  int events_ = 0;
};

class RunningVelmora {
public:
  // Starts Velmora and waits until its window shows with the focus in Text1. A show state is
  // handed to Velmora as a shortcut set to run maximized or minimized hands it, in STARTUPINFO.
  explicit RunningVelmora(std::optional<WORD> showState = std::nullopt);
  RunningVelmora(const RunningVelmora&) = delete;
  RunningVelmora& operator=(const RunningVelmora&) = delete;
  // Ends Velmora if it still runs.
  ~RunningVelmora();

  HWND form() const noexcept { return form_; }
  // A control by its name in Form1's table: control(u"Text1").
  HWND control(std::u16string_view name) const;
  RECT screenRect(std::u16string_view name) const;
  POINT centre(std::u16string_view name) const;
  // The window's inside, on the screen.
  RECT clientRect() const;
  // Where the title bar's close box is, as the window itself answers WM_NCHITTEST, to within a
  // pixel; and its centre.
  RECT closeBoxRect() const;
  POINT closeBox() const;

  // A box's text, read with WM_GETTEXT.
  std::u16string text(std::u16string_view name) const;
  // The result boxes' texts, in the order of resultBoxes.
  Results results() const;
  // Writes a box's text from outside with WM_SETTEXT; only for tests that need a box to hold
  // what typing cannot put there.
  void setText(std::u16string_view name, std::u16string_view text) const;
  // The next time Velmora writes into the box, text is written over it at once.
  void plantAfterNextWrite(std::u16string_view name, std::u16string_view text);

  // Sends the input and returns once Velmora has handled all of it.
  void perform(const UserInput& input) const;
  // Sends the input without waiting for Velmora: for input that ends it.
  void send(const UserInput& input) const;

  HWND focus() const;
  // The Windows version that Velmora was told at its start, major and minor, as its process
  // environment block holds it for GetVersionEx.
  std::pair<DWORD, DWORD> windowsVersion() const;
  // Velmora's message box, its open menu and its showing tooltip, or null when none shows.
  HWND messageBox() const;
  HWND menu() const;
  HWND tooltip() const;
  // Whether the window answers a message within a few seconds.
  bool answers() const;
  bool running() const;
  // The exit code once Velmora ends; nothing if it still runs after the wait.
  std::optional<DWORD> exitCode(std::chrono::milliseconds wait) const;

private:
  OwnedHandle process_;
  DWORD processId_ = 0;
  DWORD thread_ = 0;
  HWND form_ = nullptr;
  std::vector<HWND> controls_; // Form1's table order
  OwnedHandle takenKeys_;
  OwnedHook keysHook_;
  OwnedHook planter_;
};

// For as long as it lives, Wine tells every Velmora.exe started that it runs on the given
// Windows version ("winxp", "win7", "win10"): winecfg's setting for one program.
class WineWindowsVersion {
public:
  explicit WineWindowsVersion(std::string_view version);
  WineWindowsVersion(const WineWindowsVersion&) = delete;
  WineWindowsVersion& operator=(const WineWindowsVersion&) = delete;
  ~WineWindowsVersion();
};

// The text of a message box.
std::u16string messageText(HWND box);

} // namespace velmora::testing
