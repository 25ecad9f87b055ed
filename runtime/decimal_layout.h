#pragma once

// How a decimal figure's digits are placed, plain or scientific, and the range written plain. A
// result box's figure is laid out here whenever std::to_chars' own plain text will not do (more
// than 15 digits, or outside the plain range: number_text.cpp's appendShortPlain writes the
// common short figures directly), and so is every figure fitted to a box. The digits come from
// elsewhere (std::to_chars, or a text read back); here they are only placed.

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace velmora {

// A number as its sign, its significant digits in ASCII (no leading zero, trailing zeros
// dropped) and the decimal exponent of the first of them: 191.096835 is {false, "191096835", 2}.
struct DecimalFigure {
  bool negative = false;
  std::string_view digits;
  int exponent = 0;
};

// A figure whose first digit has one of these exponents is written plain (1E-4 <= |x| < 1E+15),
// any other in scientific notation.
inline constexpr int smallestPlainExponent = -4;
inline constexpr int largestPlainExponent = 14;

constexpr bool isPlainExponent(int exponent) noexcept {
  return exponent >= smallestPlainExponent && exponent <= largestPlainExponent;
}

// Writes figure through out, one char16_t at a time, and returns out after the last: plain
// ("-0.00012", "1000", "191.097") or scientific with an upper-case E, a sign and at least two
// exponent digits ("1.5E-05", "1E+300"). Plain pads integer digits the figure lacks with zeros.
//   layOutFigure({false, "15", -5}, false, out) writes "1.5E-05"
//   layOutFigure({true, "12", -4}, true, out)   writes "-0.00012"
template <typename Out> Out layOutFigure(const DecimalFigure& figure, bool plain, Out out) {
  const auto put = [&out](std::string_view ascii) {
    for (const char c : ascii) {
      *out++ = static_cast<char16_t>(c);
    }
  };
  const std::string_view digits = figure.digits;
  const int exponent = figure.exponent;
  if (figure.negative) {
    put("-");
  }
  if (plain && exponent < 0) {
    put("0.");
    for (int zero = -1; zero > exponent; --zero) {
      put("0");
    }
    put(digits);
  } else if (plain) {
    const auto integers = static_cast<std::size_t>(exponent) + 1;
    put(digits.substr(0, integers));
    for (std::size_t zero = digits.size(); zero < integers; ++zero) {
      put("0");
    }
    if (digits.size() > integers) {
      put(".");
      put(digits.substr(integers));
    }
  } else {
    put(digits.substr(0, 1));
    if (digits.size() > 1) {
      put(".");
      put(digits.substr(1));
    }
    put(exponent < 0 ? "E-" : "E+");
    char exponentDigits[12];
    const char* end =
        std::to_chars(exponentDigits, exponentDigits + sizeof exponentDigits, std::abs(exponent))
            .ptr;
    if (end - exponentDigits < 2) {
      put("0");
    }
    put({exponentDigits, static_cast<std::size_t>(end - exponentDigits)});
  }
  return out;
}

} // namespace velmora
