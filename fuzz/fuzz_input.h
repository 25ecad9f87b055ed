#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace velmora::fuzzing {

// The fuzzer's bytes as UTF-16 code units, two bytes each, low byte first; an odd last byte
// becomes a code unit of its own, so no input is wasted.
inline std::u16string utf16Of(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  text.reserve(size / 2 + 1);
  for (std::size_t at = 0; at < size; at += 2) {
    const unsigned high = at + 1 < size ? data[at + 1] : 0;
    text.push_back(static_cast<char16_t>(data[at] | (high << 8)));
  }
  return text;
}

// A broken property: abort, so libFuzzer keeps the input that showed it.
[[noreturn]] inline void fail(const char* what) {
  std::fputs(what, stderr);
  std::fputc('\n', stderr);
  std::abort();
}

inline std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

} // namespace velmora::fuzzing
