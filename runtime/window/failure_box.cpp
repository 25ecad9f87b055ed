#include "runtime/window/failure_box.h"

#include "runtime/window/window_error.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace velmora::window {

namespace {

// What failed and what to do, ending where the reason follows; each is far shorter than the box's
// text, so it is always whole.
constexpr const wchar_t* whatFailed[] = {
    L"Velmora 無法開啟視窗。\n"
    L"請重新啟動 Velmora。如果一再發生，請按 Ctrl+C 複製這段訊息，回報給 Velmora 的作者。\n\n"
    L"Velmora could not open its window.\n"
    L"Start Velmora again. If this keeps happening, press Ctrl+C to copy this message and "
    L"report it to Velmora's author.\n\n"
    L"原因 Reason: ",
    L"Velmora 執行時發生錯誤，必須結束。\n"
    L"請重新啟動 Velmora，再輸入一次尺寸。如果一再發生，請按 Ctrl+C 複製這段訊息，"
    L"回報給 Velmora 的作者。\n\n"
    L"Velmora ran into an error while running and has to close.\n"
    L"Start Velmora again and type the sizes again. If this keeps happening, press Ctrl+C to "
    L"copy this message and report it to Velmora's author.\n\n"
    L"原因 Reason: ",
};

constexpr char noDescription[] = "an error that gave no description";

} // namespace

std::array<wchar_t, 1024> failureText(Failure when, const char* reason) noexcept {
  std::array<wchar_t, 1024> text{};
  const wchar_t* const said = whatFailed[static_cast<int>(when)];
  const std::size_t used = std::wcslen(said);
  std::copy_n(said, used, text.data());
  // The units after the reason are still the array's zeros.
  decodeFailureWords(reason && *reason ? reason : noDescription, CP_ACP, text.data() + used,
                     text.size() - 1 - used);
  return text;
}

void reportFailure(Failure when, const char* reason) noexcept {
  // Windows makes WM_QUIT only once no other posted message waits, and an input method's windows
  // may have left some: what is there is dispatched, so that the quit is reached and taken off.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
    DispatchMessageW(&message);
  }
  const std::array<wchar_t, 1024> text = failureText(when, reason);
  MessageBoxW(nullptr, text.data(), L"Velmora", lastWordStyle);
}

} // namespace velmora::window
