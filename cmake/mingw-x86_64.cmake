# 64-bit Windows: the same sources and tests, for machines whose kernel cannot run 32-bit
# programs (and so cannot run 32-bit Wine).
set(VELMORA_MINGW x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
