#include "runtime/decimal_scan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <memory>
#include <system_error>

namespace velmora {

namespace {

// The full-width block U+FF01..U+FF5E is ASCII 0x21..0x7E moved up by 0xFEE0: the full-width
// digits, point, signs and e map to their ASCII twins by one subtraction.
constexpr char16_t firstFullWidth = 0xFF01;
constexpr char16_t lastFullWidth = 0xFF5E;
constexpr char16_t fullWidthOffset = 0xFEE0;

// Far enough past the double range (about 1E+308 down to 5E-324) that the outcome is certain.
constexpr std::int64_t certainOverflow = 400;
constexpr std::int64_t certainUnderflow = -400;
// Exponent digits beyond this add nothing but the risk of overflowing the count.
constexpr std::int64_t exponentCeiling = 1'000'000'000;

// Any number a person types fits on the stack; only longer ones are copied to the heap.
constexpr std::size_t stackCopyLength = 128;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The characters a number is written with: digits, point, signs and exponent mark.
bool isNumberCharacter(char c) {
  return isDigit(c) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
}

char asciiOf(char16_t c, bool acceptFullWidth) {
  if (c < 0x80) {
    return static_cast<char>(c);
  }
  if (acceptFullWidth && c >= firstFullWidth && c <= lastFullWidth) {
    return static_cast<char>(c - fullWidthOffset);
  }
  return '\0';
}

// Copies the run of number characters the text starts with, in ASCII, at most capacity of them,
// and ends the copy with '\0'. Returns the run's length.
std::size_t copyNumberCharacters(std::u16string_view text, bool acceptFullWidth, char* out,
                                 std::size_t capacity) {
  const std::size_t limit = std::min(text.size(), capacity);
  std::size_t length = 0;
  for (; length < limit; ++length) {
    const char c = asciiOf(text[length], acceptFullWidth);
    if (!isNumberCharacter(c)) {
      break;
    }
    out[length] = c;
  }
  out[length] = '\0';
  return length;
}

const char* skipDigits(const char* at) {
  while (isDigit(*at)) {
    ++at;
  }
  return at;
}

const char* skipZeros(const char* at, const char* end) {
  while (at < end && *at == '0') {
    ++at;
  }
  return at;
}

// The correctly rounded magnitude of the unsigned number [first, last), whose value is not zero
// and lies in [10^(order-1), 10^order). The text is already in the form from_chars reads.
double magnitudeOf(const char* first, const char* last, std::int64_t order) {
  if (order > certainOverflow) {
    return std::numeric_limits<double>::infinity();
  }
  if (order < certainUnderflow) {
    return 0.0;
  }
  double magnitude = 0.0;
  if (std::from_chars(first, last, magnitude).ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone when it is out of range.
    magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return magnitude;
}

// scanDecimal on the ASCII copy of a text, ended by '\0'.
ScannedDecimal scanAscii(const char* text) {
  const char* at = text;
  bool negative = false;
  if (*at == '+' || *at == '-') {
    negative = *at == '-';
    ++at;
  }

  const char* const integer = at;
  const char* const integerEnd = at = skipDigits(at);
  const char* fraction = at;
  const char* fractionEnd = at;
  if (*at == '.') {
    fraction = at + 1;
    fractionEnd = at = skipDigits(fraction);
  }
  if (integer == integerEnd && fraction == fractionEnd) {
    return {};
  }

  std::int64_t exponent = 0;
  if (*at == 'e' || *at == 'E') {
    const char* cursor = at + 1;
    const bool negativeExponent = *cursor == '-';
    if (*cursor == '+' || *cursor == '-') {
      ++cursor;
    }
    if (isDigit(*cursor)) {
      for (; isDigit(*cursor); ++cursor) {
        exponent = std::min(exponent * 10 + (*cursor - '0'), exponentCeiling);
      }
      exponent = negativeExponent ? -exponent : exponent;
      at = cursor;
    }
  }

  // Leading zeros carry no weight: the first other digit fixes the order of magnitude, and a
  // number without one is zero. from_chars reads the number from its first digit on: it takes
  // a point on either side of the digits and an exponent, but no plus sign.
  double magnitude = 0.0;
  const char* first = skipZeros(integer, integerEnd);
  if (first < integerEnd) {
    magnitude = magnitudeOf(integer, at, (integerEnd - first) + exponent);
  } else {
    first = skipZeros(fraction, fractionEnd);
    if (first < fractionEnd) {
      magnitude = magnitudeOf(integer, at, exponent - (first - fraction));
    }
  }
  return {negative ? -magnitude : magnitude, static_cast<std::size_t>(at - text), true};
}

} // namespace

ScannedDecimal scanDecimal(std::u16string_view text, bool acceptFullWidth) {
  char onStack[stackCopyLength + 1];
  const char* ascii = onStack;
  std::unique_ptr<char[]> onHeap;
  if (copyNumberCharacters(text, acceptFullWidth, onStack, stackCopyLength) == stackCopyLength) {
    onHeap = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    copyNumberCharacters(text, acceptFullWidth, onHeap.get(), text.size());
    ascii = onHeap.get();
  }
  return scanAscii(ascii);
}

} // namespace velmora
