# 32-bit Windows, the program's target. SSE2 arithmetic so no x87 excess precision leaks into
# results.
set(VELMORA_MINGW i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# The libstdc++ that MinGW ships for i686 is compiled for the x87 unit: its number parsing is
# correctly rounded only with the x87 precision control at 53 bits, the setting Windows' own C
# runtime uses. CRT_fp8.o gives every executable that setting at start, Velmora.exe and its
# tests alike, and makes _fpreset the C runtime's reset to it, which Velmora calls again before
# each conversion.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=CRT_fp8.o
                OUTPUT_VARIABLE velmora_crt_fp8 OUTPUT_STRIP_TRAILING_WHITESPACE)
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " ${velmora_crt_fp8}")
