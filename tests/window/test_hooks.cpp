#include "test_hooks.h"

namespace {

HMODULE thisModule = nullptr;
HANDLE takenKeys = nullptr;

LRESULT CALLBACK messageTaken(int code, WPARAM removed, LPARAM lParam) noexcept {
  const auto& message = *reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && removed == PM_REMOVE && message.message == WM_KEYDOWN &&
      message.wParam == VK_CONTROL) {
    if (!takenKeys) {
      takenKeys = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE,
                                 takenKeySemaphoreName(GetCurrentProcessId()).c_str());
    }
    if (takenKeys) {
      ReleaseSemaphore(takenKeys, 1, nullptr);
    }
  }
  return CallNextHookEx(nullptr, code, removed, lParam);
}

LRESULT CALLBACK afterMessage(int code, WPARAM wParam, LPARAM lParam) noexcept {
  const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call.message == WM_SETTEXT) {
    // Removed first, so the write below is not planted over again.
    const auto atom =
        static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropW(call.hwnd, plantedTextProperty)));
    if (atom) {
      wchar_t text[256] = {};
      GlobalGetAtomNameW(atom, text, 256);
      GlobalDeleteAtom(atom);
      SetWindowTextW(call.hwnd, text);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

HHOOK hookTakenKeys(DWORD thread) noexcept {
  return SetWindowsHookExW(WH_GETMESSAGE, messageTaken, thisModule, thread);
}

HHOOK hookTextPlanting(DWORD thread) noexcept {
  return SetWindowsHookExW(WH_CALLWNDPROCRET, afterMessage, thisModule, thread);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    thisModule = instance;
  }
  return TRUE;
}
