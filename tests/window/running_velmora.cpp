#include "running_velmora.h"

#include "runtime/window/wide_text.h"
#include "test_hooks.h"
#include "tests/wine_path.h"
#include "window/form1.h"

#include <winternl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace velmora::testing {

namespace {

using namespace std::chrono_literals;

constexpr wchar_t desktopName[] = L"VelmoraUserTests";
constexpr wchar_t desktopSize[] = L"520x440";
constexpr RECT desktopRect{0, 0, 520, 440};

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what);
}

[[noreturn]] void failWithLastError(const std::string& what) {
  fail(what + " failed, error " + std::to_string(GetLastError()));
}

template <typename Condition>
void waitUntil(Condition done, const std::string& what, std::chrono::milliseconds limit = 30s) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      fail("gave up waiting for " + what);
    }
    Sleep(5);
  }
}

std::wstring wide(std::string_view utf8) {
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                          static_cast<int>(text.size()))));
  return text;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The Linux process id of this Wine session's server. The server opens every file its
// processes ask for, so /proc/self read through Wine is the server's own record. (A Linux program
// Wine starts is handed to init, so it cannot name its starter as its parent.)
std::string wineServerProcessId() {
  const std::string stat = readFile(L"Z:\\proc\\self\\stat");
  const std::string id = stat.substr(0, stat.find(' '));
  if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos) {
    fail("cannot read the Wine server's Linux process id from /proc/self/stat");
  }
  return id;
}

// One xdotool for the whole test process, fed its script as the test goes: each start of
// xdotool costs a connection to X and the keyboard's whole map, half a second in a virtual
// machine, which a storm's hundreds of bursts of input would pay each time. Wine starts a Linux
// program from CreateProcess but gives no handle to it, so the script is a file that tail hands
// on to `xdotool -` line by line as the test adds to it; a last line that sed stops at ends
// them, and a shell around them leaves xdotool's exit status in a file once it ends. The files
// lie in a folder of this process's own, so that two runs of the same build (a soak beside make
// test) never share them; Wine's process ids are only unique within one Wine session, hence the
// time beside it. Should the test process die without ending them, tail ends with the
// session's Wine server, and the rest with tail.
class Xdotool {
public:
  Xdotool()
      : folder_(std::string(VELMORA_USER_TEST_DIR) + "/" + std::to_string(GetCurrentProcessId()) +
                "-" + std::to_string(GetTickCount64())),
        windowsFolder_(winePath(folder_)) {
    std::filesystem::create_directories(windowsFolder_);
    std::ofstream(windowsFolder_ / L"input.xdo", std::ios::binary).flush();
    const std::string inFolder = "'" + folder_ + "/";
    // tail polls every 10 ms where the folder gives it no notice of changes.
    const std::string shell = "tail -s 0.01 --pid=" + wineServerProcessId() + " -n +1 -f " +
                              inFolder + "input.xdo' | sed -u '/^" + endLine +
                              "$/Q' | xdotool - >" + inFolder + "input.log' 2>&1; echo $? >" +
                              inFolder + "input.tmp'; mv " + inFolder + "input.tmp' " + inFolder +
                              "input.status'";
    std::wstring commandLine = L"/bin/sh -c \"" + wide(shell) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
      failWithLastError("starting xdotool");
    }
    OwnedHandle process(started.hProcess), thread(started.hThread);
  }
  Xdotool(const Xdotool&) = delete;
  Xdotool& operator=(const Xdotool&) = delete;
  ~Xdotool() { add(std::string(endLine) + "\n"); }

  // Hands the script on to xdotool, which sends its input at once, without waiting for it.
  void run(const std::string& script) {
    if (ended()) {
      fail("xdotool has ended: " + readFile(windowsFolder_ / L"input.log"));
    }
    add(script);
  }
  bool ended() const { return std::filesystem::exists(windowsFolder_ / L"input.status"); }
  std::string log() const { return readFile(windowsFolder_ / L"input.log"); }

private:
  static constexpr const char* endLine = "# the end";
  void add(const std::string& script) {
    std::ofstream(windowsFolder_ / L"input.xdo", std::ios::binary | std::ios::app) << script;
  }

  std::string folder_;
  std::filesystem::path windowsFolder_;
};

Xdotool& xdotool() {
  static Xdotool started;
  return started;
}

void runXdotool(const std::string& script) {
  xdotool().run(script);
}

