#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velmora {

// The width a text takes when drawn, in whatever unit the room is given in (pixels, for a box).
using TextWidth = std::function<int(std::u16string_view)>;

// What a box shows of a number's text in the room it has, as a spreadsheet shows a number in
// a narrow column: the text itself where it fits; otherwise the same number rounded to the
// most significant digits whose text fits, never a text cut into another number.
//
// text is read as textToNumber reads it (scanDecimal, whole). Its decimal digits are rounded half
// away from zero, so a figure ending in 5 rounds as a person rounds it on paper, and written as a
// figure's text (runtime/figure_text.h): plain where the rounded number's exponent allows it and
// every one of its integer digits remains, otherwise scientific. With as many digits either way,
// plain wins. When nothing fits, the one-digit scientific form is the least there is to show. A
// text that is not a number ("∞", "NaN", anything else) comes back as it is, and so does zero.
//
// With digits 7 wide, the point and the minus sign 4, E 9 and the plus sign 8 (near 9.75-point
// Arial at 96 dpi):
//   fitNumber(u"182.25", 47, width)       -> "182.25"     (39 wide: fits as it is)
//   fitNumber(u"191.096835", 47, width)   -> "191.097"    (46 wide)
//   fitNumber(u"0.125", 25, width)        -> "0.13"       (a tie rounds away from zero)
//   fitNumber(u"999.9996", 32, width)     -> "1000"       (9s round up into one more digit)
//   fitNumber(u"1234567.891", 49, width)  -> "1234568"
//   fitNumber(u"12345678901", 49, width)  -> "1.2E+10"    (the whole number too wide)
//   fitNumber(u"-0.000123456", 50, width) -> "-0.00012"
std::u16string fitNumber(std::u16string_view text, int room, const TextWidth& width);

} // namespace velmora
