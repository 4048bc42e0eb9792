# Runs the Python example (a short use of the ostrel module beside it) twice
# against the stand-in loader in its stateful mode: the first start
# registers, the second finds the registration right.
#
#   cmake -DPYTHON= -DVERSION= -DEXAMPLE= -DLIBRARY= -DLOADER= -DWORK= -DCASE=
#         -P RunPythonExample.cmake

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(PYTHON VERSION EXAMPLE LIBRARY LOADER WORK CASE)
ostrel_fresh_case_folder(dir)
set(key vantorell.ostrel)

# A manifest the check passes, and its binaries, in an install folder.
ostrel_install_copy(manifest "${dir}" "Games/Ostrel" "${key}")
ostrel_stateful_stand_in("${dir}")
set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
set(ENV{OSTREL_LIBRARY} "${LIBRARY}")

set(failures "")
function(run tag expected)
  execute_process(COMMAND "${PYTHON}" "${EXAMPLE}" ${key} "${manifest}" "${LOADER}"
    WORKING_DIRECTORY "${dir}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
    TIMEOUT 120)
  if(NOT status STREQUAL "${expected}")
    string(APPEND failures "  ${tag}: exit status ${status}, expected ${expected}\n")
  endif()
  foreach(text IN LISTS ARGN)
    string(FIND "${out}${err}" "${text}" at)
    if(at EQUAL -1)
      string(APPEND failures "  ${tag}: no '${text}'\n")
    endif()
  endforeach()
  if(failures)
    message(FATAL_ERROR "${failures}--- stdout\n${out}--- stderr\n${err}")
  endif()
endfunction()

run(first 1 "ostrel ${VERSION}\n" "registered: registered ${key} from ${manifest}\n"
  "status: registered (REGISTERED)\n" "log 2: manifest registered + auto-launch enabled: ${key}\n")
run(again 0 "already-registered: ${key} is registered from ${manifest}\n"
  "status: registered (REGISTERED)\n")
message(STATUS "the Python example: registered, then found right")
