# Shared by the Windows toolchains: MinGW-w64's compilers, searched in their own root, linked
# statically so no .exe needs a MinGW DLL.
#
# MinGW-w64 comes in two thread models. The tests need the -posix compilers: Debian's GoogleTest
# wants std::mutex, which the -win32 ones lack. Velmora.exe is one thread and is built with the
# -win32 compilers (VELMORA_MINGW_THREADS=win32), whose runtime needs no POSIX thread library.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT VELMORA_MINGW_THREADS)
  set(VELMORA_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_MINGW_THREADS)
set(CMAKE_C_COMPILER ${VELMORA_MINGW}-gcc-${VELMORA_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW}-g++-${VELMORA_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${VELMORA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
