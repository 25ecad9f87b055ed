#pragma once

#include <windows.h>

#include <utility>

namespace velmora::window {

// Owns one GDI object (font, brush, bitmap) and deletes it once.
template <typename Handle> class GdiObject {
public:
  GdiObject() noexcept = default;
  explicit GdiObject(Handle handle) noexcept : handle_(handle) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~GdiObject() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

private:
  void reset() noexcept {
    if (handle_)
      DeleteObject(handle_);
    handle_ = nullptr;
  }

  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

// Owns a top-level window and destroys it once, unless it was destroyed already.
class WindowHandle {
public:
  WindowHandle() noexcept = default;
  explicit WindowHandle(HWND handle) noexcept : handle_(handle) {}
  WindowHandle(const WindowHandle&) = delete;
  WindowHandle& operator=(const WindowHandle&) = delete;
  WindowHandle(WindowHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  WindowHandle& operator=(WindowHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~WindowHandle() { reset(); }

  HWND get() const noexcept { return handle_; }
  // The window destroyed itself: nothing left to destroy.
  void forget() noexcept { handle_ = nullptr; }

private:
  void reset() noexcept {
    if (handle_ && IsWindow(handle_))
      DestroyWindow(handle_);
    handle_ = nullptr;
  }

  HWND handle_ = nullptr;
};

} // namespace velmora::window
