#pragma once

// A figure's text: how a result box shows a number. numberToText writes it, fitNumber rounds it
// to the digits that fit its box, and decimal_scan.h reads it back, for textToNumber and
// fitNumber alike. A figure is a sign, its significant digits and the decimal exponent of the
// first of them, and its text is, in ASCII,
//   plain        [-] digits [. digits]                 when that exponent is -4 to 14
//   scientific   [-] digit [. digits] E (+|-) digits   any other, with two exponent digits or more
// with no trailing zero after the point: "182.25", "1000", "-0.00012", "1.5E-05", "1E+300".

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace velmora {

constexpr bool isDigit(char16_t c) noexcept {
  return c >= u'0' && c <= u'9';
}

inline constexpr char minusSign = '-';
inline constexpr char plusSign = '+';
inline constexpr char decimalPoint = '.';
inline constexpr char exponentMark = 'E';

// A figure: 191.096835 is {false, "191096835", 2}. The digits are ASCII, with no leading zero
// and trailing zeros dropped; none for zero.
struct DecimalFigure {
  bool negative = false;
  std::string_view digits;
  int exponent = 0;
};

inline constexpr int smallestPlainExponent = -4;
inline constexpr int largestPlainExponent = 14;

constexpr bool isPlainExponent(int exponent) noexcept {
  return exponent >= smallestPlainExponent && exponent <= largestPlainExponent;
}

// Writes figure's text through out, one char16_t at a time, and returns out after the last:
// plain or scientific as asked. Plain pads integer digits the figure lacks with zeros.
//   layOutFigure({false, "15", -5}, false, out) writes "1.5E-05"
//   layOutFigure({true, "12", -4}, true, out)   writes "-0.00012"
//   layOutFigure({false, "1", 3}, true, out)    writes "1000"
template <typename Out> Out layOutFigure(const DecimalFigure& figure, bool plain, Out out) {
  const auto put = [&out](char c) { *out++ = static_cast<char16_t>(c); };
  const auto putAll = [&put](std::string_view ascii) {
    for (const char c : ascii) {
      put(c);
    }
  };
  const std::string_view digits = figure.digits;
  const int exponent = figure.exponent;
  if (figure.negative) {
    put(minusSign);
  }
  if (plain && exponent < 0) {
    put('0');
    put(decimalPoint);
    for (int zero = -1; zero > exponent; --zero) {
      put('0');
    }
    putAll(digits);
  } else if (plain) {
    const auto integers = static_cast<std::size_t>(exponent) + 1;
    putAll(digits.substr(0, integers));
    for (std::size_t zero = digits.size(); zero < integers; ++zero) {
      put('0');
    }
    if (digits.size() > integers) {
      put(decimalPoint);
      putAll(digits.substr(integers));
    }
  } else {
    putAll(digits.substr(0, 1));
    if (digits.size() > 1) {
      put(decimalPoint);
      putAll(digits.substr(1));
    }
    put(exponentMark);
    put(exponent < 0 ? minusSign : plusSign);
    char exponentDigits[12];
    const char* end =
        std::to_chars(exponentDigits, exponentDigits + sizeof exponentDigits, std::abs(exponent))
            .ptr;
    if (end - exponentDigits < 2) {
      put('0');
    }
    putAll({exponentDigits, static_cast<std::size_t>(end - exponentDigits)});
  }
  return out;
}

} // namespace velmora
