# Runs the built ostrel-register several times against the stand-in loader in
# its stateful mode, which keeps appconfig.json and <key>.vrappconfig in a
# config folder as the runtime does and writes the openvrpaths.vrpath that
# the command then finds through VR_PATHREG_OVERRIDE. Checks exit statuses,
# output, the JSON output parsed back, and what the runtime's list holds
# afterwards.
#
#   cmake -DREGISTER=<exe> -DLOADER=<stand-in> -DWORK=<folder> -DCASE=<name>
#         [-DEMULATOR=<cmd;args>] -P RunRegistryScenario.cmake
#
# The manifests are real files in the case's folder, named by the paths of
# the platform built for: POSIX paths natively, their Z:\... form under Wine.

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(REGISTER LOADER WORK CASE)
ostrel_fresh_case_folder(dir)
set(key "vantorell.ostrel")

# make_manifest(<variable> <name> [<app key>]): writes a registrable
# manifest (and its binaries) for the install folder <name>, a relative path
# with '/', and sets <variable> to the path the command is given and
# <variable>_file to the file on the host.
function(make_manifest variable name)
  set(app_key "${key}")
  if(ARGC GREATER 2)
    set(app_key "${ARGV2}")
  endif()
  set(folder "${dir}/${name}")
  ostrel_write_binaries("${folder}")
  set(file "${folder}/app.vrmanifest")
  ostrel_program_path(path "${file}")
  ostrel_write_manifest("${file}" "${app_key}")
  set(${variable} "${path}" PARENT_SCOPE)
  set(${variable}_file "${file}" PARENT_SCOPE)
endfunction()

set(config_dir "${dir}/config")
ostrel_program_path(config "${config_dir}")
ostrel_program_path(vrpath "${dir}/openvrpaths.vrpath")
ostrel_program_path(loader "${LOADER}")
ostrel_stateful_stand_in("${dir}")
set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${dir}/calls.log")

set(failures "")
set(transcript "")

# The helpers are functions, not macros: a macro would read the '\' of
# Windows paths in its arguments as escapes.

