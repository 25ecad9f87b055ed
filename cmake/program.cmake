# The settings of the build that makes Velmora.exe alone (cmake -C): a release build with the
# -win32 compilers. Every build of the program starts from here, so a second build made to
# check the first is made the same way.
set(CMAKE_BUILD_TYPE Release CACHE STRING "")
set(VELMORA_MINGW_THREADS win32 CACHE STRING "")
set(VELMORA_PROGRAM_ONLY ON CACHE BOOL "")
