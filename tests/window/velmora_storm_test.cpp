// A storm of random keystrokes and clicks into the running Velmora.exe, seeded and bounded:
// VELMORA_STORM_EVENTS sets how many (a few thousand in make test, far more in make soak) and
// VELMORA_STORM_SEED replays a run; the seed is printed.
//
// The storm never clicks 離開 or the close box, and presses Space or Enter only where Velmora
// says the focus is not on 離開: such a key only ever opens a burst, once Velmora has taken all
// input before it. Predicting the focus instead goes wrong: a second click close to the first
// reaches a box as a double-click, which leaves the focus where it was. A burst ends at
// anything that can start a conversion. After each burst the storm checks Velmora against the
// conversion code run on the same input texts: the five results, and the error box when that
// conversion faults; it dismisses the box and goes on.
#include "running_velmora.h"

#include "conversion/tank_conversion.h"
#include "tests/ascii.h"
#include "tests/conversion/fake_boxes.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <random>
#include <string>

namespace velmora {
namespace {

using testing::Results;
using testing::RunningVelmora;
using testing::UserInput;

std::optional<std::uint64_t> environmentNumber(const char* name) {
  char text[32] = {};
  const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  std::uint64_t value = 0;
  if (length == 0 || length >= sizeof text ||
      std::from_chars(text, text + length, value).ec != std::errc()) {
    return std::nullopt;
  }
  return value;
}

// The tab order.
enum Stop { length, width, height, start, leave, stops };
constexpr std::u16string_view stopNames[stops] = {u"Text1", u"Text2", u"Text3", u"Command1",
                                                  u"Command2"};

enum class Conversion { none, maybe, certain };

struct Burst {
  UserInput input;
  Conversion conversion = Conversion::none;
};

class Storm {
public:
  Storm(const RunningVelmora& velmora, std::uint64_t seed) : velmora_(velmora), random_(seed) {
    for (int stop = 0; stop < stops; ++stop) {
      rects_[stop] = velmora.screenRect(stopNames[stop]);
    }
  }

  Burst next() {
    Burst burst;
    if (pressNext_) {
      pressNext_ = false;
      burst.conversion = press(burst.input);
    }
    const int length = between(1, 30);
    for (int i = 0; i < length && burst.conversion == Conversion::none && !pressNext_; ++i) {
      burst.conversion = addOne(burst.input);
    }
    return burst;
  }

private:
  int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

  std::optional<Stop> focusInVelmora() const {
    const HWND focus = velmora_.focus();
    for (int stop = 0; stop < stops; ++stop) {
      if (focus == velmora_.control(stopNames[stop])) {
        return static_cast<Stop>(stop);
      }
    }
    return std::nullopt;
  }

  // Space or Enter on the control Velmora says has the focus, unless that is 離開 or none.
  Conversion press(UserInput& input) {
    const std::optional<Stop> focus = focusInVelmora();
    if (!focus || *focus == leave) {
      return Conversion::none;
    }
    const bool space = between(0, 1) == 0;
    input.keys({space ? "space" : "Return"});
    if (*focus == start) {
      return space ? Conversion::certain : Conversion::maybe;
    }
    return Conversion::none;
  }

  Conversion addOne(UserInput& input) {
    const int roll = between(0, 99);
    if (roll < 28) {
      // No space: on a button it is a click.
      static constexpr std::string_view characters = "01234567890123456789..--+eEx";
      input.type(characters.substr(
          static_cast<std::size_t>(between(0, static_cast<int>(characters.size()) - 1)), 1));
    } else if (roll < 40) {
      input.retype(number());
    } else if (roll < 50) {
      static constexpr const char* edits[] = {"BackSpace", "Delete", "Home",       "End",
                                              "Left",      "Right",  "shift+Home", "shift+End"};
      input.keys({edits[between(0, 7)]});
    } else if (roll < 60) {
      input.keys({between(0, 2) == 0 ? "shift+Tab" : "Tab"});
    } else if (roll < 65) {
      input.keys({"Escape"});
    } else if (roll < 73) {
      // Ends this burst; the next one opens with it.
      pressNext_ = true;
    } else if (roll < 87) {
      input.click(pointIn(rects_[between(length, height)]));
    } else if (roll < 92) {
      input.click(pointIn(rects_[start]));
      return Conversion::certain;
    } else {
      return clickSomewhere(input);
    }
    return Conversion::none;
  }

  // Plain sizes mostly; now and then an empty box, a zero, an infinity (which with an empty box
  // or a zero makes the floating-point fault) or a text that is not all number.
  std::string number() {
    static constexpr const char* special[] = {
        "", "0", "-0", "1e999", "-1e999", "1e999", "1e200", "1e-200", "abc12", "12ab", ".5", "-"};
    switch (between(0, 3)) {
    case 0:
    case 1:
      return special[between(0, static_cast<int>(std::size(special)) - 1)];
    case 2:
      return std::to_string(between(-50, 300)) + "." + std::to_string(between(0, 99));
    default:
      return std::to_string(between(0, 2000));
    }
  }

