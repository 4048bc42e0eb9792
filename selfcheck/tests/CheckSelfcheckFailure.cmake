# Runs a self-check program whose registrar factory returns nothing and
# checks the runner's failure report.
#
#   cmake -DSELFCHECK=<exe> -DRUNNER_SOURCE=<Scenarios.cpp> [-DEMULATOR=<cmd;args>] -P CheckSelfcheckFailure.cmake
#
# Expected: no PASS line, exactly one FAIL line naming the first check and the
# source line it stands on, exit status 1.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(SELFCHECK RUNNER_SOURCE)

file(READ "${RUNNER_SOURCE}" runner_text)
string(FIND "${runner_text}" "CHECK(reg != nullptr);" check_at)
if(check_at LESS 0)
  message(FATAL_ERROR "no CHECK(reg != nullptr) in ${RUNNER_SOURCE}")
endif()
string(SUBSTRING "${runner_text}" 0 ${check_at} before_check)
string(REGEX MATCHALL "\n" newlines "${before_check}")
list(LENGTH newlines check_line)
math(EXPR check_line "${check_line} + 1")

set(failures "")
ostrel_run_program(selfcheck "${CMAKE_CURRENT_BINARY_DIR}" "${SELFCHECK}")
ostrel_expect_status(selfcheck 1)
ostrel_expect_same("standard output" "${selfcheck_out}" "")
ostrel_expect_same("standard error" "${selfcheck_err}" "FAIL: reg != nullptr at line ${check_line}\n")
ostrel_report_failures("self-check failure report wrong")
