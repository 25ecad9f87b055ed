#pragma once

// One click's conversion ("90", "45", "45") three ways, for the click benches: through
// convertTank and in-memory boxes; the same conversion over the same boxes written the plain
// way, with strtod and snprintf("%.15G"); and as nothing but the to_chars and from_chars calls
// the conversion makes. conversion_bench times them natively with Google Benchmark, the quick
// figure; click_bench times them as Velmora.exe is built, under Wine.

#include "conversion/tank_conversion.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::bench {

// Tells the compiler that memory at p is read and written here, so that no work on it is
// folded away or left out.
inline void escape(const void* p) {
  asm volatile("" : : "g"(p) : "memory");
}

// Boxes held in an array, so the benchmark times the conversion and not a container.
class MemoryBoxes : public TankBoxes {
public:
  MemoryBoxes() {
    texts[index(Box::Text1)] = u"90";
    texts[index(Box::Text2)] = u"45";
    texts[index(Box::Text3)] = u"45";
  }
  PropertyStatus read(Box box, std::u16string& text) override {
    text = texts[index(box)];
    return propertyCallSucceeded;
  }
  PropertyStatus write(Box box, std::u16string_view text) override {
    texts[index(box)] = text;
    return propertyCallSucceeded;
  }
  static std::size_t index(Box box) { return static_cast<std::size_t>(box); }

  std::array<std::u16string, boxCount> texts;
};

// What the plain way throws, should a box call fail or a text not be a number (the bench's never
// do). Not a std::runtime_error, whose copy-on-write string of the old ABI would bring into
// click_bench, built as Velmora.exe is, the library code that Velmora.exe leaves out.
struct PlainFailure {
  const char* what;
};

[[noreturn]] inline void failedCall() {
  throw PlainFailure{"a box call failed"};
}

inline double plainNumber(TankBoxes& boxes, Box box, bool whole) {
  std::u16string text;
  if (boxes.read(box, text) != propertyCallSucceeded) {
    failedCall();
  }
  const std::string narrow(text.begin(), text.end());
  char* end = nullptr;
  const double value = std::strtod(narrow.c_str(), &end);
  if (whole && (end == narrow.c_str() || *end != '\0')) {
    throw PlainFailure{"not a number"};
  }
  return value;
}

inline void plainWrite(TankBoxes& boxes, Box box, double value) {
  char text[32];
  const int length = std::snprintf(text, sizeof text, "%.15G", value);
  const std::u16string wide(text, text + length);
  if (boxes.write(box, wide) != propertyCallSucceeded) {
    failedCall();
  }
}

// The conversion as it is usually written: the same steps over the same boxes, each text
// narrowed for strtod and each figure widened from snprintf. It leaves out what convertTank
// does besides (full-width digits, the floating-point test, the extended exponent range, the
// text of infinity), so if anything it is flattered.
inline void plainConvertTank(TankBoxes& boxes) {
  const double width = plainNumber(boxes, Box::Text2, false);
  const double height = plainNumber(boxes, Box::Text3, false);
  const double length = plainNumber(boxes, Box::Text1, false);
  plainWrite(boxes, Box::Label5, length * width * height / 1000);
  constexpr std::pair<Box, double> figures[] = {
      {Box::Label7, 0.8}, {Box::Label8, 1}, {Box::Label11, 3}, {Box::Label13, 5}};
  for (const auto& [box, factor] : figures) {
    plainWrite(boxes, box, plainNumber(boxes, Box::Label5, true) * factor);
  }
}

// Only the library conversions convertTank makes, on the texts it makes them on: from_chars for
// the inputs, to_chars to 15 significant digits for the figures, and from_chars for the
// volume's text once: each read-back finds the text that was written, whose number is kept
// after the first.
class BareCharconv {
public:
  BareCharconv() {
    MemoryBoxes converted;
    convertTank(converted);
    const std::u16string& shown = converted.texts[MemoryBoxes::index(Box::Label5)];
    shownVolume_.assign(shown.begin(), shown.end());
  }

  // One conversion's calls.
  void run() {
    escape(inputs_);
    escape(shownVolume_.data());
    double sizes[inputBoxes.size()];
    for (std::size_t i = 0; i < inputBoxes.size(); ++i) {
      std::from_chars(inputs_[i].data(), inputs_[i].data() + inputs_[i].size(), sizes[i]);
    }
    std::to_chars(figures_[0], figures_[0] + sizeof figures_[0],
                  sizes[0] * sizes[1] * sizes[2] / 1000, std::chars_format::scientific, 14);
    double volume = 0;
    std::from_chars(shownVolume_.data(), shownVolume_.data() + shownVolume_.size(), volume);
    constexpr double factors[] = {0.8, 1, 3, 5};
    static_assert(std::size(factors) == resultBoxes.size() - 1, "a factor for each figure");
    for (std::size_t figure = 0; figure < std::size(factors); ++figure) {
      std::to_chars(figures_[figure + 1], figures_[figure + 1] + sizeof figures_[0],
                    volume * factors[figure], std::chars_format::scientific, 14);
    }
    escape(figures_);
  }

private:
  const std::string_view inputs_[inputBoxes.size()] = {"90", "45", "45"};
  std::string shownVolume_;
  char figures_[resultBoxes.size()][40] = {};
};

// The figures and their aims, the same lines from either bench, for the build named.
inline void printClickFigures(const char* build, double convertTank, double plain, double bare) {
  std::printf("\nclick, %s: ns per conversion, fastest repetition: convertTank %.1f, plain "
              "strtod/snprintf %.1f, bare charconv %.1f\n",
              build, convertTank, plain, bare);
  std::printf("  convertTank / bare charconv:  %.2fx (aim: at most 1.5x)\n", convertTank / bare);
  std::printf("  plain way / convertTank:      %.2fx (aim: at least 3x)\n", plain / convertTank);
}

} // namespace velmora::bench
