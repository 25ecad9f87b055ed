#pragma once

// Owners of the handles only the tests hold, on the program's own UniqueHandle.

#include "runtime/window/handles.h"

#include <windows.h>

namespace velmora::testing {

// A window's device context names its window, which ReleaseDC wants back.
inline void releaseWindowDc(HDC dc) noexcept {
  ReleaseDC(WindowFromDC(dc), dc);
}
// One window's device context, from GetDC(window).
using WindowDc = window::UniqueHandle<HDC, releaseWindowDc>;

inline void unhook(HHOOK hook) noexcept {
  UnhookWindowsHookEx(hook);
}
// A hook from SetWindowsHookEx, on this thread or another.
using OwnedHook = window::UniqueHandle<HHOOK, unhook>;

inline void unhookWinEvent(HWINEVENTHOOK hook) noexcept {
  UnhookWinEvent(hook);
}
using OwnedWinEventHook = window::UniqueHandle<HWINEVENTHOOK, unhookWinEvent>; // SetWinEventHook

inline void closeHandle(HANDLE handle) noexcept {
  CloseHandle(handle);
}
using OwnedHandle = window::UniqueHandle<HANDLE, closeHandle>; // a process, a thread, an event

inline void freeLibrary(HMODULE module) noexcept {
  FreeLibrary(module);
}
using OwnedModule = window::UniqueHandle<HMODULE, freeLibrary>; // from LoadLibraryExW

} // namespace velmora::testing
