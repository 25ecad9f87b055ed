# The program's code as libraries, made alike by both builds that compile it: the tests' build at
# the root and the program's own (program/).
#   velmora_core       the portable part: numbers, texts, the tank conversion
#   velmora_window     Windows only: the window engine, Form1 and the program's run
#   velmora_resources  Windows only: velmora.rc compiled, for whatever shows Form1's window
# VELMORA_CORE_SOURCES keeps the core's sources, for a build that compiles them again (the
# fuzzers, instrumented).
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH VELMORA_ROOT)

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

# Our own targets build warning-free on both compilers; third-party code is left as it is. The
# presets, and so make and CI, make every warning an error; a plain build from source does not.
option(VELMORA_WERROR "Make warnings in Velmora's own code errors" OFF)
set(VELMORA_WARNINGS -Wall -Wextra $<$<BOOL:${VELMORA_WERROR}>:-Werror>)

set(VELMORA_CORE_SOURCES
  runtime/decimal_scan.cpp
  runtime/fitted_number.cpp
  runtime/leading_number.cpp
  runtime/number_text.cpp
  runtime/run_time_error.cpp
  runtime/wide_number.cpp
  conversion/tank_boxes.cpp
  conversion/tank_conversion.cpp
)
list(TRANSFORM VELMORA_CORE_SOURCES PREPEND ${VELMORA_ROOT}/)
include(${VELMORA_ROOT}/cmake/report_place.cmake)
add_library(velmora_core STATIC ${VELMORA_CORE_SOURCES})
target_include_directories(velmora_core PUBLIC ${VELMORA_ROOT} ${VELMORA_GENERATED_INCLUDE})
target_compile_options(velmora_core PRIVATE ${VELMORA_WARNINGS})

if(WIN32)
  enable_language(RC)
  # The manifest names the build's processor, which Windows checks against the program's. The
  # processor check, the program's entry, runs before anything else (window/processor_check.h
  # says why), so the 32-bit build compiles it for a Pentium: no SSE, and none of the CMOV that
  # i686 allows, which the Pentiums and K6s that run XP lack. A 64-bit processor has SSE2.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(VELMORA_MANIFEST_ARCHITECTURE x86)
    set_source_files_properties(${VELMORA_ROOT}/window/processor_check.cpp PROPERTIES
                                COMPILE_OPTIONS "-march=pentium;-mno-sse;-mfpmath=387")
  else()
    set(VELMORA_MANIFEST_ARCHITECTURE amd64)
  endif()

  set(window_sources
    runtime/window/picture.cpp
    runtime/window/control_kinds.cpp
    runtime/window/dpi.cpp
    runtime/window/failure_box.cpp
    runtime/window/fonts.cpp
    runtime/window/form_window.cpp
    runtime/window/frame.cpp
    runtime/window/message_loop.cpp
    runtime/window/result_box.cpp
    runtime/window/screen_reader.cpp
    runtime/window/window_error.cpp
    window/form1.cpp
    window/form1_boxes.cpp
    window/processor_check.cpp
    window/program.cpp
  )
  list(TRANSFORM window_sources PREPEND ${VELMORA_ROOT}/)
  add_library(velmora_window STATIC ${window_sources})
  target_link_libraries(velmora_window PUBLIC velmora_core comctl32 ole32)
  # The program is one small file: its own code is compiled for size.
  target_compile_options(velmora_core PRIVATE -Os)
  target_compile_options(velmora_window PRIVATE -Os)
  target_compile_options(velmora_window PRIVATE ${VELMORA_WARNINGS})

  # The script finds its pictures beside it, and the manifest where it was configured.
  configure_file(${VELMORA_ROOT}/resources/velmora.manifest.in resources/velmora.manifest @ONLY)
  add_library(velmora_resources OBJECT ${VELMORA_ROOT}/resources/velmora.rc)
  target_include_directories(velmora_resources PRIVATE ${VELMORA_ROOT}/resources
                                                       ${CMAKE_CURRENT_BINARY_DIR}/resources)
endif()
