#include "runtime/fitted_number.h"

#include "runtime/decimal_layout.h"

#include <iterator>
#include <string>

namespace velmora {

namespace {

// A number's text taken apart, owning the digits its DecimalFigure views.
struct Figure {
  bool negative = false;
  std::string digits;
  int exponent = 0;

  DecimalFigure decimal() const noexcept { return {negative, digits, exponent}; }
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
    figure.digits.push_back(static_cast<char>(text[at]));
  }
  if (!seenDigit) {
    return false;
  }
  int exponent = 0;
  if (at < text.size()) {
    if (text[at] != u'E' || at + 2 >= text.size() ||
        (text[at + 1] != u'+' && text[at + 1] != u'-')) {
      return false;
    }
    const bool negativeExponent = text[at + 1] == u'-';
    for (at += 2; at < text.size(); ++at) {
      if (!isDigit(text[at]) || exponent > 10000) {
        return false;
      }
      exponent = exponent * 10 + (text[at] - u'0');
    }
    exponent = negativeExponent ? -exponent : exponent;
  }
  while (!figure.digits.empty() && figure.digits.back() == '0') {
    figure.digits.pop_back();
  }
  if (figure.digits.empty()) {
    return false;
  }
  // Leading zeros before the point are integer digits that do not count.
  figure.exponent = exponent + integerDigits - 1 - leadingZeros;
  return true;
}

// The figure to count significant digits, half away from zero; a carry out of the first digit
// makes it one place longer (9.96 to 2 digits is 10).
Figure rounded(const Figure& figure, std::size_t count) {
  Figure result = figure;
  if (figure.digits.size() <= count) {
    return result;
  }
  result.digits.resize(count);
  if (figure.digits[count] >= '5') {
    std::size_t at = count;
    while (at > 0 && result.digits[at - 1] == '9') {
      result.digits[--at] = '0';
    }
    if (at == 0) {
      result.digits.insert(result.digits.begin(), '1');
      result.digits.pop_back();
      ++result.exponent;
    } else {
      ++result.digits[at - 1];
    }
  }
  while (result.digits.size() > 1 && result.digits.back() == '0') {
    result.digits.pop_back();
  }
  return result;
}

std::u16string laidOut(const Figure& figure, bool plain) {
  std::u16string text;
  layOutFigure(figure.decimal(), plain, std::back_inserter(text));
  return text;
}

// The figure in plain notation, or nothing where that would not show all its integer digits
// or numberToText would not write it plain.
std::u16string plain(const Figure& figure, std::size_t count) {
  if (!isPlainExponent(figure.exponent) ||
      (figure.exponent >= 0 && count < static_cast<std::size_t>(figure.exponent) + 1)) {
    return {};
  }
  return laidOut(figure, true);
}

std::u16string scientific(const Figure& figure) {
  return laidOut(figure, false);
}

} // namespace

std::u16string fitNumber(std::u16string_view text, int room, const TextWidth& width) {
  Figure figure;
  if (width(text) <= room || !parse(text, figure)) {
    return std::u16string(text);
  }
  for (std::size_t count = figure.digits.size(); count > 1; --count) {
    const Figure candidate = rounded(figure, count);
    if (const std::u16string shown = plain(candidate, count);
        !shown.empty() && width(shown) <= room) {
      return shown;
    }
    if (const std::u16string shown = scientific(candidate); width(shown) <= room) {
      return shown;
    }
  }
  const Figure oneDigit = rounded(figure, 1);
  if (const std::u16string shown = plain(oneDigit, 1); !shown.empty() && width(shown) <= room) {
    return shown;
  }
  return scientific(oneDigit);
}

} // namespace velmora
