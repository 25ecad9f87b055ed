#include "conversion/tank_conversion.h"

#include "runtime/run_time_error.h"
#include "tests/ascii.h"
#include "tests/conversion/fake_boxes.h"
#include "tests/form1_facts.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

namespace velmora {
namespace {

using testing::ascii;
using testing::FakeBoxes;
using testing::resultBoxes;
using testing::utf16;

struct Tank {
  std::u16string length, width, height;
  testing::Results results;
};

Tank typed(const testing::ExampleTank& tank) {
  return {utf16(tank.length), utf16(tank.width), utf16(tank.height), tank.figures};
}

TEST(TankConversion, FillsTheFiveResultBoxesTheSameEachTime) {
  const Tank tanks[] = {
      typed(testing::tank90),
      typed(testing::tank120),
      typed(testing::tank60),
      typed(testing::tank91),
      typed(testing::tank33),
      // 64.8 × 3 is the double just below 194.4.
      {u"60", u"30", u"36", {u"64.8", u"51.84", u"64.8", u"194.4", u"324"}},
      {u"", u"", u"", {u"0", u"0", u"0", u"0", u"0"}},
      {u"0", u"-45", u"45", {u"0", u"0", u"0", u"0", u"0"}},
      {u"-90", u"45", u"45", {u"-182.25", u"-145.8", u"-182.25", u"-546.75", u"-911.25"}},
      {u"-90", u"-45", u"45", {u"182.25", u"145.8", u"182.25", u"546.75", u"911.25"}},
      {u"1e300", u"1e300", u"1e300", {u"∞", u"∞", u"∞", u"∞", u"∞"}},
      {u"1e200", u"1e200", u"1e-300", {u"1E+97", u"8E+96", u"1E+97", u"3E+97", u"5E+97"}},
      {u"９０cm", u" 45公分", u"45.", {u"182.25", u"145.8", u"182.25", u"546.75", u"911.25"}},
      {u"1", u"1", u"0.1", {u"0.0001", u"8E-05", u"0.0001", u"0.0003", u"0.0005"}},
  };
  for (const Tank& tank : tanks) {
    SCOPED_TRACE(ascii(tank.length) + " x " + ascii(tank.width) + " x " + ascii(tank.height));
    FakeBoxes boxes(tank.length, tank.width, tank.height);
    convertTank(boxes);
    for (std::size_t i = 0; i < resultBoxes.size(); ++i) {
      EXPECT_EQ(boxes.texts[resultBoxes[i]], tank.results[i]) << ascii(boxName(resultBoxes[i]));
    }
    const auto first = boxes.texts;
    convertTank(boxes);
    EXPECT_EQ(boxes.texts, first);
  }
}

TEST(TankConversion, ReadsAndWritesInTheHandlersOrder) {
  FakeBoxes boxes(u"90", u"45", u"45");
  convertTank(boxes);
  const std::vector<FakeBoxes::Call> expected{
      {false, Box::Text2},  {false, Box::Text3},  {false, Box::Text1},  {true, Box::Label5},
      {false, Box::Label5}, {true, Box::Label7},  {false, Box::Label5}, {true, Box::Label8},
      {false, Box::Label5}, {true, Box::Label11}, {false, Box::Label5}, {true, Box::Label13}};
  EXPECT_EQ(boxes.calls, expected);
}

// Boxes where, if told to, something else writes over the volume box as soon as it is written.
class MeddlingBoxes : public FakeBoxes {
public:
  using FakeBoxes::FakeBoxes;
  PropertyStatus write(Box box, std::u16string_view text) override {
    const PropertyStatus status = FakeBoxes::write(box, text);
    if (box == Box::Label5 && !volumeWrittenOver.empty()) {
      texts[Box::Label5] = volumeWrittenOver;
    }
    return status;
  }
  std::u16string volumeWrittenOver;
};

// A box that fails, or figures that cannot be made: the conversion stops there, and only the
// boxes before it are written.
TEST(TankConversion, AFaultStopsAtItsStepAndKeepsEarlierResults) {
  using Call = FakeBoxes::Call;
  struct Failure {
    std::optional<Call> failingCall; // none when the fault comes from the numbers
    ErrorKind kind;
    std::size_t resultsWritten;
    std::u16string volumeWrittenOver = u"";
    std::u16string length = u"90", width = u"45", height = u"45";
  };
  const Failure failures[] = {
      {Call{false, Box::Text3}, ErrorKind::propertyCall, 0},
      {Call{true, Box::Label5}, ErrorKind::propertyCall, 0},
      {Call{false, Box::Label5}, ErrorKind::propertyCall, 1},
      {Call{true, Box::Label11}, ErrorKind::propertyCall, 3},
      {Call{true, Box::Label13}, ErrorKind::propertyCall, 4},
      // Infinity times zero, before any box is written.
      {std::nullopt, ErrorKind::floatingPoint, 0, u"", u"1e999", u"", u""},
      // Something else wrote the volume box between the steps: the figures are not made up.
      {std::nullopt, ErrorKind::conversion, 1, u"182.25公升"},
  };
  for (const Failure& failure : failures) {
    const std::optional<Call>& call = failure.failingCall;
    SCOPED_TRACE(ascii(failure.length) + " x " + ascii(failure.width) + " x " +
                 ascii(failure.height) + ", " +
                 (call ? (call->write ? "writing " : "reading ") + ascii(boxName(call->box))
                       : "no call failing"));
    MeddlingBoxes boxes(failure.length, failure.width, failure.height);
    boxes.volumeWrittenOver = failure.volumeWrittenOver;
    for (Box box : resultBoxes) {
      boxes.texts[box] = u"old";
    }
    boxes.failingCall = call;
    try {
      convertTank(boxes);
      ADD_FAILURE() << "no error";
    } catch (const RunTimeError& error) {
      EXPECT_EQ(error.kind(), failure.kind);
      // The box at fault by the caption the keeper reads beside it; a text that is not a
      // number is always the volume box's.
      if (failure.kind != ErrorKind::floatingPoint) {
        const std::u16string caption(boxCaption(call ? call->box : Box::Label5));
        EXPECT_NE(error.message().find(u"「" + caption + u"」格"), std::u16string::npos)
            << ascii(error.message());
      }
      if (call) {
        EXPECT_NE(error.message().find(boxName(call->box)), std::u16string::npos);
      }
    }
    for (std::size_t i = 0; i < resultBoxes.size(); ++i) {
      EXPECT_EQ(boxes.texts[resultBoxes[i]] == u"old", i >= failure.resultsWritten) << "box " << i;
    }
  }
}

TEST(TankConversion, EveryStepTakesTheVolumeTheBoxShowsThen) {
  // Something else rewrites the volume box after the second derived figure: the figures after
  // it follow the new text, the ones before keep the written volume.
  class RewritingBoxes : public FakeBoxes {
  public:
    using FakeBoxes::FakeBoxes;
    PropertyStatus read(Box box, std::u16string& text) override {
      if (box == Box::Label5 && ++volumeReads == 3) {
        texts[Box::Label5] = u"100";
      }
      return FakeBoxes::read(box, text);
    }
    int volumeReads = 0;
  };
  RewritingBoxes boxes(u"90", u"45", u"45");
  convertTank(boxes);
  EXPECT_EQ(boxes.texts[Box::Label7], u"145.8");
  EXPECT_EQ(boxes.texts[Box::Label8], u"182.25");
  EXPECT_EQ(boxes.texts[Box::Label11], u"300");
  EXPECT_EQ(boxes.texts[Box::Label13], u"500");
}

} // namespace
} // namespace velmora
