#pragma once

// Faces and fonts: which face of a font's chain to use, and the font itself at a dpi. The face is
// chosen once, at start; the fonts are made again whenever the window moves to a screen of another
// dpi.

#include "runtime/window/form_description.h"
#include "runtime/window/handles.h"

#include <windows.h>

#include <string>

namespace velmora::window {

// The first of the font's faces that is installed; when none is, the first, for GDI to map
// to what it has.
std::u16string firstInstalledFace(const FontDescription& font, HDC screen);

// The font in face at its size for a dpi: regular weight, the description's character set.
// Throws WindowError when Windows cannot make it.
Font createFont(const std::u16string& face, const FontDescription& font, int dpi);

} // namespace velmora::window
