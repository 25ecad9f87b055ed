// numberToText then textToNumber on any double: infinities come back exactly, NaN as NaN, a
// finite double as a finite one within the 15 digits shown whose text is the same text again;
// the longer texts written near the largest double come back bit for bit. And the text shown
// in a box too narrow for it is that number rounded: within half a unit of its last digit.
#include "fuzz_input.h"
#include "runtime/fitted_number.h"
#include "runtime/number_text.h"
#include "runtime/run_time_error.h"

#include <cmath>

using namespace velmora;
using namespace velmora::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size != sizeof(double)) {
    return -1; // not a double: keep it out of the corpus
  }
  double value;
  std::memcpy(&value, data, sizeof value);

  const std::u16string text = numberToText(value);
  double readBack = 0.0;
  try {
    readBack = textToNumber(text);
  } catch (const RunTimeError&) {
    fail("numberToText wrote a text textToNumber refuses");
  }

  if (std::isnan(value)) {
    if (!std::isnan(readBack) || text != u"NaN") {
      fail("NaN did not come back as NaN");
    }
    return 0;
  }
  if (std::isinf(value)) {
    if (bitsOf(readBack) != bitsOf(value)) {
      fail("an infinity did not come back");
    }
    return 0;
  }
  if (!std::isfinite(readBack)) {
    fail("a finite double came back infinite or NaN");
  }
  if (numberToText(readBack) != text) {
    fail("the text of the read-back double differs");
  }
  if (value == 0.0) {
    if (readBack != 0.0) {
      fail("zero did not come back as zero");
    }
    return 0;
  }
  if (std::signbit(readBack) != std::signbit(value)) {
    fail("the sign changed");
  }
  // 15 significant digits: within half a unit of the 15th digit, so well under 1E-14 relative.
  // Subnormals carry fewer bits, so allow their own spacing too.
  const double error = std::fabs(readBack - value);
  if (error > std::fabs(value) * 1e-14 && error > 0x1p-1074) {
    fail("the read-back double is too far from the original");
  }
  std::size_t digits = 0; // significant ones: leading zeros do not count
  for (char16_t c : text) {
    if (c == u'E') {
      break;
    }
    if (c >= u'0' && c <= u'9' && (digits > 0 || c != u'0')) {
      ++digits;
    }
  }
  if (digits > 15 && bitsOf(readBack) != bitsOf(value)) {
    fail("a text longer than 15 digits did not come back exactly");
  }

  // A box some characters wide, every character as wide as the next.
  const int room = static_cast<int>(bitsOf(value) % 25);
  const auto characters = [](std::u16string_view shown) { return static_cast<int>(shown.size()); };
  const std::u16string shown = fitNumber(text, room, characters);
  double rounded = 0.0;
  try {
    rounded = textToNumber(shown);
  } catch (const RunTimeError&) {
    fail("a figure was shortened into a text that is no number");
  }
  std::size_t shownDigits = 0;
  for (char16_t c : shown) {
    if (c == u'E') {
      break;
    }
    if (c >= u'0' && c <= u'9' && (shownDigits > 0 || c != u'0')) {
      ++shownDigits;
    }
  }
  // Rounded up past the largest double, the text is still the number rounded, but reads as
  // infinity.
  if (std::isinf(rounded) && std::fabs(readBack) >= 1e308) {
    return 0;
  }
  // Half a unit of the last digit shown, relative to a leading digit of at least 1, and the
  // error of reading two decimal texts into doubles.
  if (std::fabs(rounded - readBack) >
      std::fabs(readBack) * (5 * std::pow(10.0, -static_cast<double>(shownDigits)) + 1e-15)) {
    fail("a shortened figure is not the number rounded");
  }
  if (static_cast<int>(shown.size()) > room && shownDigits > 1) {
    fail("a shortened figure is wider than its box though fewer digits would fit");
  }
  return 0;
}
