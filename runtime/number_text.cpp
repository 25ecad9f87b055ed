#include "runtime/number_text.h"

#include "runtime/decimal_scan.h"
#include "runtime/figure_text.h"
#include "runtime/run_time_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

constexpr int shownDigits = 15;
// The plain range's bounds on a number whose shortest text is the one shown: 1E-4 and 1E+15 are
// the doubles nearest them, and no other double's shortest text reads 1E-4 or 1E+15.
constexpr double smallestPlainMagnitude = 1e-4;
constexpr double plainMagnitudeLimit = 1e15;
static_assert(smallestPlainExponent == -4 && largestPlainExponent + 1 == 15);

constexpr std::u16string_view infinityText = u"∞";
constexpr std::u16string_view negativeInfinityText = u"-∞";
constexpr std::u16string_view notANumberText = u"NaN";

// Digits and decimal exponent of a number, read off std::to_chars' scientific form
// "d.ddde+XX": the digit generation and the rounding are the library's.
struct Decimal {
  char digits[24];
  int count = 0;
  int exponent = 0;
  bool shortest = false; // the shortest text that reads back exactly
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

// The shortest text that reads back as the number: "d" or "d.ddd" before the exponent mark.
Decimal shortestDecimal(const char* text, const char* end) {
  const auto beforeMark = static_cast<int>(std::find(text, end, 'e') - text);
  Decimal decimal = decompose(text, end, beforeMark == 1 ? 1 : beforeMark - 1);
  decimal.shortest = true;
  return decimal;
}

Decimal roundedDecimal(double magnitude) {
  char text[40];
  const Decimal shortest = shortestDecimal(
      text, std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific).ptr);
  // A normal double whose shortest text has at most 15 digits has that text as its 15-digit one,
  // trailing zeros dropped, and the shortest form is the cheaper one to ask for. Below the
  // normal range a double holds fewer digits: 5E-324 is 4.94065645841247E-324.
  if (shortest.count <= shownDigits && magnitude >= std::numeric_limits<double>::min()) {
    return shortest;
  }
  const auto end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                                 shownDigits - 1)
                       .ptr;
  const Decimal rounded = decompose(text, end, shownDigits);
  if (rounded.exponent == std::numeric_limits<double>::max_exponent10) {
    // 15 digits of the few largest doubles round past the largest double.
    double readBack = 0.0;
    if (std::from_chars(text, end, readBack).ec == std::errc::result_out_of_range) {
      return shortest;
    }
  }
  return rounded;
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

// A number in the plain range whose shortest text has at most 15 digits: std::to_chars writes
// it in plain notation already, exactly as a result box shows it (see roundedDecimal). Returns
// false, with nothing written, for any other number.
bool appendShortPlain(double magnitude, bool negative, NumberText& text) {
  if (magnitude < smallestPlainMagnitude || magnitude >= plainMagnitudeLimit) {
    return false;
  }
  char plain[32]; // at most 17 digits, a point and "0.000"
  const char* const end =
      std::to_chars(plain, plain + sizeof plain, magnitude, std::chars_format::fixed).ptr;
  const char* firstDigit = plain;
  while (*firstDigit == '0' || *firstDigit == '.') {
    ++firstDigit;
  }
  const bool hasPoint = std::find(firstDigit, end, '.') != end;
  if (end - firstDigit - hasPoint > shownDigits) {
    return false;
  }
  if (negative) {
    append(text, u'-');
  }
  appendAscii(text, plain, end);
  text.readsBackExactly = true;
  return true;
}

} // namespace

NumberText formatNumber(double value) noexcept {
  NumberText text;
  if (std::isnan(value)) {
    append(text, notANumberText);
  } else if (std::isinf(value)) {
    append(text, value < 0 ? negativeInfinityText : infinityText);
    text.readsBackExactly = true;
  } else if (value == 0.0) {
    append(text, u'0');
  } else if (!appendShortPlain(std::fabs(value), std::signbit(value), text)) {
    const Decimal decimal = roundedDecimal(std::fabs(value));
    const DecimalFigure figure{std::signbit(value),
                               {decimal.digits, static_cast<std::size_t>(decimal.count)},
                               decimal.exponent};
    text.length = static_cast<std::size_t>(
        layOutFigure(figure, isPlainExponent(figure.exponent), text.units) - text.units);
    text.readsBackExactly = decimal.shortest;
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
