#include "runtime/window/failure_box.h"

#include "runtime/report_place.h"
#include "runtime/window/wide_text.h"
#include "runtime/window/window_error.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace velmora::window {

namespace {

// What failed and the first step, in each language; the rest of the advice is the same for
// both. All of it together is far shorter than the box's text, so it is always whole.
struct Said {
  std::wstring_view chinese, english;
};
constexpr Said whatFailed[] = {
    {L"Velmora 無法開啟視窗。\n請再開啟一次 Velmora。",
     L"Velmora could not open its window.\nOpen Velmora again."},
    {L"Velmora 執行時發生錯誤，必須結束。\n請再開啟 Velmora，重新輸入尺寸。",
     L"Velmora ran into an error while running and has to close.\n"
     L"Open Velmora again and type the sizes again."},
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

std::wstring_view wide(std::u16string_view text) noexcept {
  return {wideUnits(text), text.size()};
}

} // namespace

std::array<wchar_t, 1024> failureText(Failure when, const char* reason) noexcept {
  std::array<wchar_t, 1024> text{};
  const Said& said = whatFailed[static_cast<int>(when)];
  wchar_t* end = text.data();
  for (const std::wstring_view piece :
       {said.chinese, std::wstring_view(L"如果一再發生，"), wide(reportStepChinese),
        std::wstring_view(L"。\n\n"), said.english,
        std::wstring_view(L" If this keeps happening, "), wide(reportStepEnglish),
        std::wstring_view(L".\n\n原因 Reason: ")}) {
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
