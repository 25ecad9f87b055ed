#pragma once

#include <string>
#include <string_view>

namespace velmora::testing {

// A UTF-16 text for a failure message: ASCII kept, everything else shown as '?'.
inline std::string ascii(std::u16string_view text) {
  std::string shown;
  for (char16_t c : text) {
    shown.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return shown;
}

// A UTF-16 text of the Basic Multilingual Plane as UTF-8, to be found in a file.
inline std::string utf8(std::u16string_view text) {
  std::string encoded;
  for (const char16_t c : text) {
    if (c < 0x80) {
      encoded.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      encoded.push_back(static_cast<char>(0xC0 | c >> 6));
      encoded.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      encoded.push_back(static_cast<char>(0xE0 | c >> 12));
      encoded.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
      encoded.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return encoded;
}

} // namespace velmora::testing
