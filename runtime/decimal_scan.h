#pragma once

#include "runtime/figure_text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The longest decimal number at the start of a text: a figure's text (figure_text.h), or what a
// keeper types for one,
//   [+|-] digits [. digits] [(e|E) [+|-] digits]
// with at least one digit in the mantissa (".5" and "5." count); an exponent counts only when
// it has a digit, so "12e+" scans as "12". The value is the correctly rounded double, whatever
// the number of digits; too large gives ±infinity, too small ±0 or the right subnormal.
//   scanDecimal(u"90cm", false)   -> {90.0, 2, true}
//   scanDecimal(u"-0", false)     -> {-0.0, 2, true}
//   scanDecimal(u"abc", false)    -> {0.0, 0, false}
// With acceptFullWidth, the full-width forms a Chinese input method types (０-９ ． ＋ － ｅ Ｅ)
// count as their ASCII twins:
//   scanDecimal(u"９０", true)    -> {90.0, 2, true}
struct ScannedDecimal {
  double value = 0.0;
  std::size_t length = 0; // code units taken from the text; 0 when there are no digits
  bool hasDigits = false;
};

// A number taken apart as a figure (figure_text.h), holding its own digits; none for zero.
struct ScannedFigure {
  bool negative = false;
  std::string digits;
  int exponent = 0;
  DecimalFigure figure() const noexcept { return {negative, digits, exponent}; }
};

// With figure, the number scanned is also taken apart into it (a text without one leaves it be):
//   scanDecimal(u"-0.0012300", false, &figure)  -> figure {true, "123", -3}
ScannedDecimal scanDecimal(std::u16string_view text, bool acceptFullWidth,
                           ScannedFigure* figure = nullptr);

} // namespace velmora
