// textToNumber on any text: it returns or raises the conversion error, nothing else. A text it
// accepts is a plain number (or one of the three special texts), so leadingNumber reads the
// same double from it.
#include "fuzz_input.h"
#include "runtime/leading_number.h"
#include "runtime/number_text.h"
#include "runtime/run_time_error.h"

#include <cmath>

using namespace velmora;
using namespace velmora::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = utf16Of(data, size);
  double value = 0.0;
  try {
    value = textToNumber(text);
  } catch (const RunTimeError& error) {
    if (error.kind() != ErrorKind::conversion) {
      fail("textToNumber raised an error other than the conversion error");
    }
    if (error.message().empty()) {
      fail("the conversion error has no message");
    }
    return 0;
  }
  if (text.empty()) {
    fail("textToNumber accepted the empty text");
  }
  if (text == u"NaN") {
    if (!std::isnan(value)) {
      fail("\"NaN\" did not read as NaN");
    }
    return 0;
  }
  if (text == u"∞" || text == u"-∞") {
    if (!std::isinf(value) || std::signbit(value) != (text[0] == u'-')) {
      fail("an infinity text read wrongly");
    }
    return 0;
  }
  if (bitsOf(leadingNumber(text)) != bitsOf(value)) {
    fail("leadingNumber and textToNumber disagree on a number text");
  }
  return 0;
}
