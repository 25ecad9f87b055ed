#pragma once

// Our texts, UTF-16 in char16_t, as Windows' W functions take and give them: wchar_t is the same
// 16-bit unit on Windows, so a text is only seen through another type, never converted. Here are
// the views, the one NUL-terminated copy and the one reader of a window's text.

#include <windows.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace velmora::window {

inline const wchar_t* wide(const std::u16string& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline wchar_t* wide(std::u16string& text) noexcept {
  return reinterpret_cast<wchar_t*>(text.data());
}

// The units of a text for a W function that takes their count; not NUL-terminated.
inline const wchar_t* wideUnits(std::u16string_view text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.data());
}

// A text ended by NUL, for a W function that takes none but a terminated text. Short texts, as
// every figure and caption is, stay on the stack; only a longer one goes to the heap. It points
// into itself, so it neither copies nor moves.
class TerminatedText {
public:
  explicit TerminatedText(std::u16string_view text) {
    if (text.size() < onStack_.size()) {
      *std::copy(text.begin(), text.end(), onStack_.begin()) = u'\0';
      terminated_ = onStack_.data();
    } else {
      onHeap_ = text;
      terminated_ = onHeap_.c_str();
    }
  }
  TerminatedText(const TerminatedText&) = delete;
  TerminatedText& operator=(const TerminatedText&) = delete;

  const wchar_t* get() const noexcept { return reinterpret_cast<const wchar_t*>(terminated_); }

private:
  std::array<char16_t, 64> onStack_;
  std::u16string onHeap_;
  const char16_t* terminated_;
};

// Reads window's text into text, reusing its room. False when Windows failed, with its code in
// GetLastError(); an empty text is no failure.
inline bool readWindowText(HWND window, std::u16string& text) {
  SetLastError(0);
  const int length = GetWindowTextLengthW(window);
  if (length == 0 && GetLastError() != 0) {
    return false;
  }
  text.resize(static_cast<std::size_t>(length) + 1);
  SetLastError(0);
  const int copied = GetWindowTextW(window, wide(text), length + 1);
  if (copied == 0 && GetLastError() != 0) {
    return false;
  }
  text.resize(static_cast<std::size_t>(copied));
  return true;
}

// A window's text; empty where Windows cannot read it.
inline std::u16string textOf(HWND window) {
  std::u16string text;
  if (!readWindowText(window, text)) {
    text.clear();
  }
  return text;
}

} // namespace velmora::window
