// The whole conversion over boxes in memory, on any input texts. It either raises the
// floating-point error before writing anything, or writes every result box so that every
// derived figure is the documented function of the volume as shown.
#include "conversion/tank_conversion.h"
#include "fuzz_input.h"
#include "runtime/number_text.h"
#include "runtime/run_time_error.h"

#include <array>
#include <cmath>
#include <map>

using namespace velmora;
using namespace velmora::fuzzing;

namespace {

class MemoryBoxes : public TankBoxes {
public:
  PropertyStatus read(Box box, std::u16string& text) override {
    text = texts[box];
    return propertyCallSucceeded;
  }
  PropertyStatus write(Box box, std::u16string_view text) override {
    texts[box] = std::u16string(text);
    ++writes;
    return propertyCallSucceeded;
  }

  std::map<Box, std::u16string> texts;
  std::size_t writes = 0;
};

// v × factor with the product rounded to 53 bits first and then into the double range, the
// way the conversion's arithmetic is documented to round: a tiny product is scaled up by an
// exact power of two, multiplied, and scaled back down.
double timesWide(double volume, double factor) {
  if (!std::isfinite(volume) || volume == 0.0 || std::fabs(volume) >= 0x1p-900) {
    return volume * factor;
  }
  return (volume * 0x1p200 * factor) * 0x1p-200;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A text for each input box, separated by U+0000.
  const std::u16string input = utf16Of(data, size);
  std::array<std::u16string, inputBoxes.size()> inputs;
  std::size_t field = 0;
  for (char16_t c : input) {
    if (c == u'\0' && field + 1 < inputs.size()) {
      ++field;
    } else {
      inputs[field].push_back(c);
    }
  }

  MemoryBoxes boxes;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    boxes.texts[inputBoxes[i]] = inputs[i];
  }
  try {
    convertTank(boxes);
  } catch (const RunTimeError& error) {
    // The inputs always read as numbers and the boxes never fail, so only infinity times zero
    // can stop the conversion, and it does so before the first write.
    if (error.kind() != ErrorKind::floatingPoint) {
      fail("the conversion raised an error other than the floating-point error");
    }
    if (boxes.writes != 0) {
      fail("the floating-point error came after a box was written");
    }
    return 0;
  }
  if (boxes.writes != resultBoxes.size()) {
    fail("the conversion did not write as many boxes as there are result boxes");
  }

  const std::u16string& shown = boxes.texts[Box::Label5];
  double volume = 0.0;
  try {
    volume = textToNumber(shown);
  } catch (const RunTimeError&) {
    fail("the volume's text does not read back");
  }
  if (std::isnan(volume)) {
    fail("the volume is NaN");
  }
  if (boxes.texts[Box::Label8] != shown) {
    fail("the suggested light differs from the volume");
  }
  if (boxes.texts[Box::Label7] != numberToText(timesWide(volume, 0.8))) {
    fail("the required light is not 0.8 times the volume");
  }
  if (boxes.texts[Box::Label11] != numberToText(timesWide(volume, 3))) {
    fail("the required flow is not 3 times the volume");
  }
  if (boxes.texts[Box::Label13] != numberToText(timesWide(volume, 5))) {
    fail("the suggested flow is not 5 times the volume");
  }
  return 0;
}
