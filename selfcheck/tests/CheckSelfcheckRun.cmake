# Runs the self-check executable once and checks what it prints.
#
#   cmake -DSELFCHECK=<exe> [-DEMULATOR=<cmd;args>] [-DEXPECT_LOG=ON|OFF] -P CheckSelfcheckRun.cmake
#
# Standard output must be exactly the five PASS lines and "all tests passed"
# and the exit status 0. With EXPECT_LOG, standard error must hold exactly the
# registrar's seven log lines, in order, each stamped with the local time of
# the run; without it, standard error must be empty.

if(NOT SELFCHECK)
  message(FATAL_ERROR "SELFCHECK not set")
endif()

function(seconds_of_day out hhmmss)
  string(REGEX MATCH "^([0-9][0-9]):([0-9][0-9]):([0-9][0-9])$" _ "${hhmmss}")
  math(EXPR value "${CMAKE_MATCH_1} * 3600 + ${CMAKE_MATCH_2} * 60 + ${CMAKE_MATCH_3}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

string(TIMESTAMP started "%H:%M:%S")
execute_process(
  COMMAND ${EMULATOR} "${SELFCHECK}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
string(TIMESTAMP finished "%H:%M:%S")

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

if(NOT status STREQUAL "0")
  fail("exit status ${status}, expected 0")
endif()

set(expected_out
  "PASS case_1_register_happy_path\nPASS case_2_poll_timeout_no_setautolaunch\nPASS case_3_add_failed_short_circuit\nPASS case_4_ensure_registered_idempotent\nPASS case_5_unregister\nall tests passed\n")
if(NOT out STREQUAL expected_out)
  string(HEX "${out}" out_hex)
  fail("standard output differs; got:\n${out}\n(hex ${out_hex})")
endif()

if(EXPECT_LOG)
  set(expected_events
    "INFO polling for manifest install"
    "INFO manifest ready after 300ms"
    "INFO manifest registered + auto-launch enabled: vantorell.ostrel"
    "INFO polling for manifest install"
    "WARN timeout after 2000ms"
    "WARN AddApplicationManifest: VRApplicationError_InvalidManifest"
    "INFO manifest removed: vantorell.ostrel")

  if(NOT err MATCHES "\n$")
    fail("standard error does not end with a newline")
  endif()
  string(REGEX REPLACE "\n$" "" trimmed "${err}")
  string(REPLACE ";" "\\;" trimmed "${trimmed}")
  string(REPLACE "\n" ";" lines "${trimmed}")

  seconds_of_day(start_s "${started}")
  seconds_of_day(end_s "${finished}")
  if(end_s LESS start_s)  # the run crossed midnight
    math(EXPR end_s "${end_s} + 86400")
  endif()

  set(events "")
  set(previous_ms -1)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^\\[([0-2][0-9]:[0-5][0-9]:[0-6][0-9])\\.([0-9][0-9][0-9])\\] \\[([A-Z]+)\\] (.*)$")
      fail("not a log line: '${line}'")
      continue()
    endif()
    set(level "${CMAKE_MATCH_3}")
    set(message_text "${CMAKE_MATCH_4}")
    set(millis "${CMAKE_MATCH_2}")
    seconds_of_day(stamp_s "${CMAKE_MATCH_1}")
    if(stamp_s LESS start_s)
      math(EXPR stamp_s "${stamp_s} + 86400")
    endif()
    # One second of slack either side for the clocks' different roundings.
    math(EXPR low "${start_s} - 1")
    math(EXPR high "${end_s} + 1")
    if(stamp_s LESS low OR stamp_s GREATER high)
      fail("stamp of '${line}' is not the local time of the run (${started} to ${finished})")
    endif()
    math(EXPR stamp_ms "${stamp_s} * 1000 + 1${millis} - 1000")
    if(stamp_ms LESS previous_ms)
      fail("stamps go backwards at '${line}'")
    endif()
    set(previous_ms ${stamp_ms})
    list(APPEND events "${level} ${message_text}")
  endforeach()

  if(NOT events STREQUAL expected_events)
    string(REPLACE ";" "\n    " got "${events}")
    fail("log lines differ; got:\n    ${got}")
  endif()
elseif(NOT err STREQUAL "")
  fail("standard error should be empty; got:\n${err}")
endif()

if(failures)
  message(FATAL_ERROR "self-check run failed:\n${failures}")
endif()
message(STATUS "self-check output as expected")
