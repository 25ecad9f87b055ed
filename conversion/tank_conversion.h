#pragma once

#include "conversion/tank_boxes.h"

namespace velmora {

// What a click on 開始換算 does. Reads the tank's length, width and height in centimetres from
// Text1..Text3 and writes, one box after the other:
//   Label5   the volume in litres, ((L × W) × H) ÷ 1000
//   Label7   the required light in watts, v × 0.8
//   Label8   the suggested light in watts, v
//   Label11  the required flow in litres per hour, v × 3
//   Label13  the suggested flow in litres per hour, v × 5
// where v is the volume read back from Label5's text, so every figure matches the volume as
// shown. 90, 45, 45 -> 182.25, 145.8, 182.25, 546.75, 911.25.
//
// A failed box call, a floating-point fault or a text that is not a number raises the
// RunTimeError at once: boxes written before keep their new text, the failing box and those
// after it keep their old text. Nothing is kept between calls.
void convertTank(TankBoxes& boxes);

} // namespace velmora
