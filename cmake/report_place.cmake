# Where a keeper sends the text Velmora's failure boxes copy: the one place, the same in every box
# and in both halves of README.txt. Whoever publishes Velmora sets it, a web page or an e-mail
# address (cmake --preset win32 -DVELMORA_REPORT_TO=...); left empty, the words tell the keeper to
# pass the text to whoever gave them Velmora, which is true of every copy.
set(VELMORA_REPORT_TO "" CACHE STRING "Where keepers report a failure: a web page or an address")
if(VELMORA_REPORT_TO MATCHES "[\"\\;\n]")
  message(FATAL_ERROR "VELMORA_REPORT_TO may not hold a quote, a backslash, a semicolon or a "
                      "line break: ${VELMORA_REPORT_TO}")
endif()
# The failure box has room for the place and the reason both only while the place is short.
string(LENGTH "${VELMORA_REPORT_TO}" velmora_report_length)
if(velmora_report_length GREATER 200)
  message(FATAL_ERROR "VELMORA_REPORT_TO is ${velmora_report_length} characters; a web page or "
                      "an address of at most 200 fits the boxes")
endif()

# The words in the middle of a sentence, Chinese and English. README.txt holds the unset ones,
# each on one line, so that a set place takes their place there too.
set(velmora_report_unset_chinese "交給提供您 Velmora 的人")
set(velmora_report_unset_english "pass it to whoever gave you Velmora")
if(VELMORA_REPORT_TO)
  set(VELMORA_REPORT_CHINESE "回報到 ${VELMORA_REPORT_TO}")
  set(VELMORA_REPORT_ENGLISH "report it to ${VELMORA_REPORT_TO}")
else()
  set(VELMORA_REPORT_CHINESE "${velmora_report_unset_chinese}")
  set(VELMORA_REPORT_ENGLISH "${velmora_report_unset_english}")
endif()
configure_file(${VELMORA_ROOT}/runtime/report_place.h.in
               ${CMAKE_CURRENT_BINARY_DIR}/generated/runtime/report_place.h @ONLY)
set(VELMORA_GENERATED_INCLUDE ${CMAKE_CURRENT_BINARY_DIR}/generated)

# README.txt as the zip carries it: release/README.txt with the place set here.
function(velmora_keepers_readme out)
  set(source ${VELMORA_ROOT}/release/README.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  foreach(language chinese english)
    string(FIND "${text}" "${velmora_report_unset_${language}}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${source} lacks \"${velmora_report_unset_${language}}\", where the "
                          "place to report goes")
    endif()
    string(TOUPPER ${language} upper)
    string(REPLACE "${velmora_report_unset_${language}}" "${VELMORA_REPORT_${upper}}" text
                   "${text}")
  endforeach()
  file(WRITE ${out} "${text}")
endfunction()
