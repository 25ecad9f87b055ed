#pragma once

// What several tests know of Form1: its result boxes and the example tanks with the figures each
// gives. One copy, so that the conversion's tests (tests/conversion), the window's and the
// user's (tests/window) hold the program to the same facts.

#include "conversion/tank_boxes.h"

#include <array>
#include <string>
#include <string_view>

namespace velmora::testing {

// The result boxes in the order a click writes them, and their texts in that order.
using velmora::resultBoxes;
using Results = std::array<std::u16string, resultBoxes.size()>;

// A tank's sizes in centimetres as typed, and its figures: the volume in litres, the required
// and suggested light in watts, the required and suggested flow in litres per hour.
struct ExampleTank {
  std::string_view length, width, height;
  Results figures;
};

// Hand-checked: 90 × 45 × 45 / 1000 = 182.25, × 0.8 = 145.8, × 3 = 546.75, × 5 = 911.25.
inline const ExampleTank tank90{
    "90", "45", "45", {u"182.25", u"145.8", u"182.25", u"546.75", u"911.25"}};
inline const ExampleTank tank120{"120", "50", "50", {u"300", u"240", u"300", u"900", u"1500"}};
inline const ExampleTank tank60{
    "60", "45", "45", {u"121.5", u"97.2", u"121.5", u"364.5", u"607.5"}};
// Figures too wide for the boxes, which show them rounded.
inline const ExampleTank tank91{
    "91.5",
    "45.7",
    "45.7",
    {u"191.096835", u"152.877468", u"191.096835", u"573.290505", u"955.484175"}};
inline const ExampleTank tank33{
    "33.3",
    "33.3",
    "33.3",
    {u"36.926037", u"29.5408296", u"36.926037", u"110.778111", u"184.630185"}};

inline std::u16string utf16(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

} // namespace velmora::testing
