#include "runtime/leading_number.h"

#include "runtime/decimal_scan.h"

namespace velmora {

namespace {

bool isWhiteSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

} // namespace

double leadingNumber(std::u16string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isWhiteSpace(text[start])) {
    ++start;
  }
  return scanDecimal(text.substr(start), true).value;
}

} // namespace velmora