  POINT pointIn(const RECT& rect) {
    return {between(rect.left + 3, rect.right - 4), between(rect.top + 3, rect.bottom - 4)};
  }

  // A click anywhere inside the window but near no edge of the boxes and buttons, and well
  // clear of 離開.
  Conversion clickSomewhere(UserInput& input) {
    const RECT client = velmora_.clientRect();
    for (;;) {
      const POINT point = pointIn(client);
      std::optional<Stop> hit;
      bool nearAnEdge = false;
      for (int stop = 0; stop < stops; ++stop) {
        const int margin = stop == leave ? 10 : 3;
        RECT outer = rects_[stop], inner = rects_[stop];
        InflateRect(&outer, margin, margin);
        InflateRect(&inner, -3, -3);
        if (PtInRect(&inner, point)) {
          hit = static_cast<Stop>(stop);
        } else if (PtInRect(&outer, point)) {
          nearAnEdge = true;
        }
      }
      if (nearAnEdge || hit == leave) {
        continue;
      }
      input.click(point);
      return hit == start ? Conversion::certain : Conversion::none;
    }
  }

  const RunningVelmora& velmora_;
  std::mt19937_64 random_;
  RECT rects_[stops];
  bool pressNext_ = false;
};

struct Expected {
  Results results;
  std::optional<std::u16string> error;
};

// What a click on 開始換算 leaves, by the conversion code itself, from the input texts and the
// results shown before.
Expected convertAsVelmora(const RunningVelmora& velmora, const Results& before) {
  testing::FakeBoxes boxes(velmora.text(u"Text1"), velmora.text(u"Text2"), velmora.text(u"Text3"));
  for (std::size_t i = 0; i < before.size(); ++i) {
    boxes.texts[testing::resultBoxes[i]] = before[i];
  }
  Expected expected;
  try {
    convertTank(boxes);
  } catch (const RunTimeError& error) {
    expected.error = error.message();
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    expected.results[i] = boxes.texts[testing::resultBoxes[i]];
  }
  return expected;
}

std::string shown(const Results& results) {
  std::string text;
  for (const auto& result : results) {
    text += " [" + testing::ascii(result) + "]";
  }
  return text;
}

TEST(VelmoraStorm, KeepsItsResultsTrueToItsBoxes) {
  const std::uint64_t seed =
      environmentNumber("VELMORA_STORM_SEED").value_or(std::random_device()());
  const std::uint64_t events = environmentNumber("VELMORA_STORM_EVENTS").value_or(3000);
  std::cout << "storm: seed " << seed << ", " << events
            << " events (VELMORA_STORM_SEED, VELMORA_STORM_EVENTS)" << std::endl;
  SCOPED_TRACE("storm seed " + std::to_string(seed));

  RunningVelmora velmora;
  Storm storm(velmora, seed);
  std::mt19937_64 dismissals(seed + 1);
  Results before = velmora.results();
  std::uint64_t sent = 0, conversions = 0, faults = 0, bursts = 0;
  Burst burst;
  // What Velmora was sent last goes with any failure of the machinery.
  try {
    while (sent < events) {
      burst = storm.next();
      ++bursts;
      velmora.perform(burst.input);
      sent += static_cast<std::uint64_t>(burst.input.events());
      const Results after = velmora.results();
      if (burst.conversion == Conversion::none) {
        ASSERT_EQ(after, before) << "no conversion, yet the results changed after:\n"
                                 << burst.input.script();
        ASSERT_EQ(velmora.messageBox(), nullptr);
        continue;
      }
      const Expected expected = convertAsVelmora(velmora, before);
      const HWND box = velmora.messageBox();
      if (burst.conversion == Conversion::maybe && after == before && !box) {
        before = after;
        continue;
      }
      ++conversions;
      ASSERT_EQ(after, expected.results) << "before:" << shown(before) << "\n"
                                         << burst.input.script();
      ASSERT_EQ(box != nullptr, expected.error.has_value()) << burst.input.script();
      if (box) {
        ++faults;
        ASSERT_EQ(testing::messageText(box), *expected.error);
        RECT ok{};
        GetWindowRect(GetDlgItem(box, IDOK), &ok);
        UserInput dismiss;
        switch (dismissals() % 4) {
        case 0:
          dismiss.click({(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2});
          break;
        case 1:
          dismiss.keys({"Return"});
          break;
        case 2:
          dismiss.keys({"space"});
          break;
        default:
          dismiss.keys({"Escape"});
          break;
        }
        velmora.perform(dismiss);
        ASSERT_EQ(velmora.messageBox(), nullptr) << dismiss.script();
        ASSERT_TRUE(velmora.answers());
        ASSERT_EQ(velmora.results(), after);
      }
      before = after;
    }
  } catch (const std::exception& error) {
    FAIL() << error.what() << "\nin burst " << bursts << ", which was:\n" << burst.input.script();
  }
  std::cout << "storm: " << sent << " events, " << conversions << " conversions, " << faults
            << " faults" << std::endl;

  ASSERT_TRUE(velmora.running());
  EXPECT_TRUE(velmora.answers());
  EXPECT_EQ(velmora.messageBox(), nullptr);
}

} // namespace
} // namespace velmora
