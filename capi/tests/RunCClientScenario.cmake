# Runs the C client of ostrel.h step by step against the stand-in loader in
# its stateful mode, as an application would use the library: the first
# start-up registration, the next start finding it right (blocking and on
# the library's thread), status parsed back, a moved install repaired,
# register/ensure/repair/unregister, a first registration on the library's
# thread, an unreachable runtime, and a run cancelled from a second thread.
#
#   cmake -DCLIENT=<exe> -DLOADER=<stand-in> -DWORK=<folder> -DCASE=<name>
#         [-DEMULATOR=<cmd;args>] [-DRUNNER=<cmd;args>] -P RunCClientScenario.cmake
#
# RUNNER goes before the client on its command line (mono, for the C#
# binding's client, which takes the same commands); unlike EMULATOR it leaves
# the paths in host form.
#
# The manifests are real files, named by the paths of the platform built for:
# POSIX paths natively, their Z:\... form under Wine.

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(CLIENT LOADER WORK CASE)
ostrel_fresh_case_folder(dir)
set(key "vantorell.ostrel")
ostrel_program_path(loader "${LOADER}")
set(log "${dir}/calls.log")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${log}")
unset(ENV{VR_CONFIG_PATH})
unset(ENV{VR_OVERRIDE})

set(failures "")
set(transcript "")

function(fail text)
  string(APPEND failures "  ${text}\n")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# install_copy(<variable> <folder name>): a manifest the check passes and its
# binary; <variable> is the path the client is given.
function(install_copy variable name)
  ostrel_install_copy(path "${dir}" "${name}" "${key}")
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# A runtime whose registry starts empty, in <folder>.
function(fresh_runtime folder)
  ostrel_fresh_stand_in("${dir}/${folder}")
endfunction()

# step(<tag> <stand-in script> <expected exit> <command> <manifest>): the
# client run as one step (ostrel_step) on the key and the loader.
function(step tag script expected command manifest)
  ostrel_step(${tag} "${script}" ${expected}
    ${EMULATOR} ${RUNNER} "${CLIENT}" ${command} ${key} "${manifest}" "${loader}")
  foreach(stream IN ITEMS out err calls)
    set(${tag}_${stream} "${${tag}_${stream}}" PARENT_SCOPE)
  endforeach()
  set(transcript "${transcript}" PARENT_SCOPE)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()


install_copy(ours "Games/Ostrel")
install_copy(old "Old/Ostrel")

# The first start registers, with auto-launch on; the next finds it right in
# the runtime's files and leaves the runtime alone.
fresh_runtime(first)
step(check "" 0 check "${ours}")
ostrel_expect_json(check ON passed)
ostrel_expect_json(check 0 exit_status)
step(first "" 1 startup "${ours}")
ostrel_expect_in(first out "registered (1): registered ${key} from ${ours}")
ostrel_expect_in(first err "log 2: manifest registered + auto-launch enabled: ${key}")
ostrel_expect_in(first calls "AddApplicationManifest(${ours},false)")
ostrel_expect_in(first calls "SetApplicationAutoLaunch(${key},true)")
step(again "" 0 startup "${ours}")
ostrel_expect_in(again out "already-registered (0): ${key} is registered from ${ours}")
if(NOT again_calls STREQUAL "")
  fail("already registered: the stand-in saw calls")
endif()
# The same, started on the library's thread, its outcome to a callback.
step(async "" 0 async "${ours}")
ostrel_expect_in(async out "callback (0): ${key} is registered from ${ours}")
ostrel_expect_in(async out "already-registered (0)")
step(status "" 0 status "${ours}")
ostrel_expect_json(status "${key}" app_key)
ostrel_expect_json(status registered state)
ostrel_expect_json(status ON runtime reachable)
ostrel_expect_json(status 0 exit_status)
# Keys the runtime refuses, at every function that takes one: refused before
# the stand-in is even loaded, and its registry as it was.
file(READ "${dir}/first/config/appconfig.json" listed_before)
step(bad_keys "" 0 bad-keys "${ours}")
ostrel_expect_in(bad_keys out "bad keys refused")
if(NOT bad_keys_calls STREQUAL "")
  fail("bad keys: the stand-in saw calls")
endif()
file(READ "${dir}/first/config/appconfig.json" listed_after)
if(NOT listed_after STREQUAL listed_before)
  fail("bad keys: the runtime's list changed")
endif()

# Moved install: the old folder's copy was registered first, so the runtime
# serves the key from it; the start from the new folder removes it and
# registers this one.
fresh_runtime(moved)
step(register_old "" 0 register "${old}")
ostrel_expect_in(register_old out "register: 0: (no error)")
# The old folder's copy serves the key: stale, by the state's own number.
step(status_stale "" 1 status "${ours}")
ostrel_expect_json(status_stale stale state)
ostrel_expect_json(status_stale 6 exit_status)
step(moved "" 2 startup "${ours}")
ostrel_expect_in(moved out "repaired (2): removed ${old}; registered ${key} from ${ours}")
ostrel_expect_in(moved calls "RemoveApplicationManifest(${old})")
ostrel_expect_in(moved calls "AddApplicationManifest(${ours},false)")

