#pragma once

// What a screen reader is told that it cannot learn from the controls themselves: that a
// control is a live region, whose new text it reads out once it has finished what it is saying,
// and when that text has changed. Live regions came with Windows 8; where they are missing,
// both are harmless and nothing is heard.

#include <windows.h>

namespace velmora::window {

// COM on the calling thread for as long as this lives, which marking a live region needs.
class ComApartment {
public:
  ComApartment() noexcept;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

private:
  HRESULT initialized_;
};

// Marks control as a polite live region, where Windows knows them.
void markLiveRegion(HWND control) noexcept;

// Tells a screen reader that a live region's text has just been written.
void announceChange(HWND control) noexcept;

} // namespace velmora::window