// Puts the calling thread on the tests' own Wine desktop, the first time only, and checks that
// a point on it is the same point on the X display.
void joinTestDesktop() {
  static const bool joined = [] {
    // Wine gives a desktop named here a virtual desktop window of that size.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      fail("cannot open Wine's desktop settings");
    }
    const LONG set = RegSetValueExW(key, desktopName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(desktopSize), sizeof desktopSize);
    RegCloseKey(key);
    if (set != ERROR_SUCCESS) {
      fail("cannot set the tests' desktop size");
    }
    // Kept for the whole run: the thread stays on it.
    const HDESK desktop = CreateDesktopW(desktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop || !SetThreadDesktop(desktop)) {
      failWithLastError("joining the tests' desktop");
    }

    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    if (!EqualRect(&screen, &desktopRect)) {
      fail("Wine did not make the tests' desktop a 520x440 virtual desktop");
    }
    for (const POINT point : {POINT{17, 23}, POINT{503, 421}}) {
      runXdotool("mousemove " + std::to_string(point.x) + " " + std::to_string(point.y) + "\n");
      waitUntil(
          [&] {
            POINT cursor{};
            return GetCursorPos(&cursor) && cursor.x == point.x && cursor.y == point.y;
          },
          "the pointer moved by X to land on the same point of Wine's desktop");
    }
    return true;
  }();
  static_cast<void>(joined);
}

struct WindowSearch {
  DWORD process;
  std::u16string_view className; // in capitals
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) noexcept {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search.process && IsWindowVisible(window) &&
      className(window) == search.className) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND findWindow(DWORD process, std::u16string_view className) {
  WindowSearch search{process, className, nullptr};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string keyName(char c) {
  if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
    return std::string(1, c);
  }
  switch (c) {
  case '.':
    return "period";
  case '-':
    return "minus";
  case '+':
    return "plus";
  case ' ':
    return "space";
  default:
    throw std::invalid_argument(std::string("no key for '") + c + "'");
  }
}

} // namespace

UserInput& UserInput::click(POINT at) {
  pointAt(at).script_ += "click --delay 1 1\n";
  return *this;
}

UserInput& UserInput::rightClick(POINT at) {
  pointAt(at).script_ += "click --delay 1 3\n";
  return *this;
}

UserInput& UserInput::pointAt(POINT at) {
  script_ += "mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + "\n";
  ++events_;
  return *this;
}

UserInput& UserInput::keys(std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names) {
    script_.append("key --delay 1 ").append(name).append("\n");
    ++events_;
  }
  return *this;
}

UserInput& UserInput::type(std::string_view text) {
  for (const char c : text) {
    keys({keyName(c)});
  }
  return *this;
}

UserInput& UserInput::retype(std::string_view text) {
  keys({"Home", "shift+End"});
  return text.empty() ? keys({"BackSpace"}) : type(text);
}

std::u16string messageText(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (className(child) == u"STATIC") {
      if (std::u16string text = windowText(child); !text.empty()) {
        return text;
      }
    }
  }
  return {};
}

constexpr wchar_t velmoraSettings[] = L"Software\\Wine\\AppDefaults\\Velmora.exe";

WineWindowsVersion::WineWindowsVersion(std::string_view version) {
  const std::wstring value(version.begin(), version.end());
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, velmoraSettings, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    fail("cannot open Wine's settings for Velmora.exe");
  }
  const LONG set =
      RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  if (set != ERROR_SUCCESS) {
    fail("cannot set the Windows version Wine tells Velmora.exe");
  }
}

WineWindowsVersion::~WineWindowsVersion() {
  RegDeleteKeyW(HKEY_CURRENT_USER, velmoraSettings);
}

RunningVelmora::RunningVelmora(std::optional<WORD> showState) {
  joinTestDesktop();
  std::wstring commandLine = L"\"" + winePath(VELMORA_EXE).wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = const_cast<wchar_t*>(desktopName);
  if (showState) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = *showState;
  }
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    failWithLastError("starting Velmora.exe");
  }
  process_ = OwnedHandle(started.hProcess);
  OwnedHandle thread(started.hThread);
  processId_ = started.dwProcessId;

  // A Velmora that does not show as it should is ended, not left running past its test.
  try {
    waitUntil([&] { return (form_ = findWindow(processId_, u"VELMORA.FORM")) != nullptr; },
              "Velmora's window");
    thread_ = GetWindowThreadProcessId(form_, nullptr);
    // The window shows before Velmora's first look at its queue; a message sent in between may
    // find the thread "hung" (no look for five seconds, as a start in a busy virtual machine can
    // take) and be refused at once. Velmora is ready once it waits for input.
    if (WaitForInputIdle(process_.get(), 30000) != 0) {
      fail("gave up waiting for Velmora to wait for input");
    }
    // The children in z-order are the table's rows in order.
    for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      controls_.push_back(child);
    }
    if (controls_.size() != form1().controls.size()) {
      fail("Velmora's window has " + std::to_string(controls_.size()) + " controls");
    }
    waitUntil([&] { return GetForegroundWindow() == form_ && focus() == control(u"Text1"); },
              "Velmora's window to come to the front with the focus in Text1");

    takenKeys_ = OwnedHandle(
        CreateSemaphoreW(nullptr, 0, LONG_MAX, takenKeySemaphoreName(processId_).c_str()));
    if (!takenKeys_.get()) {
      failWithLastError("creating the taken-key semaphore");
    }
    // A namesake left by an earlier process of the same id must not count.
    while (WaitForSingleObject(takenKeys_.get(), 0) == WAIT_OBJECT_0) {
    }
    keysHook_ = OwnedHook(hookTakenKeys(thread_));
    if (!keysHook_) {
      failWithLastError("hooking Velmora's thread");
    }
  } catch (...) {
    TerminateProcess(process_.get(), 1);
    throw;
  }
}

