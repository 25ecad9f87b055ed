#pragma once

// The program's first code: it checks that the processor has SSE2, for which every other part of
// Velmora.exe is compiled, and only then hands over to the C runtime's start. On a processor
// without it (a Pentium III, an Athlon XP: they run XP, Vista and 7) the program says why it
// cannot run and ends, where it would otherwise die at its first SSE2 instruction without a word.
//
// Its file is compiled for a Pentium (no SSE, no CMOV), and the linker makes velmoraStart the
// program's entry, so no instruction the processor may lack runs before the check; tests/release/
// disassembles it, and the C runtime's TLS callbacks, which Windows runs before it.

namespace velmora {

// Whether this processor runs SSE2 instructions (CPUID's leaf 1, EDX bit 26).
bool processorHasSse2() noexcept;

// The message box that says, in Traditional Chinese with English beneath, that Velmora needs a
// processor with SSE2 and to use a newer computer. It returns when the user dismisses it.
void sayProcessorLacksSse2() noexcept;

} // namespace velmora

// The entry point of Velmora.exe, before the C runtime's: it never returns.
extern "C" int velmoraStart() noexcept;
