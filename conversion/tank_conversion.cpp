#include "conversion/tank_conversion.h"

#include "runtime/leading_number.h"
#include "runtime/number_text.h"
#include "runtime/wide_number.h"

#include <array>
#include <bit>
#include <cstdint>
#include <optional>

namespace velmora {

namespace {

constexpr double cubicCentimetresPerLitre = 1000;

// The figures derived from the volume as shown; the suggested light is the volume itself
// (1 watt per litre), so nothing is multiplied for it.
struct DerivedFigure {
  Box box;
  std::optional<double> factor;
};
constexpr std::array<DerivedFigure, resultBoxes.size() - 1> derivedFigures{{
    {Box::Label7, 0.8}, // required light, watts per litre
    {Box::Label8, std::nullopt},
    {Box::Label11, 3}, // required flow, tank volumes per hour
    {Box::Label13, 5}, // suggested flow, tank volumes per hour
}};
// The volume and then these are the result boxes in the table's order, the order a click
// writes them, so a result box without its figure here does not compile.
static_assert([] {
  for (std::size_t i = 0; i < derivedFigures.size(); ++i) {
    if (derivedFigures[i].box != resultBoxes[i + 1]) {
      return false;
    }
  }
  return resultBoxes.front() == Box::Label5;
}());

// Reads into one buffer for the whole conversion, so no read makes a string of its own.
std::u16string_view readBox(TankBoxes& boxes, Box box, std::u16string& text) {
  if (const PropertyStatus status = boxes.read(box, text); status != propertyCallSucceeded) {
    checkPropertyCall(status, boxCaption(box), boxName(box), textPropertyName(box));
  }
  return text;
}

void writeBox(TankBoxes& boxes, Box box, std::u16string_view text) {
  if (const PropertyStatus status = boxes.write(box, text); status != propertyCallSucceeded) {
    checkPropertyCall(status, boxCaption(box), boxName(box), textPropertyName(box));
  }
}

// The number the volume box's text reads as, in the steps after the one that wrote it. Each
// step reads the box anew and takes whatever text it shows; but while that is the text written,
// it reads as the same number every time, so it is converted at most once, and not at all when
// the text is known to read back as the volume itself.
class VolumeReadBack {
public:
  VolumeReadBack(const NumberText& written, double volume) noexcept
      : written_(written), converted_(written.readsBackExactly), writtenVolume_(volume) {}

  double operator()(std::u16string_view shown) {
    if (shown != written_.view()) {
      return textToNumber(shown);
    }
    if (!converted_) {
      writtenVolume_ = textToNumber(shown);
      converted_ = true;
    }
    return writtenVolume_;
  }

private:
  const NumberText& written_;
  bool converted_;
  double writtenVolume_;
};

bool isSameDouble(double a, double b) noexcept {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

void convertTank(TankBoxes& boxes) {
  std::u16string shown;
  const double volume = [&] {
    // Width, height, then length: when more than one box holds no number, this order decides
    // which text the type-mismatch error names, and the tests hold it.
    const double width = leadingNumber(readBox(boxes, Box::Text2, shown));
    const double height = leadingNumber(readBox(boxes, Box::Text3, shown));
    const double length = leadingNumber(readBox(boxes, Box::Text1, shown));
    FloatingPointStatus status;
    const WideNumber wide = WideNumber(length)
                                .times(WideNumber(width), status)
                                .times(WideNumber(height), status)
                                .dividedBy(WideNumber(cubicCentimetresPerLitre), status);
    status.test();
    return wide.toDouble();
  }();
  const NumberText volumeText = formatNumber(volume);
  writeBox(boxes, Box::Label5, volumeText.view());

  VolumeReadBack shownVolume(volumeText, volume);
  for (const DerivedFigure& figure : derivedFigures) {
    // The volume is re-read from its box so the figures match what is shown.
    WideNumber result(shownVolume(readBox(boxes, Box::Label5, shown)));
    FloatingPointStatus status;
    if (figure.factor) {
      result = result.times(WideNumber(*figure.factor), status);
    }
    status.test();
    // A figure that is the volume itself, as the suggested light is, shows the volume's text.
    if (const double value = result.toDouble(); isSameDouble(value, volume)) {
      writeBox(boxes, figure.box, volumeText.view());
    } else {
      writeBox(boxes, figure.box, formatNumber(value).view());
    }
  }
}

} // namespace velmora
