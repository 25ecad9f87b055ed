#include "runtime/window/result_box.h"

#include "runtime/fitted_number.h"
#include "runtime/window/wide_text.h"

#include <cstring>

namespace velmora::window {

namespace {

// The same flags a centred static control draws its text with, so a figure that fits looks as
// it would in a plain static.
constexpr UINT textFormat = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX;

void copyToClipboard(HWND form, const std::u16string& text) noexcept {
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory || !OpenClipboard(form)) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  if (void* locked = GlobalLock(memory.get())) {
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory.get())) {
      memory.forget(); // the clipboard's now
    }
  }
  CloseClipboard();
  if (memory) {
    MessageBeep(MB_ICONWARNING);
  }
}

} // namespace

void drawResult(const DRAWITEMSTRUCT& item, HBRUSH background, Control& control, int dpi) noexcept {
  try {
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, background);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control.handle, WM_GETFONT, 0, 0));
    const Selection selected(dc, font); // none given: the DC's own, nothing selected
    const std::u16string text = textOf(control.handle);
    const TextWidth width = [dc](std::u16string_view shown) {
      SIZE extent{};
      GetTextExtentPoint32W(dc, wideUnits(shown), static_cast<int>(shown.size()), &extent);
      return static_cast<int>(extent.cx);
    };
    // A pixel of the inside is kept clear (two from 144 dpi): DrawText centres by whole pixels,
    // and a text as wide as the box would put ink on its sunken edge.
    const int room = item.rcItem.right - item.rcItem.left - MulDiv(1, dpi, 96);
    const std::u16string shown = fitNumber(text, room, width);
    RECT place = item.rcItem;
    DrawTextW(dc, wide(shown), static_cast<int>(shown.size()), &place, textFormat);
    control.shortened = shown != text;
  } catch (...) {
    // Out of memory while drawing: the box stays as it was painted before.
  }
}

ResultTips::ResultTips(HWND form, HINSTANCE instance, std::span<const HWND> boxes) noexcept {
  tooltip_ = WindowHandle(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                                          nullptr, instance, nullptr));
  // The tips only repeat what the box holds, which its menu copies: without them the window is
  // whole, so a tooltip Windows will not make costs only the tooltip.
  if (!tooltip_) {
    return;
  }
  for (const HWND box : boxes) {
    // The size every comctl32 since 5.80 takes: the 6.0-only fields at the end of the whole
    // structure make XP's 5.82 (in use where no manifest of ours is) refuse the tool.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // The box itself is the tool, and the tooltip watches the pointer over it.
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(box);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    // A box the tooltip refuses just has no tip.
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void ResultTips::answer(NMTTDISPINFOW& request, const Control& control) {
  // Only where the box shows less than its figure: a tip repeating what shows is noise.
  text_ = control.shortened ? textOf(control.handle) : std::u16string();
  request.lpszText = wide(text_);
}

void offerCopy(HWND form, const Control& control, POINT at) noexcept {
  constexpr UINT copyCommand = 1;
  const Menu menu(CreatePopupMenu());
  if (!menu || !AppendMenuW(menu.get(), MF_STRING, copyCommand, L"複製")) {
    return;
  }
  if (at.x == -1 && at.y == -1) { // from the keyboard: at the box
    RECT box{};
    GetWindowRect(control.handle, &box);
    at = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  }
  const auto chosen = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, form, nullptr));
  if (chosen != copyCommand) {
    return;
  }
  try {
    copyToClipboard(form, textOf(control.handle));
  } catch (...) {
    MessageBeep(MB_ICONWARNING);
  }
}

} // namespace velmora::window
