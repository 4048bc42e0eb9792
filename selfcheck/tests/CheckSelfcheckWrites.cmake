# Runs the self-check under strace and counts its write() calls to standard
# error: each of its seven log lines must reach the descriptor in one write,
# which is what keeps a line whole in a pipe or log file other processes
# share.
#
#   cmake -DSELFCHECK=<exe> -DWORK_DIR=<dir> -P CheckSelfcheckWrites.cmake
#
# When strace is not installed the test says so and is reported as skipped;
# any other failure to trace is a failure.

if(NOT SELFCHECK OR NOT WORK_DIR)
  message(FATAL_ERROR "SELFCHECK and WORK_DIR must be set")
endif()

find_program(STRACE strace)
if(NOT STRACE)
  message("SKIP: strace is not installed, so the writes cannot be counted")
  return()
endif()

set(trace "${WORK_DIR}/selfcheck-writes.strace")
file(REMOVE "${trace}")
execute_process(
  COMMAND "${STRACE}" -f -e trace=write -o "${trace}" "${SELFCHECK}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "strace or the self-check failed (status ${status}):\n${err}")
endif()

file(STRINGS "${trace}" writes REGEX "^([0-9]+ +)?write\\(2, ")
list(LENGTH writes count)
string(REGEX MATCHALL "\n" newlines "${err}")
list(LENGTH newlines lines)
if(NOT lines EQUAL 7 OR NOT count EQUAL 7)
  list(JOIN writes "\n" shown)
  message(FATAL_ERROR
    "expected 7 log lines in 7 writes to standard error, got ${lines} lines in ${count} writes:\n"
    "${shown}")
endif()
message("7 log lines, 7 writes to standard error")
