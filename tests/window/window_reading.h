#pragma once

// What the window tests read off a window, in this process or another: its class name and its
// text, a thread's window of a class, a message box's text (the box closed once read), and its
// pixels as the screen shows them.

#include "runtime/window/handles.h"
#include "tests/window/test_handles.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::testing {

// A window's class name in capitals, as Windows compares them: "STATIC", "#32770".
inline std::u16string className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  std::u16string text(reinterpret_cast<const char16_t*>(name));
  std::transform(text.begin(), text.end(), text.begin(), [](char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
  });
  return text;
}

// Sends message to window, from this process or another, and gives its answer. A window whose
// thread does not answer within the wait throws, saying how long it waited: at once when Windows
// already thinks the thread hung, the whole wait otherwise.
inline DWORD_PTR answerTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          const char* name) {
  const ULONGLONG start = GetTickCount64();
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)) {
    const DWORD error = GetLastError();
    throw std::runtime_error(std::string(name) + " got no answer: error " + std::to_string(error) +
                             " after " + std::to_string(GetTickCount64() - start) + " ms");
  }
  return answer;
}

// A window's text, read with WM_GETTEXT, so it also works across processes.
inline std::u16string windowText(HWND window) {
  const DWORD_PTR length = answerTo(window, WM_GETTEXTLENGTH, 0, 0, "WM_GETTEXTLENGTH");
  std::u16string text(length + 1, u'\0');
  const DWORD_PTR copied = answerTo(window, WM_GETTEXT, text.size(),
                                    reinterpret_cast<LPARAM>(text.data()), "WM_GETTEXT");
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

// A top-level window of a thread, of a class: EnumThreadWindows' callback, which keeps the last.
struct WindowSought {
  std::u16string_view className;
  HWND found = nullptr;
};

inline BOOL CALLBACK keepIfOfClass(HWND window, LPARAM sought) noexcept {
  auto& wanted = *reinterpret_cast<WindowSought*>(sought);
  if (className(window) == wanted.className) {
    wanted.found = window;
  }
  return TRUE;
}

inline HWND threadWindowOfClass(DWORD thread, std::u16string_view name) {
  WindowSought sought{name};
  EnumThreadWindows(thread, keepIfOfClass, reinterpret_cast<LPARAM>(&sought));
  return sought.found;
}

// Whether this process runs under Wine, whose message boxes ignore MB_TOPMOST (Wine 8): what
// only Windows shows is checked there, when the tests run on it (docs/windows-checklist.md).
inline bool underWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The text of the message box a thread shows, read from another thread, which then closes it
// with OK. Where answered is given, the box must first stand unanswered for three seconds (Wine's
// box, meeting a quit message, closes itself after about two); answered turns true just before
// the answer, and stays false if the box closed by itself. Where onTop is given, it says whether
// the box stood above every other window (true under Wine, see underWine).
inline std::u16string readAndCloseMessageBox(DWORD thread, std::atomic<bool>* answered = nullptr,
                                             bool* onTop = nullptr) {
  for (int tries = 0; tries < 500; ++tries) {
    // The longest text of its children is the message; once it is there, the box is whole.
    // Read as stored, without a message to a thread that may not be answering yet.
    const HWND box = threadWindowOfClass(thread, u"#32770");
    std::u16string message;
    for (HWND child = box ? GetWindow(box, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      std::array<wchar_t, 1024> text{};
      const int length = InternalGetWindowText(child, text.data(), static_cast<int>(text.size()));
      if (static_cast<std::size_t>(length) > message.size()) {
        message.assign(reinterpret_cast<const char16_t*>(text.data()),
                       static_cast<std::size_t>(length));
      }
    }
    // Shown only once its set-up, which places it, is done.
    if (message.size() > 20 && IsWindowVisible(box)) {
      if (onTop) {
        *onTop = underWine() || GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST;
      }
      if (answered) {
        for (int waited = 0; waited < 300; ++waited) {
          if (!IsWindow(box)) {
            return message;
          }
          Sleep(10);
        }
        *answered = true;
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return message;
    }
    Sleep(10);
  }
  return u"(no message box)";
}

// A rectangle of pixels, 32 bits each, top row first.
struct Capture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;

  COLORREF at(int x, int y) const {
    const std::uint32_t bgr = pixels[static_cast<std::size_t>(y * width + x)];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
  }
};

// The pixels of area, in dc's coordinates, as dc shows them.
inline Capture capture(HDC dc, RECT area) {
  Capture shot;
  shot.width = area.right - area.left;
  shot.height = area.bottom - area.top;
  shot.pixels.resize(static_cast<std::size_t>(shot.width * shot.height));
  const window::MemoryDc memory(CreateCompatibleDC(dc));
  const window::Bitmap bitmap(CreateCompatibleBitmap(dc, shot.width, shot.height));
  {
    const window::Selection selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, shot.width, shot.height, dc, area.left, area.top, SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(shot.height), shot.pixels.data(),
            &info, DIB_RGB_COLORS);
  return shot;
}

// A window's inside, as it shows on the screen.
inline Capture captureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const WindowDc dc(GetDC(window));
  return capture(dc.get(), client);
}

// A rectangle of the whole screen.
inline Capture captureScreen(RECT area) {
  const window::ScreenDc screen(GetDC(nullptr));
  return capture(screen.get(), area);
}

} // namespace velmora::testing
