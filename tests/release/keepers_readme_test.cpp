// The README.txt that the zip carries beside Velmora.exe, as a keeper reads it: the figures the
// program gives, and the place to report that its boxes give.
#include "conversion/tank_conversion.h"
#include "runtime/report_place.h"
#include "tests/ascii.h"
#include "tests/conversion/fake_boxes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// The keepers' README as the zip carries it, in its two halves: Chinese, then English.
struct ReadmeHalves {
  std::string chinese, english;
};

ReadmeHalves readReadme() {
  std::ifstream file(VELMORA_README, std::ios::binary);
  const std::string readme{std::istreambuf_iterator<char>(file), {}};
  const std::size_t english = readme.find("\nEnglish\n");
  if (english == std::string::npos) {
    throw std::runtime_error(VELMORA_README " has no English half");
  }
  return {readme.substr(0, english), readme.substr(english)};
}

// It works a 3 尺 tank (90 × 45 × 45 cm) through, in both its halves: the figures it gives, in
// the window's order, are the ones the conversion writes, so no change to how figures show can
// leave it behind.
TEST(KeepersReadme, WorksThroughAThreeChiTankWithVelmorasOwnFigures) {
  velmora::testing::FakeBoxes boxes(u"90", u"45", u"45");
  velmora::convertTank(boxes);
  const ReadmeHalves readme = readReadme();
  for (const auto& [name, half] :
       {std::pair{"Chinese", readme.chinese}, {"English", readme.english}}) {
    std::size_t at = half.find("90 × 45 × 45");
    for (const velmora::Box box : velmora::resultBoxes) {
      const std::string figure = velmora::testing::ascii(boxes.texts[box]);
      at = half.find(figure, at);
      EXPECT_NE(at, std::string::npos)
          << figure << " is not in its place in the " << name << " half";
    }
  }
}

// Both halves name the place the boxes send a keeper to report, as the build set it, in the
// section the boxes point to; and both say that Windows in S mode cannot run Velmora, which a
// keeper would otherwise take for a fault.
TEST(KeepersReadme, BothHalvesSayWhereToReportAndThatSModeCannotRunIt) {
  using velmora::testing::utf8;
  const ReadmeHalves readme = readReadme();
  const struct {
    const std::string& half;
    std::string needed;
  } lines[] = {
      {readme.chinese, "\n回報問題\n"},
      {readme.chinese, utf8(velmora::reportPlaceChinese) + "。\n"},
      {readme.chinese, "S 模式的 Windows 10、11 只能執行 Microsoft Store 的應用程式"},
      {readme.english, "\nReporting a problem\n"},
      {readme.english, utf8(velmora::reportPlaceEnglish) + ".\n"},
      {readme.english, "Windows 10 and 11 in S mode run only apps from the Microsoft Store"},
  };
  for (const auto& line : lines) {
    EXPECT_NE(line.half.find(line.needed), std::string::npos) << line.needed;
  }
}

} // namespace
