# Asks for the status a few times and many times, each run under valgrind,
# through the C client and the stand-in loader (which, as Valve's loader does,
# carries its own C++ run-time and leaks its memory whenever it is
# unloaded). What valgrind calls lost must not grow with the number of calls.
#
#   cmake -DVALGRIND= -DCLIENT= -DLOADER= -DWORK= -P CheckNoLeakPerCall.cmake

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(VALGRIND CLIENT LOADER WORK)
set(CASE no_leak_per_call)
ostrel_fresh_case_folder(dir)
set(key vantorell.ostrel)
ostrel_install_copy(manifest "${dir}" "Games/Ostrel" "${key}")
ostrel_fresh_stand_in("${dir}/runtime")
set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
unset(ENV{OSTREL_FAKE_LOADER_CALL_LOG})

# lost(<variable> <times>): the bytes valgrind found definitely and
# indirectly lost after <times> status calls.
function(lost variable times)
  execute_process(
    COMMAND "${VALGRIND}" --leak-check=full --errors-for-leak-kinds=none
      "${CLIENT}" status-times-${times} ${key} "${manifest}" "${LOADER}"
    WORKING_DIRECTORY "${dir}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
    TIMEOUT 300)
  string(FIND "${out}" "status asked ${times} times: OSTREL_STATE_" asked)
  if(NOT status EQUAL 0 OR asked EQUAL -1)
    message(FATAL_ERROR "${times} calls: exit status ${status}\n--- stdout\n${out}--- stderr\n${err}")
  endif()
  set(bytes 0)
  foreach(kind definitely indirectly)
    if(err MATCHES "${kind} lost: ([0-9,]+) bytes")
      string(REPLACE "," "" count "${CMAKE_MATCH_1}")
      math(EXPR bytes "${bytes} + ${count}")
    endif()
  endforeach()
  set(${variable} ${bytes} PARENT_SCOPE)
endfunction()

lost(few 2)
lost(many 8)
message(STATUS "lost after 2 calls: ${few} bytes; after 8 calls: ${many} bytes")
if(many GREATER few)
  math(EXPR per_call "(${many} - ${few}) / 6")
  message(FATAL_ERROR "each status call loses about ${per_call} bytes")
endif()
