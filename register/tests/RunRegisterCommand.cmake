# Runs the built ostrel-register once against the stand-in loader and checks
# its exit status, summary line and what crossed the loader boundary.
#
#   cmake -DREGISTER=<exe> -DLOADER=<stand-in> -DWORK=<folder> -DCASE=<name>
#         [-DEMULATOR=<cmd;args>] -P RunRegisterCommand.cmake
#
# The program is handed the paths of the platform built for: natively the
# host's, under an emulator (Wine) the Z:\... forms of the files the script
# writes, so that the manifest check reads real files and the full-path
# rules are the system's own.

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(REGISTER LOADER WORK CASE)
ostrel_fresh_case_folder(dir)
set(key "vantorell.ostrel")

function(write_manifest folder)
  file(MAKE_DIRECTORY "${folder}")
  ostrel_write_binaries("${folder}")
  ostrel_write_manifest("${folder}/app.vrmanifest" "${key}")
endfunction()

set(log "${dir}/calls.log")
ostrel_program_path(loader "${LOADER}")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${log}")
set(working_directory "${dir}")
# The runtime's files are never the host's: status reads a path registry
# that is not there.
ostrel_program_path(no_vrpath "${dir}/no-such/openvrpaths.vrpath")
set(ENV{VR_PATHREG_OVERRIDE} "${no_vrpath}")
unset(ENV{VR_CONFIG_PATH})
unset(ENV{OSTREL_FAKE_LOADER_CONFIG_DIR})

# A registrable manifest: a real file, named by its full path.
write_manifest("${dir}/Ostrel")
ostrel_program_path(manifest "${dir}/Ostrel/app.vrmanifest")

# command_case(<verb> STATUS <status> OUT <regex> [SCRIPT <stand-in script>]
#              [MANIFEST <path>] [ARGS <argument>...] [CALLS <call>...] [NO_CALLS]):
# the run this case makes and what it expects. The command is given
# `<verb> --key <key> --manifest <manifest> --openvr <loader>` unless ARGS
# names its arguments after the verb; the stand-in follows SCRIPT, and
# without one its defaults (a script in the environment the test started
# in would change what it answers); every CALLS line must reach the
# stand-in, and with NO_CALLS nothing may.
function(command_case verb)
  cmake_parse_arguments(PARSE_ARGV 1 case "NO_CALLS" "STATUS;OUT;SCRIPT;MANIFEST" "ARGS;CALLS")
  if(NOT DEFINED case_MANIFEST)
    set(case_MANIFEST "${manifest}")
  endif()
  if(NOT DEFINED case_ARGS)
    set(case_ARGS --key ${key} --manifest "${case_MANIFEST}" --openvr "${loader}")
  endif()
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${case_SCRIPT}")
  set(args ${verb} ${case_ARGS} PARENT_SCOPE)
  set(expect_status "${case_STATUS}" PARENT_SCOPE)
  set(expect_out_regex "${case_OUT}" PARENT_SCOPE)
  set(expect_calls "${case_CALLS}" PARENT_SCOPE)
  set(expect_no_calls ${case_NO_CALLS} PARENT_SCOPE)
endfunction()

if(CASE STREQUAL "register")
  command_case(register SCRIPT "installed=0,1" STATUS 0 OUT "^registered ${key} from "
    CALLS "AddApplicationManifest(${manifest},false)" "SetApplicationAutoLaunch(${key},true)")
elseif(CASE STREQUAL "ensure_already")
  command_case(ensure SCRIPT "installed=1" STATUS 0 OUT "^already registered ${key}\n$")
elseif(CASE STREQUAL "add_refused")
  command_case(register SCRIPT "add=107" STATUS 1
    OUT "^register failed \\(AddFailed, exit 1\\).*VRApplicationError_InvalidManifest")
elseif(CASE STREQUAL "timeout")
  command_case(register STATUS 2 OUT "PollTimeout.*timeout after 2000ms")
elseif(CASE STREQUAL "autolaunch_refused")
  command_case(register SCRIPT "installed=1|autolaunch=103" STATUS 3
    OUT "^register failed \\(AutoLaunchFailed, exit 3\\)")
elseif(CASE STREQUAL "remove_refused")
  command_case(unregister SCRIPT "remove=100" STATUS 4
    OUT "^unregister failed \\(RemoveFailed, exit 4\\)")