RunningVelmora::~RunningVelmora() {
  if (running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
}

HWND RunningVelmora::control(std::u16string_view name) const {
  const auto& rows = form1().controls;
  const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) {
    return r.name == name && r.index == window::noIndex;
  });
  if (row == rows.end()) {
    throw std::invalid_argument("Form1 has no single control of that name");
  }
  return controls_[static_cast<std::size_t>(row - rows.begin())];
}

RECT RunningVelmora::screenRect(std::u16string_view name) const {
  RECT rect{};
  GetWindowRect(control(name), &rect);
  return rect;
}

POINT RunningVelmora::centre(std::u16string_view name) const {
  const RECT rect = screenRect(name);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT RunningVelmora::clientRect() const {
  RECT rect{};
  GetClientRect(form_, &rect);
  MapWindowPoints(form_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT RunningVelmora::closeBoxRect() const {
  RECT frame{};
  GetWindowRect(form_, &frame);
  RECT found{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  // Every other pixel of the title bar's right end is fine enough to find a box ~16 pixels wide.
  for (LONG y = frame.top; y < std::min(frame.bottom, frame.top + 40); y += 2) {
    for (LONG x = frame.right - 1; x >= std::max(frame.left, frame.right - 80); x -= 2) {
      DWORD_PTR hit = HTNOWHERE;
      SendMessageTimeoutW(form_, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 5000, &hit);
      if (hit == HTCLOSE) {
        found = {std::min(found.left, x), std::min(found.top, y), std::max(found.right, x),
                 std::max(found.bottom, y)};
      }
    }
  }
  if (found.left > found.right) {
    fail("Velmora's window shows no close box");
  }
  return found;
}

POINT RunningVelmora::closeBox() const {
  const RECT found = closeBoxRect();
  return {(found.left + found.right) / 2, (found.top + found.bottom) / 2};
}

std::u16string RunningVelmora::text(std::u16string_view name) const {
  return windowText(control(name));
}

Results RunningVelmora::results() const {
  Results texts;
  for (std::size_t i = 0; i < resultBoxes.size(); ++i) {
    texts[i] = text(boxName(resultBoxes[i]));
  }
  return texts;
}

void RunningVelmora::setText(std::u16string_view name, std::u16string_view text) const {
  DWORD_PTR done = 0;
  if (!SendMessageTimeoutW(control(name), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(window::TerminatedText(text).get()),
                           SMTO_ABORTIFHUNG, 5000, &done)) {
    failWithLastError("WM_SETTEXT");
  }
}

void RunningVelmora::plantAfterNextWrite(std::u16string_view name, std::u16string_view text) {
  if (!planter_) {
    planter_ = OwnedHook(hookTextPlanting(thread_));
    if (!planter_) {
      failWithLastError("hooking Velmora's thread");
    }
  }
  const ATOM atom = GlobalAddAtomW(window::TerminatedText(text).get());
  if (!atom || !SetPropW(control(name), plantedTextProperty,
                         reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)))) {
    failWithLastError("planting a text");
  }
}

void RunningVelmora::send(const UserInput& input) const {
  runXdotool(input.script());
}

void RunningVelmora::perform(const UserInput& input) const {
  runXdotool(input.script() + "key --delay 1 Control_L\n");
  waitUntil(
      [&] {
        if (WaitForSingleObject(takenKeys_.get(), 0) == WAIT_OBJECT_0) {
          return true;
        }
        if (!running()) {
          fail("Velmora ended while taking the input");
        }
        if (xdotool().ended()) {
          fail("xdotool ended before sending the input: " + xdotool().log() + "\nscript:\n" +
               input.script());
        }
        return false;
      },
      "Velmora to take the input");
}

std::pair<DWORD, DWORD> RunningVelmora::windowsVersion() const {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process_.get(), ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0) {
    fail("cannot find Velmora's process environment block");
  }
  // OSMajorVersion and OSMinorVersion, side by side in the block.
  constexpr std::size_t versionOffset = sizeof(void*) == 8 ? 0x118 : 0xa4;
  ULONG version[2]{};
  if (!ReadProcessMemory(process_.get(),
                         reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + versionOffset,
                         version, sizeof version, nullptr)) {
    failWithLastError("reading Velmora's Windows version");
  }
  return {version[0], version[1]};
}

HWND RunningVelmora::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread_, &info) ? info.hwndFocus : nullptr;
}

HWND RunningVelmora::messageBox() const {
  return findWindow(processId_, u"#32770");
}

HWND RunningVelmora::menu() const {
  return findWindow(processId_, u"#32768");
}

HWND RunningVelmora::tooltip() const {
  return findWindow(processId_, u"TOOLTIPS_CLASS32");
}

bool RunningVelmora::answers() const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

bool RunningVelmora::running() const {
  return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> RunningVelmora::exitCode(std::chrono::milliseconds wait) const {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(wait.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

} // namespace velmora::testing
