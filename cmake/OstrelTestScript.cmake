# Helpers for the test scripts that run a built program (cmake -P): where a
# case keeps its files, how the program names them, the manifest it
# registers, and the failures a case collects before it reports them all.
#
# Functions, not macros: a macro would read the back slashes of Windows paths
# in its arguments as escapes. Each function that adds a failure appends a
# line to `failures` in its caller's scope.

# ostrel_require_variables(<name>...): stops naming the first one not set.
function(ostrel_require_variables)
  foreach(required IN LISTS ARGN)
    if(NOT ${required})
      message(FATAL_ERROR "${required} not set")
    endif()
  endforeach()
endfunction()

# ostrel_fresh_case_folder(<variable>): ${WORK}/${CASE}, emptied, in
# <variable>.
function(ostrel_fresh_case_folder variable)
  set(folder "${WORK}/${CASE}")
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  set(${variable} "${folder}" PARENT_SCOPE)
endfunction()

# ostrel_program_path(<variable> <host path>): the path as the program under
# test is given it. Natively that is the host's; under an emulator (Wine) the
# Z: drive form with back slashes.
function(ostrel_program_path variable path)
  if(EMULATOR)
    string(REPLACE "/" "\\" path "${path}")
    set(path "Z:${path}")
  endif()
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# ostrel_write_manifest(<file> <app key>): a manifest the check passes on
# either platform (its binaries, Ostrel.exe and ostrel, are the caller's to
# write beside it: ostrel_write_binaries).
function(ostrel_write_manifest file app_key)
  file(WRITE "${file}"
    "{\"source\":\"builtin\",\"applications\":[{\"app_key\":\"${app_key}\",\"launch_type\":\"binary\","
    "\"binary_path_windows\":\"Ostrel.exe\",\"binary_path_linux\":\"ostrel\","
    "\"is_dashboard_overlay\":true,\"strings\":{\"en_us\":{\"name\":\"Ostrel\"}}}]}")
endfunction()

