#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The text a result box shows for a number, as a desktop calculator shows it: rounded correctly
// to 15 significant digits and written as a figure's text (runtime/figure_text.h), plain or
// scientific as the rounded number's exponent says.
//   numberToText(182.25)            -> "182.25"
//   numberToText(64.8 * 3)          -> "194.4"   (the double just below 194.4)
//   numberToText(0.0001)            -> "0.0001"
//   numberToText(1.5e-5)            -> "1.5E-05"
//   numberToText(1e15)              -> "1E+15"
//   numberToText(-0.0)              -> "0"
//   numberToText(infinity)          -> "∞"    and "-∞", "NaN"
// Every finite double reads back as a finite double: near the largest double, where 15 digits
// would read back as infinity, the shortest text that reads back exactly is written instead
// (1.7976931348623157E+308 for the largest).
std::u16string numberToText(double value);

// A number's text as numberToText writes it, held in place rather than on the heap.
struct NumberText {
  char16_t units[32]; // the longest text, "-1.7976931348623157E+308", takes 24
  std::size_t length = 0;
  // Whether textToNumber(view()) gives back the very number written, bit for bit: true for the
  // shortest text that reads back exactly, which is what most figures show, and for infinity.
  bool readsBackExactly = false;
  std::u16string_view view() const noexcept { return {units, length}; }
};

// numberToText for a caller that only passes the text on, so it needs no string of its own:
//   formatNumber(182.25).view() -> "182.25"
NumberText formatNumber(double value) noexcept;

// Reads back what numberToText writes: a text that scanDecimal takes whole, "∞", "-∞" and
// "NaN". Any other text, the empty one included, raises the conversion error naming it. The
// floating-point status is left alone.
//   textToNumber(u"182.25")  -> 182.25
//   textToNumber(u"1.5E-05") -> 1.5e-5
//   textToNumber(u"12 ")     -> raises
double textToNumber(std::u16string_view text);

} // namespace velmora
