#include "runtime/window/fonts.h"

#include "runtime/window/units.h"
#include "runtime/window/window_error.h"

#include <algorithm>

namespace velmora::window {

namespace {

int CALLBACK countFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) noexcept {
  ++*reinterpret_cast<int*>(found);
  return 0; // one is enough
}

// Whether GDI has a face of that name (or a substitute Windows names for it).
bool installed(std::u16string_view face, HDC screen) noexcept {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  if (face.size() >= LF_FACESIZE) {
    return false;
  }
  std::copy(face.begin(), face.end(), reinterpret_cast<char16_t*>(wanted.lfFaceName));
  int found = 0;
  EnumFontFamiliesExW(screen, &wanted, countFace, reinterpret_cast<LPARAM>(&found), 0);
  return found > 0;
}

} // namespace

// Asking for each face by name is much quicker at start than listing every installed family.
std::u16string firstInstalledFace(const FontDescription& font, HDC screen) {
  const auto found =
      std::find_if(font.faces.begin(), font.faces.end(),
                   [screen](std::u16string_view face) { return installed(face, screen); });
  if (found != font.faces.end()) {
    return std::u16string(*found);
  }
  return font.faces.empty() ? std::u16string() : std::u16string(font.faces.front());
}

Font createFont(const std::u16string& face, const FontDescription& font, int dpi) {
  LOGFONTW logFont{};
  logFont.lfHeight = fontHeight(font.centipoints, dpi);
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = font.charset;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::copy_n(face.c_str(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1),
              reinterpret_cast<char16_t*>(logFont.lfFaceName));
  Font created(CreateFontIndirectW(&logFont));
  if (!created) {
    throwLastError("CreateFontIndirectW");
  }
  return created;
}

} // namespace velmora::window
