#pragma once

#include "conversion/tank_boxes.h"
#include "runtime/window/form_window.h"

namespace velmora {

// The tank conversion's boxes as Form1's real controls.
class Form1Boxes final : public TankBoxes {
public:
  explicit Form1Boxes(const window::FormWindow& form) noexcept : form_(form) {}
  PropertyStatus read(Box box, std::u16string& text) override;
  PropertyStatus write(Box box, std::u16string_view text) override;

private:
  const window::FormWindow& form_;
};

} // namespace velmora
