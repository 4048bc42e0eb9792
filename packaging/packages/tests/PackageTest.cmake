# What the package tests share: unpacking a package and checking what it
# holds, and the steps every package's consumer is taken through, against
# the stand-in loader in its stateful mode. Each consumer takes the C
# client's commands (capi/tests/ostrel_c_client.c) and prints what it does:
#
#   <client> version                                     the library's version
#   <client> startup|async|cancel KEY MANIFEST LOADER    "<action> (<n>): <message>"; exit n
#   <client> status KEY MANIFEST LOADER                  the status JSON; exit the state
#
# (async also prints "callback (<n>): <message>"; cancel cancels the run from
# another thread after 700 ms.)
#
#   include(PackageTest.cmake)
#   ostrel_package_scenario(<name> <client command>...)
#
# with SOURCE_DIR, WORK, LOADER (the stand-in, host path) and VERSION set,
# and EMULATOR for a Windows consumer (its paths then in their Z:\ form).

include(${SOURCE_DIR}/cmake/OstrelTestScript.cmake)

# ostrel_run(<what> <command>...): runs it, stops the test when it fails;
# its standard output in run_out.
function(ostrel_run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(run_out "${out}" PARENT_SCOPE)
endfunction()

# ostrel_unpack(<package> <folder>): <folder> emptied, the package (a ZIP or
# a gzipped tar, whatever its name ends with) unpacked into it.
function(ostrel_unpack package folder)
  if(NOT EXISTS "${package}")
    message(FATAL_ERROR "${package} is missing: has scripts/package.sh made the packages?")
  endif()
  file(REMOVE_RECURSE "${folder}")
  file(MAKE_DIRECTORY "${folder}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${package}" WORKING_DIRECTORY "${folder}"
    RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot unpack ${package}: ${err}")
  endif()
endfunction()

# ostrel_expect_files(<folder> <file>...): <folder> holds exactly these files
# (symbolic links included), relative to it.
function(ostrel_expect_files folder)
  file(GLOB_RECURSE held LIST_DIRECTORIES false RELATIVE "${folder}" "${folder}/*")
  list(SORT held)
  set(expected ${ARGN})
  list(SORT expected)
  if(NOT held STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${held})
    set(extra ${held})
    list(REMOVE_ITEM extra ${expected})
    string(APPEND failures "  ${folder}: missing ${missing}; not expected ${extra}\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# ostrel_expect_magic(<file> <hex>): the file starts with these bytes (an
# executable's or a library's kind).
function(ostrel_expect_magic file hex)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  set(start "")
  if(EXISTS "${file}")
    file(READ "${file}" start LIMIT ${bytes} HEX)
  endif()
  if(NOT start STREQUAL hex)
    string(APPEND failures "  ${file} starts with '${start}', not ${hex}\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

# ostrel_expect_text(<file> <text>...): the file holds each text, literally.
function(ostrel_expect_text file)
  set(content "")
  if(EXISTS "${file}")
    file(READ "${file}" content)
  endif()
  foreach(text IN LISTS ARGN)
    string(FIND "${content}" "${text}" at)
    if(at EQUAL -1)
      string(APPEND failures "  ${file} lacks '${text}'\n")
    endif()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# _ostrel_step(<tag> <stand-in script> <exit status> <argument>...): the
# client run as one step (ostrel_step).
function(_ostrel_step tag script expected)
  ostrel_step(${tag} "${script}" ${expected} ${EMULATOR} ${client} ${ARGN})
  foreach(stream IN ITEMS out err calls)
    set(${tag}_${stream} "${${tag}_${stream}}" PARENT_SCOPE)
  endforeach()
  set(transcript "${transcript}" PARENT_SCOPE)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(ostrel_package_scenario name)
  set(client ${ARGN})
  set(dir "${WORK}/scenario")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}")
  set(key vantorell.ostrel)
  set(log "${dir}/calls.log")
  set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${log}")
  ostrel_program_path(loader "${LOADER}")
  set(failures "")
  set(transcript "")

  ostrel_install_copy(ours "${dir}" "Games/Ostrel" "${key}")
  ostrel_install_copy(old "${dir}" "Old/Ostrel" "${key}")
  ostrel_install_copy(other "${dir}" "Games/Other" other.app)

  # The library the consumer found is this version's.
  _ostrel_step(version "" 0 version)
  ostrel_expect_same("version" "${version_out}" "${VERSION}\n")

  # Another application, then this one from its old folder: both registered.
  ostrel_fresh_stand_in("${dir}/runtime")
  _ostrel_step(other "" 1 startup other.app "${other}" "${loader}")
  ostrel_expect_in(other out "registered (1): registered other.app from ${other}")
  _ostrel_step(old "" 1 startup ${key} "${old}" "${loader}")
  ostrel_expect_in(old out "registered (1): registered ${key} from ${old}")
  ostrel_expect_in(old calls "SetApplicationAutoLaunch(${key},true)")

  # Moved: the runtime serves the key from the old folder, so the status is
  # stale; the next start from the new folder removes the old copy only.
  _ostrel_step(stale "" 1 status ${key} "${ours}" "${loader}")
  ostrel_expect_json(stale stale state)
  _ostrel_step(moved "" 2 startup ${key} "${ours}" "${loader}")
  ostrel_expect_in(moved out "repaired (2): removed ${old}; registered ${key} from ${ours}")
  ostrel_expect_call("${moved_calls}" ON "RemoveApplicationManifest(${old})")
  ostrel_expect_call("${moved_calls}" OFF "RemoveApplicationManifest(${other})")
  ostrel_listed_manifests(listed "${dir}/runtime/config")
  ostrel_expect_same("listed after the repair" "${listed}" "${other};${ours}")

  # Right now: the started form finds it so in the runtime's files without
  # loading the stand-in, and says so to its callback.
  _ostrel_step(async "" 0 async ${key} "${ours}" "${loader}")
  ostrel_expect_in(async out "callback (0): ${key} is registered from ${ours}")
  ostrel_expect_in(async out "already-registered (0)")
  ostrel_expect_same("calls of the run that found it right" "${async_calls}" "")
  _ostrel_step(registered "" 0 status ${key} "${ours}" "${loader}")
  ostrel_expect_json(registered registered state)

  # A run cancelled from another thread while it polls a runtime that never
  # lists the key (without the cancel: a poll timeout).
  ostrel_fresh_stand_in("${dir}/cancel")
  _ostrel_step(cancel "installed=0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0" 5
    cancel ${key} "${ours}" "${loader}")
  ostrel_expect_in(cancel out "cancelled (5): ")

  ostrel_report_failures("${name}" "${transcript}")
  message(STATUS "${name}: every step as expected")
endfunction()
