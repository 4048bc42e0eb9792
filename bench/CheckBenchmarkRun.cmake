# The benchmarks' smoke run: every benchmark once and briefly, no figure
# asserted; those over the runtime's files with their smaller lists only
# (thousands of files laid out take longer than the rest of the run). Fails when the program fails, when any benchmark reports an
# error (SkipWithError: the path it measures was not the one taken), or when
# one that counts runtime connections ("connects") made any: those measure
# paths that must not reach the runtime.
#
#   cmake -DBENCH=<ostrel-bench> -DWORK=<folder> -P CheckBenchmarkRun.cmake

cmake_minimum_required(VERSION 3.25)

foreach(required BENCH WORK)
  if(NOT ${required})
    message(FATAL_ERROR "${required} not set")
  endif()
endforeach()

file(MAKE_DIRECTORY "${WORK}")
set(report "${WORK}/benchmark-smoke.json")
file(REMOVE "${report}")
execute_process(
  COMMAND "${BENCH}" --benchmark_min_time=0.001 "--benchmark_filter=-(listed:1000|4096)"
    --benchmark_out=${report}
    --benchmark_out_format=json
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ostrel-bench failed (${status}):\n${output}${errors}")
endif()
if(NOT EXISTS "${report}")
  message(FATAL_ERROR "ostrel-bench wrote no report:\n${output}${errors}")
endif()

file(READ "${report}" json)
string(JSON count ERROR_VARIABLE problem LENGTH "${json}" benchmarks)
if(problem OR count EQUAL 0)
  message(FATAL_ERROR "no benchmark ran (${problem}):\n${output}")
endif()
set(failures "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  string(JSON name GET "${json}" benchmarks ${i} name)
  string(JSON failed ERROR_VARIABLE none GET "${json}" benchmarks ${i} error_occurred)
  if(failed)
    string(JSON why ERROR_VARIABLE none GET "${json}" benchmarks ${i} error_message)
    string(APPEND failures "  ${name}: ${why}\n")
  endif()
  string(JSON connects ERROR_VARIABLE absent GET "${json}" benchmarks ${i} connects)
  # A counter comes back as a number in any JSON form ("0.0", "0e+00").
  if(NOT absent AND NOT connects MATCHES "^0(\\.0*)?([eE][-+]?0+)?$")
    string(APPEND failures "  ${name}: ${connects} runtime connections, expected none\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "benchmark smoke run failed:\n${failures}")
endif()
message(STATUS "benchmark smoke run: ${count} benchmarks ran, none failed")
