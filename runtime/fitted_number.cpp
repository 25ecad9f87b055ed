#include "runtime/fitted_number.h"

#include "runtime/decimal_scan.h"
#include "runtime/figure_text.h"

#include <iterator>
#include <string>

namespace velmora {

namespace {

// The figure to count significant digits, half away from zero; a carry out of the first digit
// makes it one place longer (9.96 to 2 digits is 10).
ScannedFigure rounded(const ScannedFigure& figure, std::size_t count) {
  ScannedFigure result = figure;
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

std::u16string laidOut(const ScannedFigure& figure, bool plain) {
  std::u16string text;
  layOutFigure(figure.figure(), plain, std::back_inserter(text));
  return text;
}

// The figure in plain notation, or nothing where that would not show all its integer digits
// or numberToText would not write it plain.
std::u16string plain(const ScannedFigure& figure, std::size_t count) {
  if (!isPlainExponent(figure.exponent) ||
      (figure.exponent >= 0 && count < static_cast<std::size_t>(figure.exponent) + 1)) {
    return {};
  }
  return laidOut(figure, true);
}

std::u16string scientific(const ScannedFigure& figure) {
  return laidOut(figure, false);
}

} // namespace

std::u16string fitNumber(std::u16string_view text, int room, const TextWidth& width) {
  if (width(text) <= room) {
    return std::u16string(text);
  }
  ScannedFigure figure;
  if (scanDecimal(text, false, &figure).length != text.size() || figure.digits.empty()) {
    return std::u16string(text);
  }
  for (std::size_t count = figure.digits.size(); count > 0; --count) {
    const ScannedFigure candidate = rounded(figure, count);
    if (const std::u16string shown = plain(candidate, count);
        !shown.empty() && width(shown) <= room) {
      return shown;
    }
    if (const std::u16string shown = scientific(candidate); width(shown) <= room) {
      return shown;
    }
  }
  // Nothing fits: one digit is the least there is to show.
  return scientific(rounded(figure, 1));
}

} // namespace velmora
