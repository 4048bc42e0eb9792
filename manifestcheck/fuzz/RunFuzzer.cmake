# Runs one libFuzzer target for a bounded number of inputs over a fresh copy
# of its seed corpus; fails when the fuzzer finds a crash, a leak, a hang or
# undefined behaviour. Crash inputs land in WORK, never in the source tree.
#
#   cmake -DFUZZER=<exe> -DCORPUS=<seed folder> -DWORK=<scratch folder>
#         -DRUNS=<n> -DMAX_SECONDS=<s> -P RunFuzzer.cmake

foreach(_var FUZZER CORPUS WORK RUNS MAX_SECONDS)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "RunFuzzer.cmake: ${_var} not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/artifacts")
file(COPY "${CORPUS}/" DESTINATION "${WORK}/corpus")

execute_process(
  COMMAND "${FUZZER}"
    -runs=${RUNS}
    -max_total_time=${MAX_SECONDS}
    -max_len=8192
    -timeout=10
    -seed=1
    -print_final_stats=1
    "-artifact_prefix=${WORK}/artifacts/"
    "${WORK}/corpus"
  RESULT_VARIABLE _result
  OUTPUT_VARIABLE _output
  ERROR_VARIABLE _output)

message("${_output}")
if(NOT _result EQUAL 0)
  file(GLOB _artifacts "${WORK}/artifacts/*")
  message(FATAL_ERROR "fuzzer failed (${_result}); inputs kept: ${_artifacts}")
endif()
