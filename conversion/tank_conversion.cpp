#include "conversion/tank_conversion.h"

#include "runtime/leading_number.h"
#include "runtime/number_text.h"
#include "runtime/wide_number.h"

#include <array>
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
constexpr std::array<DerivedFigure, 4> derivedFigures{{
    {Box::Label7, 0.8}, // required light, watts per litre
    {Box::Label8, std::nullopt},
    {Box::Label11, 3}, // required flow, tank volumes per hour
    {Box::Label13, 5}, // suggested flow, tank volumes per hour
}};

std::u16string readBox(TankBoxes& boxes, Box box) {
  std::u16string text;
  if (const PropertyStatus status = boxes.read(box, text); status != propertyCallSucceeded) {
    checkPropertyCall(status, boxName(box), textPropertyName(box));
  }
  return text;
}

void writeBox(TankBoxes& boxes, Box box, double value) {
  const NumberText text = formatNumber(value);
  if (const PropertyStatus status = boxes.write(box, text.view()); status != propertyCallSucceeded) {
    checkPropertyCall(status, boxName(box), textPropertyName(box));
  }
}

} // namespace

void convertTank(TankBoxes& boxes) {
  {
    const double width = leadingNumber(readBox(boxes, Box::Text2));
    const double height = leadingNumber(readBox(boxes, Box::Text3));
    const double length = leadingNumber(readBox(boxes, Box::Text1));
    FloatingPointStatus status;
    const WideNumber volume = WideNumber(length)
                                  .times(WideNumber(width), status)
                                  .times(WideNumber(height), status)
                                  .dividedBy(WideNumber(cubicCentimetresPerLitre), status);
    status.test();
    writeBox(boxes, Box::Label5, volume.toDouble());
  }
  for (const DerivedFigure& figure : derivedFigures) {
    // The volume is re-read from its box so the figures match what is shown.
    const double shownVolume = textToNumber(readBox(boxes, Box::Label5));
    FloatingPointStatus status;
    WideNumber result(shownVolume);
    if (figure.factor) {
      result = result.times(WideNumber(*figure.factor), status);
    }
    status.test();
    writeBox(boxes, figure.box, result.toDouble());
  }
}

} // namespace velmora
