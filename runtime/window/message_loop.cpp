#include "runtime/window/message_loop.h"

#include "runtime/window/window_error.h"

namespace velmora::window {

int runMessageLoop(HWND window) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      return static_cast<int>(message.wParam);
    }
    if (got == -1) {
      throwLastError("GetMessageW");
    }
    if (IsWindow(window) && IsDialogMessageW(window, &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

} // namespace velmora::window
