#pragma once

// Hooks for the tests that run Velmora.exe, set on its thread from the test's process; Windows
// loads this library into Velmora to run them.

#include <windows.h>

#include <string>

#ifdef velmora_test_hooks_EXPORTS
#define VELMORA_TEST_HOOKS_API __declspec(dllexport)
#else
#define VELMORA_TEST_HOOKS_API __declspec(dllimport)
#endif

// The semaphore that the taken-keys hook releases in the given process.
inline std::wstring takenKeySemaphoreName(DWORD process) {
  return L"Velmora.TakenKeys." + std::to_wstring(process);
}

// Each time the thread takes a Ctrl key press from its queue, after every key and click before
// it, the hook releases the process's taken-key semaphore, which the test creates first.
extern "C" VELMORA_TEST_HOOKS_API HHOOK hookTakenKeys(DWORD thread) noexcept;

// Stands in for a box whose text is changed behind the program's back: after the thread writes a
// text into a window that carries the plantedTextProperty (a global atom naming a text), the hook
// removes the property and writes that text over the one just written.
inline constexpr wchar_t plantedTextProperty[] = L"Velmora.PlantedText";
extern "C" VELMORA_TEST_HOOKS_API HHOOK hookTextPlanting(DWORD thread) noexcept;
