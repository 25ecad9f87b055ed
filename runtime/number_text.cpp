#include "runtime/number_text.h"

#include "runtime/decimal_scan.h"
#include "runtime/run_time_error.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace velmora {

namespace {

constexpr int shownDigits = 15;
constexpr int smallestPlainExponent = -4;
constexpr int largestPlainExponent = 14;

constexpr std::u16string_view infinityText = u"∞";
constexpr std::u16string_view negativeInfinityText = u"-∞";
constexpr std::u16string_view notANumberText = u"NaN";

// Digits and decimal exponent of a number, read off std::to_chars' scientific form
// "d.ddde+XX": the digit generation and the rounding are the library's.
struct Decimal {
  char digits[24];
  int count = 0;
  int exponent = 0;
};

Decimal decompose(const char* first, const char* last) {
  Decimal decimal;
  const char* cursor = first;
  for (; cursor != last && *cursor != 'e'; ++cursor) {
    if (*cursor != '.') {
      decimal.digits[decimal.count++] = *cursor;
    }
  }
  std::from_chars(cursor + (*(cursor + 1) == '+' ? 2 : 1), last, decimal.exponent);
  while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') {
    --decimal.count;
  }
  return decimal;
}

Decimal roundedDecimal(double magnitude) {
  char text[40];
  const auto end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                                 shownDigits - 1)
                       .ptr;
  Decimal decimal = decompose(text, end);
  if (decimal.exponent == std::numeric_limits<double>::max_exponent10) {
    // 15 digits of the few largest doubles round past the largest double.
    double readBack = 0.0;
    if (std::from_chars(text, end, readBack).ec == std::errc::result_out_of_range) {
      const auto shortestEnd =
          std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr;
      decimal = decompose(text, shortestEnd);
    }
  }
  return decimal;
}

void appendAscii(std::u16string& text, const char* first, const char* last) {
  text.append(first, last);
}

std::u16string layOut(const Decimal& decimal, bool negative) {
  std::u16string text;
  text.reserve(32);
  if (negative) {
    text.push_back(u'-');
  }
  const char* digits = decimal.digits;
  const int count = decimal.count;
  const int exponent = decimal.exponent;
  if (exponent >= smallestPlainExponent && exponent <= largestPlainExponent) {
    if (exponent < 0) {
      text.append(u"0.");
      text.append(static_cast<std::size_t>(-exponent - 1), u'0');
      appendAscii(text, digits, digits + count);
    } else if (count <= exponent + 1) {
      appendAscii(text, digits, digits + count);
      text.append(static_cast<std::size_t>(exponent + 1 - count), u'0');
    } else {
      appendAscii(text, digits, digits + exponent + 1);
      text.push_back(u'.');
      appendAscii(text, digits + exponent + 1, digits + count);
    }
    return text;
  }
  text.push_back(static_cast<char16_t>(digits[0]));
  if (count > 1) {
    text.push_back(u'.');
    appendAscii(text, digits + 1, digits + count);
  }
  text.append(exponent < 0 ? u"E-" : u"E+");
  char exponentDigits[8];
  const auto end =
      std::to_chars(exponentDigits, exponentDigits + sizeof exponentDigits, std::abs(exponent)).ptr;
  if (end - exponentDigits < 2) {
    text.push_back(u'0');
  }
  appendAscii(text, exponentDigits, end);
  return text;
}

} // namespace

std::u16string numberToText(double value) {
  if (std::isnan(value)) {
    return std::u16string(notANumberText);
  }
  if (std::isinf(value)) {
    return std::u16string(value < 0 ? negativeInfinityText : infinityText);
  }
  if (value == 0.0) {
    return u"0";
  }
  return layOut(roundedDecimal(std::fabs(value)), std::signbit(value));
}

double textToNumber(std::u16string_view text) {
  if (text == infinityText) {
    return std::numeric_limits<double>::infinity();
  }
  if (text == negativeInfinityText) {
    return -std::numeric_limits<double>::infinity();
  }
  if (text == notANumberText) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const ScannedDecimal scanned = scanDecimal(text, false);
  if (!scanned.hasDigits || scanned.length != text.size()) {
    raiseConversionError(text);
  }
  return scanned.value;
}

} // namespace velmora
