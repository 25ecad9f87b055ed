// The program's entry point: Form1 built, its two buttons wired, the message loop run.
#include "conversion/tank_conversion.h"
#include "runtime/window/form_window.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/window_error.h"
#include "window/form1.h"
#include "window/form1_boxes.h"

#include <windows.h>

#include <float.h>

#include <cwchar>
#include <iterator>

namespace {

// Says that the window cannot open, and why: the failing call, its code and Windows' words
// for it, so that a user's report names the cause.
void reportNoWindow(const char* why) noexcept {
  wchar_t text[400] = L"無法開啟 Velmora 的視窗。\n\n";
  const int used = static_cast<int>(std::wcslen(text));
  MultiByteToWideChar(CP_ACP, 0, why, -1, text + used, static_cast<int>(std::size(text)) - used);
  text[std::size(text) - 1] = L'\0';
  MessageBoxW(nullptr, text, L"Velmora", MB_OK | MB_ICONERROR);
}

} // namespace

// The show state Windows hands the program is not used: the window opens at its own size.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    velmora::window::FormWindow form(velmora::form1(), instance);
    velmora::Form1Boxes boxes(form);
    form.onClick(u"Command1", [&boxes] {
      // The 32-bit program's number parsing is correctly rounded only with the x87 unit at 53
      // bits, as the start-up code leaves it (cmake/mingw-i686.cmake). A hook or input method
      // loaded into the program may change that unseen, so the C runtime's reset sets it again
      // before each conversion.
      _fpreset();
      velmora::convertTank(boxes);
    });
    form.onClick(u"Command2", [&form] { form.destroy(); });
    form.show();
    return velmora::window::runMessageLoop(form.handle());
  } catch (const velmora::window::WindowError& error) {
    reportNoWindow(error.what());
    return 1;
  } catch (...) {
    reportNoWindow("");
    return 1;
  }
}