step(status_after "" 0 status "${ours}")
ostrel_expect_json(status_after registered state)
# The doctor over the whole list: the moved install's manifest is served,
# nothing is dead; by its own number, the command's status in the JSON.
step(doctor "" 0 doctor "${ours}")
ostrel_expect_json(doctor 0 exit_status)
ostrel_expect_json(doctor "${ours}" manifests 0 path)
step(ensure "" 0 ensure "${ours}")
ostrel_expect_in(ensure out "ensure: 0: (no error)")
step(repair "" 0 repair "${ours}")
ostrel_expect_json(repair Success result)
string(JSON removed_count ERROR_VARIABLE error LENGTH "${repair_out}" removed)
if(error OR NOT removed_count EQUAL 0)
  fail("repair: removed '${removed_count}' ${error}, expected an empty list")
endif()
step(unregister "" 0 unregister "${ours}")
ostrel_expect_in(unregister calls "RemoveApplicationManifest(${ours})")
step(status_gone "" 2 status "${ours}")
ostrel_expect_json(status_gone not-registered state)
# The runtime refuses the removal: the registrar's result and its text.
step(refused "remove=101" 4 unregister "${ours}")
ostrel_expect_in(refused out "unregister: 4: RemoveApplicationManifest: VRApplicationError_NoManifest")

# A manifest the check refuses: repair does nothing, and says so by its own
# number; the JSON keeps the command's exit status.
ostrel_program_path(absent "${dir}/Absent/app.vrmanifest")
step(repair_refused "" 1 repair "${absent}")
ostrel_expect_json(repair_refused 5 exit_status)
step(check_refused "" 1 check "${absent}")
ostrel_expect_json(check_refused OFF passed)

# A first registration started on the library's thread.
fresh_runtime(async)
step(async_first "" 1 async "${ours}")
ostrel_expect_in(async_first out "callback (1): registered ${key} from ${ours}")
ostrel_expect_in(async_first calls "SetApplicationAutoLaunch(${key},true)")

# The runtime cannot be reached: the loader's reason, nothing else.
fresh_runtime(unreachable)
step(unreachable "init=108" 3 startup "${ours}")
ostrel_expect_in(unreachable out "unreachable (3): ")
ostrel_expect_in(unreachable out "VRInitError_Init_HmdNotFound (108)")
step(register_unreachable "init=108" 5 register "${ours}")
ostrel_expect_in(register_unreachable out "VRInitError_Init_HmdNotFound (108)")
string(FIND "${unreachable_calls}" "AddApplicationManifest" at)
if(NOT at EQUAL -1)
  fail("unreachable: a manifest was added")
endif()

# Cancelled from a second thread while the registrar polls a runtime that
# never lists the key (without the cancel: a poll timeout, "failed").
fresh_runtime(cancel)
step(cancel "installed=0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0" 5
  cancel "${ours}")
ostrel_expect_in(cancel out "cancelled (5): ")

# A managed host (RUNNER: mono) is not the application: its defaults are
# looked for beside the client's own files, wherever it is started from. And
# what only a managed binding can get wrong: a second Start while the first
# run's callback is still to come, with collections in between; misuse told
# apart before the call.
if(RUNNER)
  fresh_runtime(managed)
  set(app "${dir}/managed/app")
  file(MAKE_DIRECTORY "${app}" "${dir}/managed/elsewhere")
  file(COPY "${CLIENT}" "${LOADER}" DESTINATION "${app}")
  ostrel_write_binaries("${app}")
  ostrel_write_manifest("${app}/app.vrmanifest" "${key}")
  ostrel_program_path(beside "${app}/app.vrmanifest")
  get_filename_component(client_name "${CLIENT}" NAME)
  set(CLIENT "${app}/${client_name}")
  set(saved_dir "${dir}")
  set(dir "${dir}/managed/elsewhere")
  step(defaults "" 1 defaults "-")
  set(dir "${saved_dir}")
  ostrel_expect_in(defaults out "registered (1): registered ${key} from ${beside}")
  step(start_twice "" 0 start-twice "${beside}")
  ostrel_expect_in(start_twice out "second start refused: ")
  step(misuse "" 0 misuse "${beside}")
  ostrel_expect_in(misuse out "misuse told apart")
endif()

if(failures)
  message(FATAL_ERROR "the C client, ${CASE}:\n${failures}\n${transcript}")
endif()
message(STATUS "${CASE}: every step as expected")
