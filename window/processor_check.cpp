#include "window/processor_check.h"

#include "runtime/window/failure_box.h"

#include <windows.h>

#include <cpuid.h>

// MinGW-w64's start of a windows program: the C runtime's set-up, then wWinMain.
extern "C" int WinMainCRTStartup() noexcept;

namespace velmora {

bool processorHasSse2() noexcept {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid first checks that the processor has CPUID at all and knows leaf 1.
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2);
}

void sayProcessorLacksSse2() noexcept {
  MessageBoxW(
      nullptr,
      L"Velmora 需要支援 SSE2 的處理器（Pentium 4、Athlon 64 或更新的處理器）。"
      L"這部電腦的處理器不支援 SSE2，所以 Velmora 無法執行。請在較新的電腦上使用 Velmora。\n\n"
      L"Velmora needs a processor with SSE2 (a Pentium 4, an Athlon 64 or later). "
      L"This computer's processor lacks SSE2, so Velmora cannot run. "
      L"Please use Velmora on a newer computer.",
      L"Velmora", window::lastWordStyle);
}

} // namespace velmora

extern "C" int velmoraStart() noexcept {
  if (!velmora::processorHasSse2()) {
    velmora::sayProcessorLacksSse2();
    ExitProcess(1);
  }
  return WinMainCRTStartup();
}
