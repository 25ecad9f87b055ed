// leadingNumber on any text: it must never fail, never give NaN, and must not care whether the
// number was typed in ASCII or in the full-width forms, nor what follows the text.
#include "fuzz_input.h"
#include "runtime/leading_number.h"

#include <cmath>

using namespace velmora;
using namespace velmora::fuzzing;

namespace {

// The full-width twin of a character leadingNumber reads either way; other characters as they are.
char16_t fullWidth(char16_t c) {
  if (c >= u'0' && c <= u'9') {
    return static_cast<char16_t>(u'０' + (c - u'0'));
  }
  switch (c) {
  case u'.':
    return u'．';
  case u'+':
    return u'＋';
  case u'-':
    return u'－';
  case u'e':
    return u'ｅ';
  case u'E':
    return u'Ｅ';
  case u' ':
    return u'\u3000';
  default:
    return c;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = utf16Of(data, size);
  const double value = leadingNumber(text);
  if (std::isnan(value)) {
    fail("leadingNumber gave NaN");
  }

  std::u16string wide = text;
  for (char16_t& c : wide) {
    c = fullWidth(c);
  }
  if (bitsOf(leadingNumber(wide)) != bitsOf(value)) {
    fail("full-width text reads differently");
  }

  // A letter cannot continue any number, so it changes nothing.
  if (bitsOf(leadingNumber(text + u"x")) != bitsOf(value)) {
    fail("a trailing letter changed the number");
  }
  return 0;
}
