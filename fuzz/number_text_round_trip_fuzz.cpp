// numberToText then textToNumber on any double: infinities come back exactly, NaN as NaN, a
// finite double as a finite one within the 15 digits shown whose text is the same text again;
// the longer texts written near the largest double come back bit for bit.
#include "fuzz_input.h"
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
  return 0;
}
