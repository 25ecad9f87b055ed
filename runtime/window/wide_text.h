#pragma once

// Our texts, UTF-16 in char16_t, as Windows' W functions take them: wchar_t is the same 16-bit
// unit on Windows, so the text is only seen through another type, never converted.

#include <string>

namespace velmora::window {

inline const wchar_t* wide(const std::u16string& text) noexcept {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline wchar_t* wide(std::u16string& text) noexcept {
  return reinterpret_cast<wchar_t*>(text.data());
}

} // namespace velmora::window
