# Runs a self-check program whose registrar factory returns nothing and
# checks the runner's failure report.
#
#   cmake -DSELFCHECK=<exe> -DRUNNER_SOURCE=<Scenarios.cpp> [-DEMULATOR=<cmd;args>] -P CheckSelfcheckFailure.cmake
#
# Expected: no PASS line, exactly one FAIL line naming the first check and the
# source line it stands on, exit status 1.

file(READ "${RUNNER_SOURCE}" runner_text)
string(FIND "${runner_text}" "CHECK(reg != nullptr);" check_at)
if(check_at LESS 0)
  message(FATAL_ERROR "no CHECK(reg != nullptr) in ${RUNNER_SOURCE}")
endif()
string(SUBSTRING "${runner_text}" 0 ${check_at} before_check)
string(REGEX MATCHALL "\n" newlines "${before_check}")
list(LENGTH newlines check_line)
math(EXPR check_line "${check_line} + 1")

execute_process(
  COMMAND ${EMULATOR} "${SELFCHECK}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)

set(failures "")
if(NOT status STREQUAL "1")
  string(APPEND failures "  exit status ${status}, expected 1\n")
endif()
if(NOT out STREQUAL "")
  string(APPEND failures "  standard output should be empty; got:\n${out}\n")
endif()
set(expected_err "FAIL: reg != nullptr at line ${check_line}\n")
if(NOT err STREQUAL expected_err)
  string(APPEND failures "  standard error should be '${expected_err}'; got:\n${err}\n")
endif()
if(failures)
  message(FATAL_ERROR "self-check failure report wrong:\n${failures}")
endif()
