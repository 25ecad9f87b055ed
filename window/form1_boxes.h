#pragma once

#include "conversion/tank_boxes.h"
#include "runtime/window/form_window.h"

#include <windows.h>

#include <array>

namespace velmora {

// The tank conversion's boxes as Form1's real controls, found once, when the window is built.
class Form1Boxes final : public TankBoxes {
public:
  // Throws WindowError naming the first box the window lacks.
  explicit Form1Boxes(const window::FormWindow& form);
  PropertyStatus read(Box box, std::u16string& text) override;
  PropertyStatus write(Box box, std::u16string_view text) override;

private:
  HWND control(Box box) const noexcept { return controls_[static_cast<std::size_t>(box)]; }

  const window::FormWindow& form_;
  std::array<HWND, boxCount> controls_{};
};

} // namespace velmora
