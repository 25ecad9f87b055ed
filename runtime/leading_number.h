#pragma once

#include <string_view>

namespace velmora {

// The number an input box's text starts with. Every text gives a double, never an error:
// white space (space, tab, CR, LF, the ideographic space U+3000) is skipped, full-width
// digits and signs count as ASCII, the number ends at the first character that cannot continue
// it, and a text without digits is 0. The floating-point status is left alone.
//   leadingNumber(u"  90cm")   -> 90
//   leadingNumber(u"45公分")   -> 45
//   leadingNumber(u"1,200")    -> 1
//   leadingNumber(u"９０")     -> 90
//   leadingNumber(u"12e+")     -> 12
//   leadingNumber(u"-")        -> 0
//   leadingNumber(u"-0")       -> -0.0
//   leadingNumber(u"1e999")    -> +infinity
double leadingNumber(std::u16string_view text);

} // namespace velmora
