#include "runtime/decimal_scan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace velmora {

namespace {

// The full-width block U+FF01..U+FF5E is ASCII 0x21..0x7E moved up by 0xFEE0. The scanner only
// ever looks for digits, the point, the signs and e/E, so mapping the whole block maps exactly
// ０-９ ． ＋ － ｅ Ｅ and nothing else that matters.
constexpr char16_t firstFullWidth = 0xFF01;
constexpr char16_t lastFullWidth = 0xFF5E;
constexpr char16_t fullWidthOffset = 0xFEE0;

// The ASCII a code unit stands for, '\0' for one that can never be part of a number.
char asciiOf(char16_t c, bool acceptFullWidth) {
  if (c < 0x80) {
    return static_cast<char>(c);
  }
  if (acceptFullWidth && c >= firstFullWidth && c <= lastFullWidth) {
    return static_cast<char>(c - fullWidthOffset);
  }
  return '\0';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The digit a code unit that scanned as one stands for: 0-9 (0x30..0x39) and ０-９
// (0xFF10..0xFF19) end in the same four bits.
char asciiDigit(char16_t c) {
  return static_cast<char>('0' + (c & 0x0F));
}

// Far enough past the double range (about 1E+308 down to 5E-324) that the outcome is certain.
constexpr std::int64_t certainOverflow = 400;
constexpr std::int64_t certainUnderflow = -400;
// Exponent digits beyond this add nothing but the risk of overflowing the count.
constexpr std::int64_t exponentCeiling = 1'000'000'000;

// Any number a person types fits here; only longer ones are copied to the heap.
constexpr std::size_t stackCopyLength = 128;
constexpr std::size_t longestExponentText = 16; // "e-1000000000"

// Where the parts of a scanned number lie in its text.
struct Extent {
  std::size_t integerBegin = 0, integerEnd = 0;
  std::size_t fractionBegin = 0, fractionEnd = 0;
  std::size_t integerDigits() const { return integerEnd - integerBegin; }
  std::size_t fractionDigits() const { return fractionEnd - fractionBegin; }
};

// The mantissa copied in ASCII for from_chars, with the exponent when there is one: "0" is put
// before a bare fraction and a point with nothing after it is left out, so the copy is plain to
// every parser. Returns the end of the copy.
char* copyNumber(std::u16string_view text, const Extent& extent, std::int64_t exponent, char* out) {
  if (extent.integerDigits() == 0) {
    *out++ = '0';
  }
  for (std::size_t at = extent.integerBegin; at < extent.integerEnd; ++at) {
    *out++ = asciiDigit(text[at]);
  }
  if (extent.fractionDigits() > 0) {
    *out++ = '.';
    for (std::size_t at = extent.fractionBegin; at < extent.fractionEnd; ++at) {
      *out++ = asciiDigit(text[at]);
    }
  }
  if (exponent != 0) {
    *out++ = 'e';
    out = std::to_chars(out, out + longestExponentText, exponent).ptr;
  }
  return out;
}

// The correctly rounded magnitude of a number with a non-zero digit, whose value lies in
// [10^(order-1), 10^order).
double magnitudeOf(std::u16string_view text, const Extent& extent, std::int64_t exponent,
                   std::int64_t order) {
  if (order > certainOverflow) {
    return std::numeric_limits<double>::infinity();
  }
  if (order < certainUnderflow) {
    return 0.0;
  }
  const std::size_t length =
      1 + extent.integerDigits() + 1 + extent.fractionDigits() + longestExponentText;
  char onStack[stackCopyLength];
  std::string onHeap;
  char* copy = onStack;
  if (length > stackCopyLength) {
    onHeap.resize(length);
    copy = onHeap.data();
  }
  const char* const end = copyNumber(text, extent, exponent, copy);
  double magnitude = 0.0;
  if (std::from_chars(copy, end, magnitude).ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone when it is out of range.
    magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return magnitude;
}

} // namespace

ScannedDecimal scanDecimal(std::u16string_view text, bool acceptFullWidth) {
  const auto asciiAt = [&](std::size_t index) {
    return index < text.size() ? asciiOf(text[index], acceptFullWidth) : '\0';
  };
  const auto skipDigits = [&](std::size_t index) {
    while (isDigit(asciiAt(index))) {
      ++index;
    }
    return index;
  };

  std::size_t at = 0;
  bool negative = false;
  if (const char sign = asciiAt(at); sign == '+' || sign == '-') {
    negative = sign == '-';
    ++at;
  }

  Extent extent;
  extent.integerBegin = at;
  extent.integerEnd = at = skipDigits(at);
  extent.fractionBegin = extent.fractionEnd = at;
  if (asciiAt(at) == '.') {
    extent.fractionBegin = at + 1;
    extent.fractionEnd = at = skipDigits(at + 1);
  }
  if (extent.integerDigits() + extent.fractionDigits() == 0) {
    return {};
  }

  std::int64_t exponent = 0;
  if (const char e = asciiAt(at); e == 'e' || e == 'E') {
    std::size_t cursor = at + 1;
    bool negativeExponent = false;
    if (const char sign = asciiAt(cursor); sign == '+' || sign == '-') {
      negativeExponent = sign == '-';
      ++cursor;
    }
    if (isDigit(asciiAt(cursor))) {
      for (; isDigit(asciiAt(cursor)); ++cursor) {
        exponent = std::min(exponent * 10 + (asciiAt(cursor) - '0'), exponentCeiling);
      }
      exponent = negativeExponent ? -exponent : exponent;
      at = cursor;
    }
  }

  // Leading zeros carry no weight: the first other digit fixes the order of magnitude.
  const auto isZero = [&](std::size_t index) { return asciiDigit(text[index]) == '0'; };
  std::size_t firstNonZero = extent.integerBegin;
  while (firstNonZero < extent.integerEnd && isZero(firstNonZero)) {
    ++firstNonZero;
  }
  double magnitude = 0.0;
  if (firstNonZero < extent.integerEnd) {
    const auto order = static_cast<std::int64_t>(extent.integerEnd - firstNonZero) + exponent;
    magnitude = magnitudeOf(text, extent, exponent, order);
  } else {
    firstNonZero = extent.fractionBegin;
    while (firstNonZero < extent.fractionEnd && isZero(firstNonZero)) {
      ++firstNonZero;
    }
    if (firstNonZero < extent.fractionEnd) {
      const auto order = exponent - static_cast<std::int64_t>(firstNonZero - extent.fractionBegin);
      magnitude = magnitudeOf(text, extent, exponent, order);
    }
  }
  return {negative ? -magnitude : magnitude, at, true};
}

} // namespace velmora
