#include "runtime/window/message_loop.h"

namespace velmora::window {

int runMessageLoop(HWND window) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0)
      return static_cast<int>(message.wParam);
    if (got == -1)
      return 1;
    if (IsWindow(window) && IsDialogMessageW(window, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void endProgram(HWND window) noexcept {
  DestroyWindow(window); // its WM_DESTROY posts the quit message
}

} // namespace velmora::window