elseif(CASE STREQUAL "unregister")
  command_case(unregister STATUS 0 OUT "^removed ${key} from "
    CALLS "RemoveApplicationManifest(${manifest})")
elseif(CASE STREQUAL "check_errors")
  file(WRITE "${dir}/broken.vrmanifest" "{\"applications\": [")
  ostrel_program_path(broken "${dir}/broken.vrmanifest")
  command_case(register MANIFEST "${broken}" STATUS 5
    OUT "^register refused: the manifest check found " NO_CALLS)
elseif(CASE STREQUAL "usage")
  command_case(register ARGS --key ${key} STATUS 64 OUT "^$")
elseif(CASE STREQUAL "bad_key")
  # A key the runtime refuses never reaches it: the loader is not loaded.
  command_case(ensure ARGS --key "vantorell ostrel" --manifest "${manifest}" --openvr "${loader}"
    STATUS 64 OUT "^$" NO_CALLS)
elseif(CASE STREQUAL "no_runtime")
  command_case(status ARGS --key ${key} --openvr "${loader}" SCRIPT "init=108" STATUS 69
    OUT "cannot be reached: VR_InitInternal2 failed: VRInitError_Init_HmdNotFound")
elseif(CASE STREQUAL "status_stale")
  # The runtime starts a binary in another folder.
  if(EMULATOR)
    set(old_binary "D:\\Old\\Ostrel.exe")
    set(old_folder "D:\\Old")
  else()
    set(old_binary "/opt/old/ostrel")
    set(old_folder "/opt/old")
  endif()
  string(REPLACE "\\" "\\\\" old_binary_regex "${old_binary}")
  # Stale is its own exit status.
  command_case(status STATUS 6
    SCRIPT "installed=1|getautolaunch=1|flag60=1|text13=${old_binary}|text12=${old_folder}"
    OUT "auto-launch:       on\n.*binary path:       ${old_binary_regex}\n.*manifest:          stale: ")
elseif(CASE STREQUAL "non_ascii")
  # "José/应用": the bytes the loader receives must be these UTF-8 bytes.
  set(unicode_folder "${dir}/José/应用")
  write_manifest("${unicode_folder}")
  ostrel_program_path(target "${unicode_folder}/app.vrmanifest")
  command_case(register MANIFEST "${target}" SCRIPT "installed=1" STATUS 0 OUT "^registered "
    CALLS "AddApplicationManifest(${target},false)")
elseif(CASE STREQUAL "relative")
  # Run from the manifest's folder with a relative, forward-slash path:
  # Windows makes it full by its own rules, Linux joins it to the working
  # folder as it is (the system resolves "sub/.." once "sub" is there).
  set(working_directory "${dir}/Ostrel")
  file(MAKE_DIRECTORY "${dir}/Ostrel/sub")
  if(EMULATOR)
    ostrel_program_path(full "${dir}/Ostrel/app.vrmanifest")
  else()
    set(full "${dir}/Ostrel/./sub/../app.vrmanifest")
  endif()
  string(REPLACE "\\" "\\\\" full_regex "${full}")
  string(REPLACE "." "\\." full_regex "${full_regex}")
  command_case(register MANIFEST "./sub/../app.vrmanifest" SCRIPT "installed=1" STATUS 0
    OUT "^registered ${key} from ${full_regex}\n$" CALLS "AddApplicationManifest(${full},false)")
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()

ostrel_run_program(command "${working_directory}" "${REGISTER}" ${args})
set(out "${command_out}")
set(err "${command_err}")
set(status "${command_status}")

set(failures "")
ostrel_expect_status(command "${expect_status}")
if(NOT out MATCHES "${expect_out_regex}")
  string(APPEND failures "  standard output does not match '${expect_out_regex}'\n")
endif()
set(calls "")
if(EXISTS "${log}")
  file(READ "${log}" calls)
endif()
foreach(call IN LISTS expect_calls)
  ostrel_expect_call("${calls}" ON "${call}")
endforeach()
if(expect_no_calls AND NOT calls STREQUAL "")
  string(APPEND failures "  the runtime was reached although the command refused\n")
endif()

ostrel_report_failures("ostrel-register ${CASE}" "--- stdout\n${out}--- stderr\n${err}--- calls\n${calls}")
message(STATUS "ostrel-register ${CASE}: status ${status}\n${out}")
