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

} // namespace velmora::testing
