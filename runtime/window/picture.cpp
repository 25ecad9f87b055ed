#include "runtime/window/picture.h"

#include "runtime/window/handles.h"

namespace velmora::window {

void drawPicture(const DRAWITEMSTRUCT& item, HBITMAP bitmap, int dpi) noexcept {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  BITMAP size{};
  if (!bitmap || !GetObjectW(bitmap, sizeof size, &size)) {
    return;
  }
  const MemoryDc source(CreateCompatibleDC(item.hDC));
  if (!source) {
    return;
  }
  const Selection selected(source.get(), bitmap);
  if (dpi == 96) {
    BitBlt(item.hDC, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
  } else {
    // HALFTONE averages the pixels it drops, so the lettering stays smooth; setting it leaves the
    // brush origin undefined, and Windows asks for it to be set again.
    const int oldMode = SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, 0, 0, MulDiv(size.bmWidth, dpi, 96), MulDiv(size.bmHeight, dpi, 96),
               source.get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SetStretchBltMode(item.hDC, oldMode);
  }
}

} // namespace velmora::window
