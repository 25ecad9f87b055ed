#include "runtime/fitted_number.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace velmora {

namespace {

// The bounds of numberToText's plain notation, as decimal exponents of the leading digit.
constexpr int smallestPlainExponent = -4;
constexpr int largestPlainExponent = 14;

// A number's text taken apart: sign, significant digits without leading or trailing zeros, and
// the decimal exponent of the first of them (191.096835 is 1.91096835 times 10 to the 2).
struct Figure {
  bool negative = false;
  std::u16string digits;
  int exponent = 0;
};

bool isDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Reads the forms numberToText writes: "-191.096835", "0.0001", "1.5E-05". Zero and anything
// else give false.
bool parse(std::u16string_view text, Figure& figure) {
  std::size_t at = 0;
  figure.negative = at < text.size() && text[at] == u'-';
  at += figure.negative;
  int integerDigits = 0, leadingZeros = 0;
  bool point = false, seenDigit = false;
  for (; at < text.size() && (isDigit(text[at]) || (text[at] == u'.' && !point)); ++at) {
    if (text[at] == u'.') {
      point = true;
      continue;
    }
    seenDigit = true;
    integerDigits += !point;
    if (figure.digits.empty() && text[at] == u'0') {
      ++leadingZeros;
      continue;
    }
    figure.digits.push_back(text[at]);
  }
  if (!seenDigit)
    return false;
  int exponent = 0;
  if (at < text.size()) {
    if (text[at] != u'E' || at + 2 >= text.size() || (text[at + 1] != u'+' && text[at + 1] != u'-'))
      return false;
    const bool negativeExponent = text[at + 1] == u'-';
    for (at += 2; at < text.size(); ++at) {
      if (!isDigit(text[at]) || exponent > 10000)
        return false;
      exponent = exponent * 10 + (text[at] - u'0');
    }
    exponent = negativeExponent ? -exponent : exponent;
  }
  while (!figure.digits.empty() && figure.digits.back() == u'0')
    figure.digits.pop_back();
  if (figure.digits.empty())
    return false;
  // Leading zeros before the point are integer digits that do not count.
  figure.exponent = exponent + integerDigits - 1 - leadingZeros;
  return true;
}

// The figure to count significant digits, half away from zero; a carry out of the first digit
// makes it one place longer (9.96 to 2 digits is 10).
Figure rounded(const Figure& figure, std::size_t count) {
  Figure result = figure;
  if (figure.digits.size() <= count)
    return result;
  result.digits.resize(count);
  if (figure.digits[count] >= u'5') {
    std::size_t at = count;
    while (at > 0 && result.digits[at - 1] == u'9')
      result.digits[--at] = u'0';
    if (at == 0) {
      result.digits.insert(result.digits.begin(), u'1');
      result.digits.pop_back();
      ++result.exponent;
    } else {
      ++result.digits[at - 1];
    }
  }
  while (result.digits.size() > 1 && result.digits.back() == u'0')
    result.digits.pop_back();
  return result;
}

// The figure in plain notation, or nothing where that would not show all its integer digits
// or numberToText would not write it plain.
std::u16string plain(const Figure& figure, std::size_t count) {
  if (figure.exponent < smallestPlainExponent || figure.exponent > largestPlainExponent ||
      (figure.exponent >= 0 && count < static_cast<std::size_t>(figure.exponent) + 1))
    return {};
  std::u16string text = figure.negative ? u"-" : u"";
  if (figure.exponent < 0) {
    text.append(u"0.").append(static_cast<std::size_t>(-figure.exponent - 1), u'0');
    return text.append(figure.digits);
  }
  const auto integers = static_cast<std::size_t>(figure.exponent) + 1;
  std::u16string digits = figure.digits;
  digits.resize(std::max(digits.size(), integers), u'0');
  text.append(digits, 0, integers);
  if (digits.size() > integers)
    text.append(u".").append(digits, integers);
  return text;
}

std::u16string scientific(const Figure& figure) {
  std::u16string text = figure.negative ? u"-" : u"";
  text.push_back(figure.digits[0]);
  if (figure.digits.size() > 1)
    text.append(u".").append(figure.digits, 1);
  text.append(figure.exponent < 0 ? u"E-" : u"E+");
  char digits[8];
  const char* end = std::to_chars(digits, digits + sizeof digits, std::abs(figure.exponent)).ptr;
  if (end - digits < 2)
    text.push_back(u'0');
  for (const char* digit = digits; digit != end; ++digit)
    text.push_back(static_cast<char16_t>(*digit));
  return text;
}

} // namespace

std::u16string fitNumber(std::u16string_view text, int room, const TextWidth& width) {
  Figure figure;
  if (width(text) <= room || !parse(text, figure))
    return std::u16string(text);
  for (std::size_t count = figure.digits.size(); count > 1; --count) {
    const Figure candidate = rounded(figure, count);
    if (const std::u16string shown = plain(candidate, count);
        !shown.empty() && width(shown) <= room)
      return shown;
    if (const std::u16string shown = scientific(candidate); width(shown) <= room)
      return shown;
  }
  const Figure oneDigit = rounded(figure, 1);
  if (const std::u16string shown = plain(oneDigit, 1); !shown.empty() && width(shown) <= room)
    return shown;
  return scientific(oneDigit);
}

} // namespace velmora
