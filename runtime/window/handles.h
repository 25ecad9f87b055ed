#pragma once

// Owners of Windows handles: each frees its handle once, moves, and never copies.

#include <windows.h>

#include <utility>

namespace velmora::window {

// Owns one Windows handle and frees it once with free, unless told it is gone already.
// Moving hands the handle on; copying is not possible.
template <typename Handle, void (*free)(Handle) noexcept> class UniqueHandle {
public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  // The handle was freed by someone else (a window that destroyed itself): nothing to free.
  void forget() noexcept { handle_ = nullptr; }

private:
  void reset() noexcept {
    if (handle_) {
      free(handle_);
    }
    handle_ = nullptr;
  }

  Handle handle_ = nullptr;
};

template <typename Handle> void deleteGdiObject(Handle handle) noexcept {
  DeleteObject(handle);
}

inline void destroyWindow(HWND window) noexcept {
  if (IsWindow(window)) {
    DestroyWindow(window);
  }
}

inline void releaseScreenDc(HDC screen) noexcept {
  ReleaseDC(nullptr, screen);
}

inline void destroyMenu(HMENU menu) noexcept {
  DestroyMenu(menu);
}

inline void freeGlobal(HGLOBAL memory) noexcept {
  GlobalFree(memory);
}

inline void deleteDc(HDC dc) noexcept {
  DeleteDC(dc);
}

using Font = UniqueHandle<HFONT, deleteGdiObject<HFONT>>;
using Brush = UniqueHandle<HBRUSH, deleteGdiObject<HBRUSH>>;
using Bitmap = UniqueHandle<HBITMAP, deleteGdiObject<HBITMAP>>;
using WindowHandle = UniqueHandle<HWND, destroyWindow>;
// The whole screen's device context, from GetDC(nullptr).
using ScreenDc = UniqueHandle<HDC, releaseScreenDc>;
using Menu = UniqueHandle<HMENU, destroyMenu>;
// Memory from GlobalAlloc, as the clipboard takes it; forget() once the clipboard owns it.
using GlobalMemory = UniqueHandle<HGLOBAL, freeGlobal>;
// A device context in memory, from CreateCompatibleDC.
using MemoryDc = UniqueHandle<HDC, deleteDc>;

// An object selected into a device context for as long as this lives; then what was there
// before is put back, since neither the context nor the object may be deleted while selected.
// Declared after the owners of both, so it ends first.
class Selection {
public:
  Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (previous_) {
      SelectObject(dc_, previous_);
    }
  }

private:
  HDC dc_;
  HGDIOBJ previous_;
};

} // namespace velmora::window
