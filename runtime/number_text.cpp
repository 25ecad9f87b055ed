#include "runtime/number_text.h"

#include "runtime/decimal_scan.h"
#include "runtime/run_time_error.h"

#include <algorithm>
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

// Reads a scientific form with the given number of significant digits ("d.ddde±XX", no point
// for one digit). The count is passed rather than found so that, for the 15 digits every
// result box shows, the copy has a fixed size.
Decimal decompose(const char* text, const char* end, int significantDigits) {
  Decimal decimal;
  decimal.digits[0] = text[0];
  const char* exponentMark = text + 1;
  if (significantDigits > 1) {
    std::copy_n(text + 2, significantDigits - 1, decimal.digits + 1);
    exponentMark = text + 1 + significantDigits;
  }
  decimal.count = significantDigits;
  std::from_chars(exponentMark + (exponentMark[1] == '+' ? 2 : 1), end, decimal.exponent);
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
  Decimal decimal = decompose(text, end, shownDigits);
  if (decimal.exponent == std::numeric_limits<double>::max_exponent10) {
    // 15 digits of the few largest doubles round past the largest double.
    double readBack = 0.0;
    if (std::from_chars(text, end, readBack).ec == std::errc::result_out_of_range) {
      const auto shortestEnd =
          std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr;
      const auto beforeMark = static_cast<int>(std::find(text, shortestEnd, 'e') - text);
      decimal =
          decompose(text, shortestEnd, beforeMark == 1 ? 1 : beforeMark - 1); // "d" or "d.ddd"
    }
  }
  return decimal;
}

// NumberText is long enough for every text numberToText writes.
void append(NumberText& text, char16_t unit) {
  text.units[text.length++] = unit;
}
void append(NumberText& text, std::u16string_view units) {
  for (const char16_t unit : units) {
    append(text, unit);
  }
}
void appendAscii(NumberText& text, const char* first, const char* last) {
  for (; first != last; ++first) {
    append(text, static_cast<char16_t>(*first));
  }
}
void appendZeros(NumberText& text, int count) {
  for (; count > 0; --count) {
    append(text, u'0');
  }
}

void layOut(const Decimal& decimal, bool negative, NumberText& text) {
  if (negative) {
    append(text, u'-');
  }
  const char* digits = decimal.digits;
  const int count = decimal.count;
  const int exponent = decimal.exponent;
  if (exponent >= smallestPlainExponent && exponent <= largestPlainExponent) {
    if (exponent < 0) {
      append(text, u"0.");
      appendZeros(text, -exponent - 1);
      appendAscii(text, digits, digits + count);
    } else if (count <= exponent + 1) {
      appendAscii(text, digits, digits + count);
      appendZeros(text, exponent + 1 - count);
    } else {
      appendAscii(text, digits, digits + exponent + 1);
      append(text, u'.');
      appendAscii(text, digits + exponent + 1, digits + count);
    }
    return;
  }
  append(text, static_cast<char16_t>(digits[0]));
  if (count > 1) {
    append(text, u'.');
    appendAscii(text, digits + 1, digits + count);
  }
  append(text, exponent < 0 ? u"E-" : u"E+");
  char exponentDigits[8];
  const auto end =
      std::to_chars(exponentDigits, exponentDigits + sizeof exponentDigits, std::abs(exponent)).ptr;
  if (end - exponentDigits < 2) {
    append(text, u'0');
  }
  appendAscii(text, exponentDigits, end);
}

} // namespace

NumberText formatNumber(double value) noexcept {
  NumberText text;
  if (std::isnan(value)) {
    append(text, notANumberText);
  } else if (std::isinf(value)) {
    append(text, value < 0 ? negativeInfinityText : infinityText);
  } else if (value == 0.0) {
    append(text, u'0');
  } else {
    layOut(roundedDecimal(std::fabs(value)), std::signbit(value), text);
  }
  return text;
}

std::u16string numberToText(double value) {
  return std::u16string(formatNumber(value).view());
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
