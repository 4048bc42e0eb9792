# Compares a built library's ABI with the baseline (abidiff) and judges it by
# the promise ostrel.h makes: 1.x may add functions, never remove or change
# one. EXPECT=compatible fails on a removal, a change or abidiff's own
# error; EXPECT=broken fails unless such a change is found (the check of the
# check, on a library built from a deliberately broken header).
#
#   cmake -DABIDIFF= -DBASELINE= -DLIBRARY= -DHEADERS= -DEXPECT=compatible|broken
#         -P CheckAbi.cmake

cmake_minimum_required(VERSION 3.25)
foreach(variable ABIDIFF BASELINE LIBRARY HEADERS EXPECT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "CheckAbi.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(
  COMMAND "${ABIDIFF}" --drop-private-types --exported-interfaces-only --headers-dir2 "${HEADERS}" "${BASELINE}" "${LIBRARY}"
  OUTPUT_VARIABLE report ERROR_VARIABLE problems RESULT_VARIABLE status)
if(NOT status MATCHES "^[0-9]+$")
  message(FATAL_ERROR "abidiff did not run: ${status}\n${problems}")
endif()
# abidiff's status is a bit set: 1 error, 2 usage error, 4 a change, 8 an
# incompatible change (it counts a changed signature as a change only).
math(EXPR failed "${status} & 3")
math(EXPR incompatible "${status} & 8")
if(failed)
  message(FATAL_ERROR "abidiff failed (status ${status}):\n${problems}${report}")
endif()

set(breaks "")
foreach(kind "Functions" "Variables")
  if(report MATCHES "${kind} changes summary: ([0-9]+) Removed(\\([^)]*\\))?, ([0-9]+) Changed")
    if(NOT CMAKE_MATCH_1 EQUAL 0 OR NOT CMAKE_MATCH_3 EQUAL 0)
      string(APPEND breaks "${kind}: ${CMAKE_MATCH_1} removed, ${CMAKE_MATCH_3} changed\n")
    endif()
  endif()
endforeach()
if(report MATCHES "[Ss]ymbols changes summary: ([1-9][0-9]*) Removed")
  string(APPEND breaks "symbols: ${CMAKE_MATCH_1} removed\n")
endif()
if(incompatible AND breaks STREQUAL "")
  set(breaks "abidiff calls it incompatible\n")
endif()

if(EXPECT STREQUAL "compatible")
  if(NOT breaks STREQUAL "")
    message(FATAL_ERROR "the ABI of ${LIBRARY} breaks the 1.x promise against ${BASELINE}:\n"
      "${breaks}\n${report}\nA break needs a new major version, a new SONAME and a new baseline "
      "(README: \"The ABI promise\").")
  endif()
  if(status EQUAL 0)
    message(STATUS "ABI as the baseline")
  else()
    message(STATUS "ABI as the baseline, with additions:\n${report}")
  endif()
elseif(EXPECT STREQUAL "broken")
  if(breaks STREQUAL "")
    message(FATAL_ERROR "a deliberately broken header went unnoticed:\n${report}")
  endif()
  message(STATUS "the broken header was caught:\n${breaks}")
else()
  message(FATAL_ERROR "EXPECT must be compatible or broken, not ${EXPECT}")
endif()
