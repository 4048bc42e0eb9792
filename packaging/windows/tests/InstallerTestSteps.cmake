# The steps the example installers' test scripts (RunSetup.cmake for NSIS,
# RunMsi.cmake for Windows Installer) share: running an installer program
# under Wine with the stand-in loader scripted, and checking what the install
# folder holds.
#
# The including script sets EMULATOR and `call_log`, the host path of the
# file the stand-in writes its calls to (OSTREL_FAKE_LOADER_CALL_LOG). Each
# function adds its failures to `failures` and what happened to `transcript`
# in its caller's scope. Functions, not macros: a macro would re-read the
# Windows paths' back slashes as escapes.

include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/OstrelTestScript.cmake)

# installer_run(<what> <stand-in script> <expected status> <program> <argument>...)
# Runs the program with the stand-in scripted (OSTREL_FAKE_LOADER_SCRIPT);
# <expected status> is a number, or FAILS for any status but 0 (Wine's
# msiexec and Windows' do not report a failed install by the same number).
# Leaves the calls the stand-in saw in `calls`.
function(installer_run what script expected)
  file(REMOVE "${call_log}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${script}")
  execute_process(COMMAND ${EMULATOR} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 240)
  set(calls "")
  if(EXISTS "${call_log}")
    file(READ "${call_log}" calls)
  endif()
  if(expected STREQUAL "FAILS")
    if(status STREQUAL "0" OR NOT status MATCHES "^[0-9]+$")
      string(APPEND failures "  ${what}: exit status ${status}, expected a failure\n")
    endif()
  elseif(NOT status STREQUAL "${expected}")
    string(APPEND failures "  ${what}: exit status ${status}, expected ${expected}\n")
  endif()
  string(APPEND transcript "--- ${what} (exit ${status})\n${out}${err}--- calls\n${calls}")
  foreach(name calls failures transcript)
    set(${name} "${${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

# installer_expect_call(<ON|OFF> <call>): whether the last installer_run's
# stand-in received <call>.
function(installer_expect_call expect call)
  ostrel_expect_call("${calls}" ${expect} "${call}")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# installer_expect_files(<folder> <ON|OFF> <file>...): each file is in
# <folder> (ON), or none is (OFF).
function(installer_expect_files folder expect)
  foreach(file IN LISTS ARGN)
    if(expect AND NOT EXISTS "${folder}/${file}")
      string(APPEND failures "  ${file} not installed\n")
    elseif(NOT expect AND EXISTS "${folder}/${file}")
      string(APPEND failures "  ${file} left behind\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()
