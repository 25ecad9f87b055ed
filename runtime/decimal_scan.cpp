#include "runtime/decimal_scan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
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

// A keeper may type the exponent mark in lower case; a figure's text has it in upper case.
constexpr char lowerCaseExponentMark = 'e';

// The characters a number is written with: digits, point, signs and exponent mark.
bool isNumberCharacter(char c) {
  return isDigit(c) || c == decimalPoint || c == plusSign || c == minusSign || c == exponentMark ||
         c == lowerCaseExponentMark;
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

// The decimal number at the start of an ASCII text ended by '\0', taken apart.
struct Scan {
  bool negative = false;
  const char* unsignedStart = nullptr; // the number after its sign, as from_chars reads it
  const char* end = nullptr;           // after the number; nullptr when there are no digits
  const char* firstDigit = nullptr;    // the first significant digit; none for zero
  const char* digitsEnd = nullptr;     // after the mantissa's last digit
  std::int64_t order = 0;              // a number that is not zero lies in [10^(order-1), 10^order)
};

Scan scanAscii(const char* text) {
  Scan scan;
  const char* at = text;
  if (*at == plusSign || *at == minusSign) {
    scan.negative = *at == minusSign;
    ++at;
  }

  const char* const integer = scan.unsignedStart = at;
  const char* const integerEnd = at = skipDigits(at);
  const char* fraction = at;
  const char* fractionEnd = at;
  if (*at == decimalPoint) {
    fraction = at + 1;
    fractionEnd = at = skipDigits(fraction);
  }
  if (integer == integerEnd && fraction == fractionEnd) {
    return {};
  }
  scan.digitsEnd = fractionEnd;

  std::int64_t exponent = 0;
  if (*at == exponentMark || *at == lowerCaseExponentMark) {
    const char* cursor = at + 1;
    const bool negativeExponent = *cursor == minusSign;
    if (*cursor == plusSign || *cursor == minusSign) {
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
  scan.end = at;

  // Leading zeros carry no weight: the first other digit fixes the order of magnitude, and a
  // number without one is zero.
  if (const char* first = skipZeros(integer, integerEnd); first < integerEnd) {
    scan.firstDigit = first;
    scan.order = (integerEnd - first) + exponent;
  } else if (const char* firstAfterPoint = skipZeros(fraction, fractionEnd);
             firstAfterPoint < fractionEnd) {
    scan.firstDigit = firstAfterPoint;
    scan.order = exponent - (firstAfterPoint - fraction);
  }
  return scan;
}

// The correctly rounded magnitude of a scanned number. from_chars reads the number from its
// first digit on: it takes a point on either side of the digits and an exponent, but no plus
// sign.
double magnitudeOf(const Scan& scan) {
  if (!scan.firstDigit || scan.order < certainUnderflow) {
    return 0.0;
  }
  if (scan.order > certainOverflow) {
    return std::numeric_limits<double>::infinity();
  }
  double magnitude = 0.0;
  if (std::from_chars(scan.unsignedStart, scan.end, magnitude).ec ==
      std::errc::result_out_of_range) {
    // from_chars leaves the value alone when it is out of range.
    magnitude = scan.order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return magnitude;
}

// Takes a scanned number apart into figure.
void takeApart(const Scan& scan, ScannedFigure& figure) {
  figure = {scan.negative, {}, 0};
  if (scan.firstDigit) {
    std::copy_if(scan.firstDigit, scan.digitsEnd, std::back_inserter(figure.digits),
                 [](char c) { return c != decimalPoint; });
    figure.digits.erase(figure.digits.find_last_not_of('0') + 1);
    figure.exponent = static_cast<int>(scan.order - 1);
  }
}

} // namespace

ScannedDecimal scanDecimal(std::u16string_view text, bool acceptFullWidth, ScannedFigure* figure) {
  char onStack[stackCopyLength + 1];
  const char* ascii = onStack;
  std::unique_ptr<char[]> onHeap;
  if (copyNumberCharacters(text, acceptFullWidth, onStack, stackCopyLength) == stackCopyLength) {
    onHeap = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    copyNumberCharacters(text, acceptFullWidth, onHeap.get(), text.size());
    ascii = onHeap.get();
  }
  const Scan scan = scanAscii(ascii);
  if (!scan.end) {
    return {};
  }
  if (figure) {
    takeApart(scan, *figure);
  }
  const double magnitude = magnitudeOf(scan);
  return {scan.negative ? -magnitude : magnitude, static_cast<std::size_t>(scan.end - ascii), true};
}

} // namespace velmora
