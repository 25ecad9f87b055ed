# Fails unless window/lean_library_faults.cpp defines every throw helper that the C++ library's
# functexcept.o defines: a call to one it lacked would pull that object into the program, and the
# link would fail with multiple definitions.
#
#   cmake -DCXX=<the program's compiler> -DNM=... -DSOURCE=.../lean_library_faults.cpp
#         -DWORK_DIR=... -P this file
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CXX} -print-file-name=libstdc++.a OUTPUT_VARIABLE library
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(ARCHIVE_EXTRACT INPUT ${library} DESTINATION ${WORK_DIR} PATTERNS functexcept.o)
execute_process(COMMAND ${CXX} -std=c++20 -c ${SOURCE} -o ${WORK_DIR}/lean_library_faults.o
                COMMAND_ERROR_IS_FATAL ANY)

# The functions an object defines, by their C++ names.
function(defined_functions object out)
  execute_process(COMMAND ${NM} -C --defined-only ${object} OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" functions "${symbols}")
  list(TRANSFORM functions REPLACE "^[0-9a-f]+ T " "")
  set(${out} ${functions} PARENT_SCOPE)
endfunction()

defined_functions(${WORK_DIR}/functexcept.o helpers)
defined_functions(${WORK_DIR}/lean_library_faults.o ours)
if(NOT helpers)
  message(FATAL_ERROR "No function found in ${library}'s functexcept.o")
endif()
list(REMOVE_ITEM helpers ${ours})
if(helpers)
  list(JOIN helpers "\n  " missing)
  message(FATAL_ERROR "window/lean_library_faults.cpp lacks throw helpers that ${library} "
                      "defines:\n  ${missing}")
endif()
