# Builds Velmora.exe a second time, in another folder and later than the first, and fails unless
# the two files are the same to the byte. The second build is told the same place to report as
# the first, which its boxes name.
#
#   cmake -DSOURCE_DIR=.../program -DTOOLCHAIN=... -DREPORT_TO=... -DFIRST=.../Velmora.exe
#         -DAGAIN_DIR=... -P this file
file(REMOVE_RECURSE ${AGAIN_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${AGAIN_DIR} -G Ninja
          -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} "-DVELMORA_REPORT_TO=${REPORT_TO}"
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${AGAIN_DIR} --target Velmora --parallel 2
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(SHA256 ${FIRST} first)
file(SHA256 ${AGAIN_DIR}/Velmora.exe again)
message("${first}  ${FIRST}\n${again}  ${AGAIN_DIR}/Velmora.exe")
if(NOT first STREQUAL again)
  message(FATAL_ERROR "The second build of Velmora.exe differs from the first")
endif()
