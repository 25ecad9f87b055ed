#include "runtime/decimal_scan.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace velmora {

namespace {

char asciiOf(char16_t c, bool acceptFullWidth) {
  if (c < 0x80) {
    return static_cast<char>(c);
  }
  if (!acceptFullWidth) {
    return '\0';
  }
  if (c >= u'０' && c <= u'９') {
    return static_cast<char>('0' + (c - u'０'));
  }
  switch (c) {
  case u'．':
    return '.';
  case u'＋':
    return '+';
  case u'－':
    return '-';
  case u'ｅ':
    return 'e';
  case u'Ｅ':
    return 'E';
  default:
    return '\0';
  }
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Far enough past the double range (about 1E+308 down to 5E-324) that the outcome is certain.
constexpr std::int64_t certainOverflow = 400;
constexpr std::int64_t certainUnderflow = -400;
// Exponent digits beyond this add nothing but the risk of overflowing the count.
constexpr std::int64_t exponentCeiling = 1'000'000'000;

} // namespace

ScannedDecimal scanDecimal(std::u16string_view text, bool acceptFullWidth) {
  std::size_t at = 0;
  const auto next = [&](std::size_t index) {
    return index < text.size() ? asciiOf(text[index], acceptFullWidth) : '\0';
  };

  bool negative = false;
  if (next(at) == '+' || next(at) == '-') {
    negative = next(at) == '-';
    ++at;
  }

  // The mantissa is copied in ASCII for from_chars: "0" is put before a bare fraction and a
  // point with nothing after it is left out, so the copy is plain to every parser.
  std::string number;
  std::int64_t digits = 0;
  std::int64_t firstNonZero = -1; // index among the mantissa digits
  std::int64_t digitsBeforePoint = -1;
  const auto takeDigits = [&] {
    for (; isDigit(next(at)); ++at) {
      if (firstNonZero < 0 && next(at) != '0') {
        firstNonZero = digits;
      }
      number.push_back(next(at));
      ++digits;
    }
  };
  takeDigits();
  if (next(at) == '.') {
    digitsBeforePoint = digits;
    ++at;
    if (digits == 0) {
      number.push_back('0');
    }
    number.push_back('.');
    takeDigits();
    if (digits == digitsBeforePoint) {
      number.pop_back();
    }
  } else {
    digitsBeforePoint = digits;
  }
  if (digits == 0) {
    return {};
  }

  std::int64_t exponent = 0;
  if (next(at) == 'e' || next(at) == 'E') {
    std::size_t cursor = at + 1;
    bool negativeExponent = false;
    if (next(cursor) == '+' || next(cursor) == '-') {
      negativeExponent = next(cursor) == '-';
      ++cursor;
    }
    if (isDigit(next(cursor))) {
      for (; isDigit(next(cursor)); ++cursor) {
        exponent = std::min(exponent * 10 + (next(cursor) - '0'), exponentCeiling);
      }
      exponent = negativeExponent ? -exponent : exponent;
      at = cursor;
    }
  }

  double magnitude = 0.0;
  if (firstNonZero >= 0) {
    // The value lies in [10^(order-1), 10^order).
    const std::int64_t order = digitsBeforePoint - firstNonZero + exponent;
    if (order > certainOverflow) {
      magnitude = std::numeric_limits<double>::infinity();
    } else if (order >= certainUnderflow) {
      char exponentText[24] = {'e'};
      const auto exponentEnd =
          std::to_chars(exponentText + 1, exponentText + sizeof exponentText, exponent).ptr;
      number.append(exponentText, exponentEnd);
      const auto [end, error] =
          std::from_chars(number.data(), number.data() + number.size(), magnitude);
      if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when it is out of range.
        magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
      }
    }
  }
  return {negative ? -magnitude : magnitude, at, true};
}

} // namespace velmora