# ostrel_write_binaries(<folder>): the binaries ostrel_write_manifest names,
# empty files, the Linux one executable.
function(ostrel_write_binaries folder)
  file(WRITE "${folder}/Ostrel.exe" "")
  file(WRITE "${folder}/ostrel" "")
  file(CHMOD "${folder}/ostrel" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endfunction()

# ostrel_expect_call(<calls> <ON|OFF> <call>): whether the stand-in loader's
# call log <calls> holds the line <call>.
function(ostrel_expect_call calls expect call)
  string(FIND "${calls}" "${call}\n" at)
  if(expect AND at EQUAL -1)
    string(HEX "${call}" call_hex)
    string(APPEND failures "  the stand-in never received ${call} (hex ${call_hex})\n")
  elseif(NOT expect AND NOT at EQUAL -1)
    string(APPEND failures "  the stand-in received ${call}\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# ostrel_run_program(<prefix> <working folder> <program> [<argument>...]):
# runs the program (under ${EMULATOR} when it is set) and leaves its
# standard output, standard error and exit status in <prefix>_out,
# <prefix>_err and <prefix>_status in the caller's scope.
function(ostrel_run_program prefix folder program)
  execute_process(COMMAND ${EMULATOR} "${program}" ${ARGN}
    WORKING_DIRECTORY "${folder}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  set(${prefix}_out "${out}" PARENT_SCOPE)
  set(${prefix}_err "${err}" PARENT_SCOPE)
  set(${prefix}_status "${status}" PARENT_SCOPE)
endfunction()

# ostrel_expect_status(<prefix> <status>): a failure line when the run
# ostrel_run_program left in <prefix> exited otherwise.
function(ostrel_expect_status prefix expected)
  if(NOT "${${prefix}_status}" STREQUAL "${expected}")
    string(APPEND failures "  ${prefix}: exit status ${${prefix}_status}, expected ${expected}\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# ostrel_stateful_stand_in(<folder>): the stand-in loader keeps the runtime's
# registry in <folder>/config and writes <folder>/openvrpaths.vrpath at its
# first start, as the runtime does; the programs under test find it through
# VR_PATHREG_OVERRIDE. Paths as the program under test is given them.
function(ostrel_stateful_stand_in folder)
  ostrel_program_path(config "${folder}/config")
  ostrel_program_path(vrpath "${folder}/openvrpaths.vrpath")
  set(ENV{OSTREL_FAKE_LOADER_CONFIG_DIR} "${config}")
  set(ENV{VR_PATHREG_OVERRIDE} "${vrpath}")
  unset(ENV{VR_CONFIG_PATH})
  unset(ENV{VR_OVERRIDE})
endfunction()

# ostrel_listed_manifests(<variable> <config folder>): the manifest paths
# the runtime's list of applications (<config folder>/appconfig.json) holds,
# in order, as a list; empty when there is no list or it holds none.
function(ostrel_listed_manifests variable config_folder)
  set(listed "")
  if(EXISTS "${config_folder}/appconfig.json")
    file(READ "${config_folder}/appconfig.json" appconfig)
    string(JSON count ERROR_VARIABLE error LENGTH "${appconfig}" manifest_paths)
    if(NOT error AND count GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(i RANGE ${last})
        string(JSON entry GET "${appconfig}" manifest_paths ${i})
        list(APPEND listed "${entry}")
      endforeach()
    endif()
  endif()
  set(${variable} "${listed}" PARENT_SCOPE)
endfunction()

# ostrel_install_copy(<variable> <work folder> <install name> <app key>): a
# manifest the check passes, and its binaries, in <work
# folder>/installs/<install name> ("Games/Ostrel"); <variable> is the path
# the program is given: the host's natively, the Z:\ form under an emulator.
function(ostrel_install_copy variable work name app_key)
  string(REPLACE "\\" "/" host_name "${name}")
  set(folder "${work}/installs/${host_name}")
  ostrel_write_binaries("${folder}")
  ostrel_write_manifest("${folder}/app.vrmanifest" "${app_key}")
  ostrel_program_path(path "${folder}/app.vrmanifest")
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# ostrel_fresh_stand_in(<folder>): an empty <folder> whose runtime registry
# starts empty (ostrel_stateful_stand_in).
function(ostrel_fresh_stand_in folder)
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  ostrel_stateful_stand_in("${folder}")
endfunction()

# ostrel_step(<tag> <stand-in script> <exit status> <command>...): runs the
# command in ${dir} with the stand-in loader following <stand-in script>;
# leaves its output in <tag>_out and <tag>_err and the calls the stand-in
# logged to ${log} in <tag>_calls, adds all of it to `transcript`, and a
# failure line when it exited otherwise.
function(ostrel_step tag script expected)
  file(REMOVE "${log}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${script}")
  execute_process(COMMAND ${ARGN}
    WORKING_DIRECTORY "${dir}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 180)
  set(calls "")
  if(EXISTS "${log}")
    file(READ "${log}" calls)
  endif()
  string(APPEND transcript
    "> ${tag}: ${ARGN}\n--- stdout\n${out}--- stderr\n${err}--- calls\n${calls}--- exit ${status}\n")
  if(NOT "${status}" STREQUAL "${expected}")
    string(APPEND failures "  ${tag}: exit status ${status}, expected ${expected}\n")
  endif()
  set(${tag}_out "${out}" PARENT_SCOPE)
  set(${tag}_err "${err}" PARENT_SCOPE)
  set(${tag}_calls "${calls}" PARENT_SCOPE)
  set(transcript "${transcript}" PARENT_SCOPE)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# ostrel_expect_in(<tag> <stream> <text>): the text, taken literally, is in
# what the step <tag> left in <tag>_<stream> (out, err or calls).
function(ostrel_expect_in tag stream text)
  string(FIND "${${tag}_${stream}}" "${text}" at)
  if(at EQUAL -1)
    string(APPEND failures "  ${tag}: ${stream} lacks '${text}'\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# ostrel_expect_json(<prefix> <expected> <member> [<member or index>...]):
# the standard output of the run in <prefix>, parsed back as JSON, holds
# <expected> there.
function(ostrel_expect_json prefix expected)
  _ostrel_expect_json_query(${prefix} "${expected}" GET "is" ${ARGN})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# ostrel_expect_json_length(<prefix> <expected> <member> [<member or index>...]):
# the array or object there holds <expected> elements.
function(ostrel_expect_json_length prefix expected)
  _ostrel_expect_json_query(${prefix} "${expected}" LENGTH "has length" ${ARGN})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(_ostrel_expect_json_query prefix expected mode verb)
  string(JSON value ERROR_VARIABLE error ${mode} "${${prefix}_out}" ${ARGN})
  if(error)
    string(APPEND failures "  ${prefix}: JSON ${ARGN}: ${error}\n")
  elseif(NOT "${value}" STREQUAL "${expected}")
    string(APPEND failures "  ${prefix}: JSON ${ARGN} ${verb} '${value}', expected '${expected}'\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# ostrel_expect_same(<what> <actual> <expected>): a failure line, showing
# both, when the two texts differ. The texts are compared as variables, so
# that one which happens to name a variable is still taken as it is.
function(ostrel_expect_same what actual expected)
  if(NOT actual STREQUAL expected)
    string(APPEND failures "  ${what}: '${actual}', expected '${expected}'\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# ostrel_report_failures(<heading> [<details>]): stops the script when a
# failure was collected, with all of them under <heading> and then <details>
# (what the program printed, to see why), so that one run shows every
# assertion that broke, not only the first.
function(ostrel_report_failures heading)
  set(details "")
  if(ARGC GREATER 1)
    set(details "${ARGV1}")
  endif()
  if(failures)
    message(FATAL_ERROR "${heading}:\n${failures}${details}")
  endif()
endfunction()