# run_args(<tag> <argument>...): runs the command once; its output and exit
# status stay under <tag> for the checks, and in the transcript to show.
function(run_args tag)
  ostrel_run_program(${tag} "${dir}" "${REGISTER}" ${ARGN})
  string(APPEND transcript "> ${tag}: ${ARGN}\n--- stdout\n${${tag}_out}--- stderr\n"
    "${${tag}_err}--- exit ${${tag}_status}\n")
  foreach(name ${tag}_out ${tag}_err ${tag}_status transcript)
    set(${name} "${${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

# run(<tag> <verb> <manifest> [KEY <app key>] [STATUS <expected>] [<option>...]):
# the command as an application runs it, `<verb> --key <app key> --manifest
# <manifest> --openvr <loader> <option>...`, for our key unless KEY names
# another; with STATUS its exit status is checked.
function(run tag verb manifest)
  cmake_parse_arguments(PARSE_ARGV 3 run "" "KEY;STATUS" "")
  if(NOT DEFINED run_KEY)
    set(run_KEY "${key}")
  endif()
  run_args(${tag} ${verb} --key ${run_KEY} --manifest "${manifest}" --openvr "${loader}"
    ${run_UNPARSED_ARGUMENTS})
  if(DEFINED run_STATUS)
    check_status(${tag} ${run_STATUS})
  endif()
  foreach(name ${tag}_out ${tag}_err ${tag}_status transcript failures)
    set(${name} "${${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

function(fail text)
  string(APPEND failures "  ${text}\n")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(check_status tag expected)
  ostrel_expect_status(${tag} "${expected}")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# check_out(<tag> <text>...): each text, taken literally, is in standard
# output. The texts are read one by one from ARGV<n>, not from a list, as
# some of them hold a ';'.
function(check_out tag)
  math(EXPR last "${ARGC} - 1")
  foreach(i RANGE 1 ${last})
    string(FIND "${${tag}_out}" "${ARGV${i}}" at)
    if(at EQUAL -1)
      string(APPEND failures "  ${tag}: standard output lacks '${ARGV${i}}'\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(check_out_lacks tag text)
  string(FIND "${${tag}_out}" "${text}" at)
  if(NOT at EQUAL -1)
    string(APPEND failures "  ${tag}: standard output holds '${text}'\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# check_json(<tag> <expected> <member> [<member or index>...]): the JSON on
# standard output, parsed back, holds <expected> there.
function(check_json tag expected)
  ostrel_expect_json(${tag} "${expected}" ${ARGN})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(check_json_length tag expected)
  ostrel_expect_json_length(${tag} "${expected}" ${ARGN})
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# check_listed(<path>...): appconfig.json lists exactly these, in order.
function(check_listed)
  ostrel_listed_manifests(listed "${config_dir}")
  if(NOT "${listed}" STREQUAL "${ARGN}")
    string(APPEND failures "  the runtime lists '${listed}', expected '${ARGN}'\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

function(count_calls out prefix)
  set(count 0)
  if(EXISTS "${dir}/calls.log")
    file(STRINGS "${dir}/calls.log" calls)
    foreach(call IN LISTS calls)
      string(FIND "${call}" "${prefix}" at)
      if(at EQUAL 0)
        math(EXPR count "${count} + 1")
      endif()
    endforeach()
  endif()
  set(${out} ${count} PARENT_SCOPE)
endfunction()

# The usual pair: an old install folder and the new one, same key.
if(CASE STREQUAL "non_ascii")
  make_manifest(old "José/旧/Ostrel")
  make_manifest(new "José/应用/Ostrel")
else()
  make_manifest(old "Old/Ostrel")
  make_manifest(new "New/Ostrel")
endif()

if(CASE STREQUAL "stale_repair" OR CASE STREQUAL "non_ascii")
  run(first register "${old}" STATUS 0)
  run(again register "${new}" STATUS 0)
  # Registering again changes nothing: the first declaring manifest serves.
  check_listed("${old}" "${new}")

  run(stale status "${new}" STATUS 6)
  check_out(stale "error [stale-registration]" "  served:  ${old}\n"
    "  skipped: ${new} (this manifest)\n" "stale: ")

  run(stale_json status "${new}" --json STATUS 6)
  check_json(stale_json "stale" state)
  check_json(stale_json "ON" runtime reachable)
  check_json(stale_json "ON" installed)
  check_json(stale_json "${vrpath}" registry file)
  check_json(stale_json "${config}" registry config)
  check_json_length(stale_json 2 registry manifest_paths)
  check_json(stale_json "${old}" registry manifest_paths 0 path)
  check_json(stale_json "ON" registry manifest_paths 0 declares_key)
  check_json(stale_json "OFF" registry manifest_paths 0 this_manifest)
  check_json(stale_json "ON" registry manifest_paths 1 this_manifest)
  check_json(stale_json "stale-registration" findings 0 code)

  run(dry repair "${new}" --dry-run STATUS 0)
  check_out(dry "would remove ${old}\n")
  check_listed("${old}" "${new}")

  run(repair repair "${new}" STATUS 0)
  check_out(repair "repaired ${key}: removed ${old}; registered ${key} from ${new}\n")
  check_listed("${new}")

  run(current status "${new}" STATUS 0)
  check_out(current "manifest:          current" "status: ${key} is registered (auto-launch on)\n")

  run(removed unregister "${new}" STATUS 0)
  check_listed()
  run(gone status "${new}" STATUS 7)
  check_out(gone "status: ${key} is not registered with the runtime\n")
elseif(CASE STREQUAL "other_application")
  # Another application's manifest and a second copy of ours around ours.
  make_manifest(other "Other" "other.app")
  make_manifest(copy "Copy/Ostrel")
  run(o register "${other}" KEY other.app)
  run(c register "${copy}")
  run(n register "${new}")
  run(o2 register "${old}")
  check_listed("${other}" "${copy}" "${new}" "${old}")

  run(repair repair "${new}" --json STATUS 0)
  check_json(repair "Success" result)
  check_json(repair "OFF" dry_run)
  check_json_length(repair 2 removed)
  check_json(repair "${copy}" removed 0)
  check_json(repair "${old}" removed 1)
  check_json(repair "OFF" registry manifest_paths 0 declares_key)
  check_listed("${other}" "${new}")
  run(other_status status "${other}" KEY other.app STATUS 0)
elseif(CASE STREQUAL "manifest_gone")
  run(first register "${old}")
  file(REMOVE "${old_file}")
  run(status status "${new}" STATUS 7)
  check_out(status "warning [registered-manifest-missing]: the runtime lists \"${old}\"")
  run(own status "${old}" STATUS 7)
  check_out(own "error [registered-manifest-missing]: the runtime lists this manifest")

  run(repair repair "${new}" STATUS 0)
  # A gone manifest declares nothing, so it is not repair's to remove.
  check_out(repair "repaired ${key}: nothing to remove; registered ${key} from ${new}\n")
  check_listed("${old}" "${new}")
  run(after status "${new}" --json STATUS 0)
  check_json(after "registered" state)
  check_json(after "OFF" registry manifest_paths 0 exists)
  check_json(after "ON" registry manifest_paths 1 exists)
elseif(CASE STREQUAL "runtime_closed")
  run(first register "${new}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=108")
  run(closed status "${new}" STATUS 0)
  check_out(closed "runtime:           cannot be reached\n"
    "status: ${key} is registered (auto-launch on) (from the runtime's files; the runtime cannot be reached)\n")
  run(closed_json status "${new}" --json STATUS 0)
  check_json(closed_json "registered" state)
  check_json(closed_json "OFF" runtime reachable)
  check_json(closed_json "VRInitError_Init_HmdNotFound" runtime error)
  check_json(closed_json "ON" installed)
  check_json(closed_json "ON" auto_launch)
  check_json(closed_json "runtime-unreachable" findings 0 code)
  # Without the runtime, a stale registration still shows, and a dry run
  # still says what would go.
  make_manifest(copy "Copy/Ostrel")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  run(add_copy register "${copy}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=108")
  run(closed_copy status "${copy}" STATUS 6)
  run(closed_dry repair "${copy}" --dry-run --json STATUS 0)
  check_json(closed_dry "${new}" would_remove 0)
  check_json(closed_dry "ON" dry_run)
  run(closed_repair repair "${copy}" STATUS 69)
  check_listed("${new}" "${copy}")
elseif(CASE STREQUAL "vrpath_missing")
  # SteamVR never ran for this user: no path registry, and the loader says 110.
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=110")
  run(status status "${new}" STATUS 69)
  check_out(status "warning [vrpath-missing]: there is no runtime path registry at \"${vrpath}\""
    "never run for this user"
    "status failed: the SteamVR runtime cannot be reached: VR_InitInternal2 failed: VRInitError_Init_PathRegistryNotFound (110): Installation path could not be located; ")
  check_out_lacks(status "located (110)")
  run(json status "${new}" --json STATUS 69)
  check_json(json "unknown" state)
  check_json(json "OFF" runtime reachable)
  check_json(json "VRInitError_Init_PathRegistryNotFound" runtime error)
  string(JSON advice ERROR_VARIABLE advice_error GET "${json_out}" runtime advice)
  # Each system's way of running as another account.
  if(EMULATOR)
    set(other_account "Windows user.*elevated")
  else()
    set(other_account "this user.*sudo or su")
  endif()
  if(NOT advice MATCHES "${other_account}")
    fail("json: the runtime's advice is '${advice}'")
  endif()
  check_json(json "" installed)
  check_json(json "vrpath-missing" findings 1 code)
  # The registry cannot be read, so repair registers this manifest only.
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  file(WRITE "${dir}/openvrpaths.vrpath" "")
  file(REMOVE "${dir}/openvrpaths.vrpath")
  run(repair repair "${new}" STATUS 0)
  string(FIND "${repair_err}" "only registering" at)
  if(at EQUAL -1)
    fail("repair: standard error does not say it only registers")
  endif()
  check_listed("${new}")
elseif(CASE STREQUAL "malformed_files")
  run(first register "${new}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=108")
  # A path registry that is not JSON, then one nested far too deep.
  file(WRITE "${dir}/openvrpaths.vrpath" "{\"config\": [\"C:\\\\")
  run(vrpath_bad status "${new}" STATUS 69)
  check_out(vrpath_bad "warning [vrpath-unreadable]")
  string(REPEAT "[" 200000 open)
  string(REPEAT "]" 200000 close)
  file(WRITE "${dir}/openvrpaths.vrpath" "{\"config\":${open}${close}}")
  run(vrpath_deep status "${new}" --json STATUS 69)
  check_json(vrpath_deep "vrpath-unreadable" findings 1 code)
  # The path registry again, now the list of applications broken.
  file(REMOVE "${dir}/openvrpaths.vrpath")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  run(rewrite status "${new}" STATUS 0)
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=108")
  foreach(broken "{\"manifest_paths\": [" "{\"manifest_paths\": {}}" "{\"manifest_paths\":[1e99999]}" "[\"C:\\\\a.vrmanifest\"]"
                 "{\"manifest_paths\":${open}${close}}")
    file(WRITE "${config_dir}/appconfig.json" "${broken}")
    run(appconfig_bad status "${new}" --json STATUS 69)
    check_json(appconfig_bad "appconfig-unreadable" findings 1 code)
    check_json(appconfig_bad "unknown" state)
  endforeach()
  file(REMOVE "${config_dir}/appconfig.json")
  run(appconfig_gone status "${new}" STATUS 69)
  check_out(appconfig_gone "warning [appconfig-missing]")
elseif(CASE STREQUAL "retry")
  # The server comes up at the third start: two waits of a second.
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=301,301,0")
  run(late status "${new}" STATUS 7)
  count_calls(starts "VR_InitInternal2(")
  if(NOT starts EQUAL 3)
    fail("late: ${starts} starts, expected 3")
  endif()
  file(REMOVE "${dir}/calls.log")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=309")
  # The runtime never started, so it never wrote its files either.
  run(down status "${new}" STATUS 69)
  check_out(down "after 3 tries: VRInitError_IPC_ConnectFailedAfterTargetExited (309)"
    "still starting, or has crashed")
  count_calls(starts "VR_InitInternal2(")
  if(NOT starts EQUAL 3)
    fail("down: ${starts} starts, expected 3")
  endif()
elseif(CASE STREQUAL "remove_refused")
  run(first register "${old}")
  run(again register "${new}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "remove=100")
  file(REMOVE "${dir}/calls.log")
  run(refused repair "${new}" STATUS 4)
  check_out(refused "repair failed (RemoveFailed, exit 4) for ${key}: the runtime refused to remove ${old} (VRApplicationError_AppKeyAlreadyExists); nothing registered\n")
  count_calls(adds "AddApplicationManifest(")
  if(NOT adds EQUAL 0)
    fail("refused: the manifest was added although a removal was refused")
  endif()
  check_listed("${old}" "${new}")
elseif(CASE STREQUAL "check_json")
  ostrel_program_path(broken "${dir}/broken.vrmanifest")
  file(WRITE "${dir}/broken.vrmanifest" "{\"applications\": [")
  run_args(bad check --key ${key} --manifest "${broken}" --json)
  check_status(bad 5)
  check_json(bad "OFF" passed)
  check_json(bad "1" errors)
  # The one error is the syntax; a warning about where the build folder lies
  # (Linux's container rule) may come with it.
  string(JSON count LENGTH "${bad_out}" findings)
  set(syntax_severity "")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON code GET "${bad_out}" findings ${i} code)
      if(code STREQUAL "json-syntax")
        string(JSON syntax_severity GET "${bad_out}" findings ${i} severity)
      endif()
    endforeach()
  endif()
  if(NOT syntax_severity STREQUAL "error")
    fail("check_json: no json-syntax error among the findings:\n${bad_out}")
  endif()
  check_json(bad "${key}" app_key)
  run_args(good check --key ${key} --manifest "${new}" --json)
  check_status(good 0)
  check_json(good "ON" passed)
  check_json(good "0" errors)
elseif(CASE STREQUAL "not_steamvr")
  # The first start writes the path registry, naming a runtime folder that
  # holds the server: SteamVR.
  run(first register "${new}" STATUS 0)
  file(READ "${dir}/openvrpaths.vrpath" steamvr_registry)
  string(JSON steamvr_folder GET "${steamvr_registry}" runtime 0)
  # Then another runtime makes itself the active one: a folder without the
  # server, named as OpenComposite names its own.
  file(MAKE_DIRECTORY "${dir}/OpenComposite")
  ostrel_program_path(other_runtime "${dir}/OpenComposite")
  string(REPLACE "\\" "\\\\" escaped "${other_runtime}")
  string(JSON other_registry SET "${steamvr_registry}" runtime 0 "\"${escaped}\"")
  file(WRITE "${dir}/openvrpaths.vrpath" "${other_registry}")
  set(reason "the active OpenVR runtime is not SteamVR: ${other_runtime} (OpenComposite); registrations belong to SteamVR")

  foreach(command register ensure unregister)
    file(REMOVE "${dir}/calls.log")
    run(${command} ${command} "${new}" STATUS 69)
    check_out(${command} "${reason}")
    if(EXISTS "${dir}/calls.log")
      fail("${command}: the runtime that is not SteamVR was called")
    endif()
  endforeach()
  file(REMOVE "${dir}/calls.log")
  run(repair repair "${new}" STATUS 69)
  check_out(repair "${reason}")

  run(status_json status "${new}" --json STATUS 0)  # the files' view: still registered
  check_json(status_json "registered" state)
  check_json(status_json "RuntimeNotSteamVR" runtime error)
  check_json(status_json "runtime-not-steamvr" findings 0 code)
  check_json(status_json "error" findings 0 severity)
  if(EXISTS "${dir}/calls.log")
    fail("status: the runtime that is not SteamVR was called")
  endif()

  # VR_OVERRIDE wins over the path registry, as it does for the loader: both
  # ways round.
  set(ENV{VR_OVERRIDE} "${steamvr_folder}")
  run(override_steamvr ensure "${new}" STATUS 0)
  file(WRITE "${dir}/openvrpaths.vrpath" "${steamvr_registry}")
  set(ENV{VR_OVERRIDE} "${other_runtime}")
  run(override_other ensure "${new}" STATUS 69)
  check_out(override_other "${reason}")
  unset(ENV{VR_OVERRIDE})
elseif(CASE STREQUAL "doctor")
  # The machine as support staff meet it: an application registered twice
  # (an old install folder first), another application healthy, one whose
  # manifest was deleted, one whose manifest was broken after it was
  # registered. The doctor reads the runtime's files only.
  make_manifest(other "Other" "other.app")
  make_manifest(gone "Gone" "gone.app")
  make_manifest(broken "Broken" "broken.app")
  run(add_old register "${old}" STATUS 0)
  run(add_new register "${new}" STATUS 0)
  foreach(step other gone broken)
    run(add_${step} register "${${step}}" KEY ${step}.app STATUS 0)
  endforeach()
  file(REMOVE "${gone_file}")
  file(WRITE "${broken_file}" "{\"applications\": [")
  check_listed("${old}" "${new}" "${other}" "${gone}" "${broken}")
  file(REMOVE "${dir}/calls.log")

  run_args(report doctor)
  check_status(report 5)
  check_out(report "APPLICATION" "  ${old}\n" "  ${new}\n" "  ${other}\n"
    "error [key-shadowed]: the runtime serves app_key \"${key}\" from \"${old}\""
    "  ${broken} (refused)\n" "    error [json-syntax]: "
    "dead entries (the runtime lists them, the file is gone):\n  ${gone}\n"
    # The settings of the two that are gone or broken now switch nothing on.
    "warning [auto-launch-orphan]: auto-launch is on for \"gone.app\""
    "doctor: 5 listed manifests, 3 applications (2 served), 1 dead entry, 2 orphan auto-launch settings: 3 errors, ")
  if(EXISTS "${dir}/calls.log")
    fail("report: the doctor reached for the runtime")
  endif()

  run_args(json doctor --json)
  check_status(json 5)
  check_json(json "5" exit_status)
  check_json(json "${vrpath}" registry file)
  check_json(json "${config}" registry config)
  check_json_length(json 5 manifests)
  check_json(json "${old}" manifests 0 path)
  check_json(json "ON" manifests 0 applications 0 served)
  check_json(json "OFF" manifests 1 applications 0 served)
  check_json(json "3" summary errors)
  check_json(json "ON" manifests 2 applications 0 auto_launch)
  check_json(json "missing" manifests 3 state)
  check_json(json "refused" manifests 4 state)
  check_json(json "1" summary dead)

  run_args(dry doctor --remove-dead --dry-run)
  check_status(dry 5)
  check_out(dry "would remove ${gone}\n")
  if(EXISTS "${dir}/calls.log")
    fail("dry: a dry run reached for the runtime")
  endif()

  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=108")
  run_args(closed doctor --remove-dead --openvr "${loader}")
  check_status(closed 69)
  check_out(closed "nothing removed: the SteamVR runtime cannot be reached")
  check_listed("${old}" "${new}" "${other}" "${gone}" "${broken}")

  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "remove=100")
  run_args(refused doctor --remove-dead --openvr "${loader}")
  check_status(refused 4)
  check_out(refused "the runtime refused to remove ${gone} (")
  check_listed("${old}" "${new}" "${other}" "${gone}" "${broken}")

  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  file(REMOVE "${dir}/calls.log")
  run_args(clean doctor --remove-dead --openvr "${loader}" --json)
  # The shadowed copy and the broken manifest are still errors: someone's
  # to fix, never removed.
  check_status(clean 5)
  check_json(clean "${gone}" remove_dead removed 0)
  check_json(clean "ON" manifests 3 removed)
  check_listed("${old}" "${new}" "${other}" "${broken}")
  count_calls(removes "RemoveApplicationManifest(")
  if(NOT removes EQUAL 1)
    fail("clean: ${removes} removals, expected 1")
  endif()
elseif(CASE STREQUAL "linked_folder")
  # Linux: Steam's folder has two names, ~/.steam/steam being a link to
  # ~/.local/share/Steam. Registered through the link, the manifest is still
  # this one when named by its real folder, and where the runtime starts the
  # application is current.
  make_manifest(real "local/share/Steam/Ostrel")
  file(MAKE_DIRECTORY "${dir}/dot-steam")
  file(CREATE_LINK "${dir}/local/share/Steam" "${dir}/dot-steam/steam" SYMBOLIC)
  set(linked "${dir}/dot-steam/steam/Ostrel/app.vrmanifest")
  run(first register "${linked}" STATUS 0)
  check_listed("${linked}")

  run(status status "${real}" STATUS 0)
  check_out(status "  served:  ${linked} (this manifest)\n" "manifest:          current")
  check_out_lacks(status "stale")
  run(json status "${real}" --json)
  check_json(json "registered" state)
  check_json(json "ON" registry manifest_paths 0 this_manifest)
  run(dry repair "${real}" --dry-run STATUS 0)
  check_out_lacks(dry "would remove")
  run(ensure ensure "${real}" STATUS 0)
  check_out(ensure "already registered ${key}\n")
  check_listed("${linked}")
elseif(CASE STREQUAL "linux_places")
  # Linux: the path registry where the loader looks for it, through the
  # real environment: Flatpak Steam's named when the loader's place is
  # empty, $XDG_CONFIG_HOME when set and not empty, and a path registry
  # another runtime wrote.
  unset(ENV{VR_PATHREG_OVERRIDE})
  unset(ENV{XDG_CONFIG_HOME})
  set(ENV{HOME} "${dir}/home")
  set(own "${dir}/home/.config/openvr/openvrpaths.vrpath")
  set(flatpak "${dir}/home/.var/app/com.valvesoftware.Steam/.config/openvr/openvrpaths.vrpath")
  file(WRITE "${flatpak}" "{\"config\":[\"/sandbox/config\"],\"version\":1}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=110")
  run(flatpak status "${new}" STATUS 69)
  check_out(flatpak "warning [vrpath-missing]: there is no runtime path registry at \"${own}\", but Flatpak Steam keeps one at \"${flatpak}\": "
    "use the native Steam")

  set(ENV{XDG_CONFIG_HOME} "${dir}/xdg")
  set(xdg_vrpath "${dir}/xdg/openvr/openvrpaths.vrpath")
  file(WRITE "${dir}/SteamVR/bin/linux64/vrserver" "")
  file(WRITE "${xdg_vrpath}" "{\"config\":[\"${config}\"],\"runtime\":[\"${dir}/SteamVR\"],\"version\":1}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  run(xdg register "${new}" STATUS 0)
  check_listed("${new}")
  run(xdg_status status "${new}" STATUS 0)
  check_out(xdg_status "registry file:     ${xdg_vrpath}\n" "  served:  ${new} (this manifest)\n")

  # Set but empty counts as not set: ~/.config again, where nothing is.
  set(ENV{XDG_CONFIG_HOME} "")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "init=110")
  run(xdg_empty status "${new}" STATUS 69)
  check_out(xdg_empty "there is no runtime path registry at \"${own}\", but Flatpak Steam")

  # A path registry without config, as those set up for xrizer: another
  # runtime's, and no registration is made with it.
  set(ENV{XDG_CONFIG_HOME} "${dir}/xdg")
  file(MAKE_DIRECTORY "${dir}/xrizer")
  file(WRITE "${xdg_vrpath}" "{\"runtime\":[\"${dir}/xrizer\"],\"version\":1}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "")
  file(REMOVE "${dir}/calls.log")
  run(other status "${new}" STATUS 69)  # neither the runtime nor its list can be read
  check_out(other "warning [vrpath-other-runtime]: the runtime's path registry \"${xdg_vrpath}\" has no config entry"
    "error [runtime-not-steamvr]")
  run(other_register register "${new}" STATUS 69)
  check_out(other_register "the active OpenVR runtime is not SteamVR: ${dir}/xrizer (xrizer)")
  if(EXISTS "${dir}/calls.log")
    fail("other runtime: the runtime was called")
  endif()
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()

ostrel_report_failures("ostrel-register scenario ${CASE}" "\n${transcript}")
message(STATUS "ostrel-register scenario ${CASE} passed\n${transcript}")
