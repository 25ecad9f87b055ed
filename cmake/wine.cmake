# Windows executables run under Wine: the build keeps its own Wine prefix and virtual display
# in its binary folder, set up once by the first test and torn down after the last.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELMORA_WINE_BITS 32)
else()
  set(VELMORA_WINE_BITS 64)
endif()

# Each Wine session of the tests lives in a folder of its own under VELMORA_WINE_SESSIONS.
set(VELMORA_WINE_SESSIONS ${CMAKE_BINARY_DIR}/wine-sessions)
set(VELMORA_WINE_STATE ${VELMORA_WINE_SESSIONS}/wine)
set(VELMORA_WINE_RUN ${CMAKE_SOURCE_DIR}/tools/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VELMORA_WINE_RUN} ${VELMORA_WINE_STATE} ${VELMORA_WINE_BITS})

# velmora_wine_fixture(NAME [DPI]): the Wine session kept in VELMORA_WINE_SESSIONS/NAME, set up
# by the test NAME_start before the tests that require the fixture NAME and torn down by
# NAME_stop after them. Every Windows test requires the "wine" fixture, the session in
# VELMORA_WINE_STATE, unless it needs a session of its own. With DPI, the session's screen has
# that many dots per inch. Every session's prefix is a copy of one made once, in
# VELMORA_WINE_SESSIONS/base, by whichever session starts first.
function(velmora_wine_fixture name)
  set(state ${VELMORA_WINE_SESSIONS}/${name})
  add_test(NAME ${name}_start COMMAND ${VELMORA_WINE_RUN} ${state} ${VELMORA_WINE_BITS} --start)
  add_test(NAME ${name}_stop COMMAND ${VELMORA_WINE_RUN} ${state} ${VELMORA_WINE_BITS} --stop)
  set(environment VELMORA_WINE_BASE=${VELMORA_WINE_SESSIONS}/base)
  if(ARGC GREATER 1)
    list(APPEND environment VELMORA_DPI=${ARGV1})
  endif()
  set_tests_properties(${name}_start PROPERTIES FIXTURES_SETUP ${name} ENVIRONMENT "${environment}")
  set_tests_properties(${name}_stop PROPERTIES FIXTURES_CLEANUP ${name})
endfunction()
