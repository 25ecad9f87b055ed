#include "runtime/window/failure_box.h"

#include "runtime/report_place.h"
#include "runtime/window/window_error.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace velmora::window {

namespace {

// What failed and the first step, in each language; the rest of the advice is the same for
// both. All of it together is far shorter than the box's text, so it is always whole.
struct Said {
  std::u16string_view chinese, english;
};
constexpr Said whatFailed[] = {
    {u"Velmora 無法開啟視窗。\n請再開啟一次 Velmora。",
     u"Velmora could not open its window.\nOpen Velmora again."},
    {u"Velmora 執行時發生錯誤，必須結束。\n請再開啟 Velmora，重新輸入尺寸。",
     u"Velmora ran into an error while running and has to close.\n"
     u"Open Velmora again and type the sizes again."},
};

constexpr char noDescription[] = "an error that gave no description";

// The advice before the reason, its joins (under 64 units) included, leaves the reason at least
// a quarter of the box's text, whatever place to report the build was given (it limits that).
constexpr bool leavesRoomForTheReason(const Said& said) {
  return said.chinese.size() + said.english.size() + reportStepChinese.size() +
             reportStepEnglish.size() + 64 <=
         1024 * 3 / 4;
}
static_assert(leavesRoomForTheReason(whatFailed[0]) && leavesRoomForTheReason(whatFailed[1]));

} // namespace

std::array<wchar_t, 1024> failureText(Failure when, const char* reason) noexcept {
  std::array<wchar_t, 1024> text{};
  const Said& said = whatFailed[static_cast<int>(when)];
  wchar_t* end = text.data();
  // Our texts are UTF-16, as wchar_t is on Windows: each unit copies as it is.
  for (const std::u16string_view piece :
       {said.chinese, std::u16string_view(u"如果一再發生，"), reportStepChinese,
        std::u16string_view(u"。\n\n"), said.english,
        std::u16string_view(u" If this keeps happening, "), reportStepEnglish,
        std::u16string_view(u".\n\n原因 Reason: ")}) {
    end = std::copy(piece.begin(), piece.end(), end);
  }
  // The units after the reason are still the array's zeros.
  decodeFailureWords(reason && *reason ? reason : noDescription, CP_ACP, end,
                     static_cast<std::size_t>(text.data() + text.size() - 1 - end));
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
