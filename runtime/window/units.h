#pragma once

// The window's two units turned into pixels at a dpi: twips for places and sizes, hundredths of
// a point for fonts. No Windows header, so the Linux tests check them too.

namespace velmora::window {

// Twips to pixels at a dpi, rounded half away from zero: twipsToPixels(3060, 96) == 204,
// twipsToPixels(-360, 120) == -30.
constexpr int twipsToPixels(int twips, int dpi) noexcept {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

// The LOGFONT height of a font size: negative, so it names the character height.
// fontHeight(975, 96) == -13, fontHeight(1125, 120) == -19.
constexpr int fontHeight(int centipoints, int dpi) noexcept {
  const long long scaled = static_cast<long long>(centipoints) * dpi;
  return -static_cast<int>((scaled + 3600) / 7200);
}

} // namespace velmora::window
