#pragma once

// A window described as data: its settings, its fonts and one row per control. The engine
// (form_window.h) builds a window from it.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace velmora::window {

// What a control is; the engine builds each kind in one place.
enum class Kind { label, input, result, button, picture };

struct Rgb {
  std::uint8_t red, green, blue;
};

// A font by size in hundredths of a point, so 11.25 pt stays exact. The faces are tried in
// order; the first one installed is used.
struct FontDescription {
  std::span<const std::u16string_view> faces;
  int centipoints;
  std::uint8_t charset;
};

inline constexpr int noIndex = -1;
inline constexpr int noFont = -1;

// One control. Positions and sizes are in twips (1/1440 inch) and turned into pixels by the
// window's dpi when the window is built or moved to another screen.
struct ControlDescription {
  std::u16string_view name;
  int index; // position in a control array, or noIndex
  Kind kind;
  std::u16string_view text;
  int left, top, width, height;
  int font; // into FormDescription::fonts, or noFont
  std::optional<Rgb> background = std::nullopt;
  std::optional<Rgb> foreground = std::nullopt;
  int bitmap = 0; // resource id of a picture's bitmap
  // A live region: a screen reader reads its new text out each time the program writes it
  // (FormWindow::announce).
  bool live = false;
};

// A whole window: its own settings, its fonts, and its controls in creation order, which is
// also the z-order and the tab order.
struct FormDescription {
  std::u16string_view caption;
  int clientWidth, clientHeight; // twips
  int icon;                      // icon group resource id
  std::span<const FontDescription> fonts;
  std::span<const ControlDescription> controls;
};

} // namespace velmora::window
