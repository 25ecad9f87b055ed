# Shared by the Windows toolchains: MinGW-w64's -posix compilers (Debian's GoogleTest does not
# build with the -win32 ones), searched in their own root, linked statically so no .exe needs a
# MinGW DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VELMORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
