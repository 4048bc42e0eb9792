# Installs the build into a fresh prefix, checks the installed tree, then
# builds examples/register-at-startup against it as an outside project would
# and runs it against the stand-in loader.
#
#   cmake -DBUILD_DIR= -DSOURCE_DIR= -DEXAMPLE= -DWORK= -DGENERATOR= -DCXX=
#         -DBUILD_TYPE= [-DTOOLCHAIN=] [-DEXE_SUFFIX=] -DLOADER=
#         -DPUBLIC_HEADERS=<file> [-DEMULATOR=<cmd;args>] -P CheckConsumer.cmake
#
# PUBLIC_HEADERS names a file that lists, one a line and relative to the
# include folder, the public headers the package's libraries declare.

foreach(required BUILD_DIR SOURCE_DIR EXAMPLE WORK GENERATOR LOADER PUBLIC_HEADERS)
  if(NOT ${required})
    message(FATAL_ERROR "${required} not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
set(prefix "${WORK}/prefix")
set(failures "")

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

run("cmake --install" ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")

# --- what the prefix holds ------------------------------------------------------

# Exactly the public headers: those the package's libraries declare and the
# C interface's ostrel.h. The platform layer, the libraries' private headers,
# a header in an include folder that its library does not declare, and the
# headers of libraries outside the package stay behind.
file(STRINGS "${PUBLIC_HEADERS}" declared_headers)
set(expected_headers include/ostrel.h)
foreach(header IN LISTS declared_headers)
  list(APPEND expected_headers "include/${header}")
endforeach()
list(SORT expected_headers)
file(GLOB_RECURSE installed_headers RELATIVE "${prefix}" "${prefix}/*.h" "${prefix}/*.hpp")
list(SORT installed_headers)
if(NOT installed_headers STREQUAL expected_headers)
  string(APPEND failures "  installed headers: ${installed_headers}\n  expected:          ${expected_headers}\n")
endif()
# The declared list comes from the build, so which libraries' headers are
# public is said here on its own: one folder each, the internal ones absent.
set(expected_header_folders
  common doctor manifestcheck openvr outcome registration runtimeregistry startup steamvr)
file(GLOB installed_header_folders RELATIVE "${prefix}/include/ostrel" "${prefix}/include/ostrel/*")
list(SORT installed_header_folders)
if(NOT installed_header_folders STREQUAL expected_header_folders)
  string(APPEND failures "  include/ostrel/ holds ${installed_header_folders}\n"
    "  expected:          ${expected_header_folders}\n")
endif()

file(GLOB_RECURSE config RELATIVE "${prefix}" "${prefix}/*/cmake/ostrel/ostrelConfig.cmake")
if(NOT config)
  string(APPEND failures "  no ostrelConfig.cmake under ${prefix}\n")
else()
  get_filename_component(package_dir "${prefix}/${config}" DIRECTORY)
  get_filename_component(libdir "${package_dir}/../.." ABSOLUTE)
  foreach(file ostrelConfigVersion.cmake ostrelTargets.cmake)
    if(NOT EXISTS "${package_dir}/${file}")
      string(APPEND failures "  ${file} missing beside ostrelConfig.cmake\n")
    endif()
  endforeach()
  foreach(library ostrel_logging ostrel_steamvr ostrel_openvr ostrel_manifestcheck
      ostrel_runtimeregistry ostrel_registration ostrel_doctor ostrel_startup ostrel_platform
      ostrel_text)
    if(NOT EXISTS "${libdir}/lib${library}.a")
      string(APPEND failures "  ${libdir}/lib${library}.a missing\n")
    endif()
  endforeach()
  # Nothing of the source or build tree: every path is relative to the prefix.
  file(GLOB package_files "${package_dir}/*.cmake")
  foreach(file IN LISTS package_files)
    file(READ "${file}" text)
    foreach(tree "${SOURCE_DIR}" "${BUILD_DIR}")
      string(FIND "${text}" "${tree}" at)
      if(NOT at EQUAL -1)
        string(APPEND failures "  ${file} names ${tree}\n")
      endif()
    endforeach()
  endforeach()
  file(READ "${package_dir}/ostrelTargets.cmake" targets)
  foreach(target ostrel::logging ostrel::steamvr ostrel::openvr ostrel::manifestcheck
      ostrel::runtimeregistry ostrel::registration ostrel::doctor ostrel::startup)
    string(FIND "${targets}" "add_library(${target} STATIC IMPORTED)" at)
    if(at EQUAL -1)
      string(APPEND failures "  ostrelTargets.cmake does not define ${target}\n")
    endif()
  endforeach()
  # The C interface: the shared library, and what a consumer without CMake
  # needs beside it.
  string(FIND "${targets}" "add_library(ostrel::c SHARED IMPORTED)" at)
  if(at EQUAL -1)
    string(APPEND failures "  ostrelTargets.cmake does not define ostrel::c\n")
  endif()
  if(EXE_SUFFIX STREQUAL ".exe")
    set(c_files "${prefix}/bin/ostrel.dll" "${libdir}/libostrel.dll.a" "${libdir}/ostrel.def")
  else()
    set(c_files "${libdir}/libostrel.so" "${libdir}/pkgconfig/ostrel.pc")
  endif()
  foreach(file IN LISTS c_files)
    if(NOT EXISTS "${file}")
      string(APPEND failures "  ${file} missing\n")
    endif()
  endforeach()
endif()

foreach(file "bin/ostrel-register${EXE_SUFFIX}" share/doc/ostrel/LICENSE)
  if(NOT EXISTS "${prefix}/${file}")
    string(APPEND failures "  ${file} not installed\n")
  endif()
endforeach()

if(failures)
  message(FATAL_ERROR "installed tree at ${prefix}:\n${failures}")
endif()

# --- an outside project built against it -----------------------------------------

set(configure_args -S "${EXAMPLE}" -B "${WORK}/build" -G "${GENERATOR}")
if(BUILD_TYPE)
  list(APPEND configure_args "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}")
endif()
if(TOOLCHAIN)
  # The toolchain searches for packages below its root only, so the package
  # folder is named directly, as a cross-building consumer would.
  list(APPEND configure_args "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-Dostrel_DIR=${package_dir}")
else()
  list(APPEND configure_args "-DCMAKE_CXX_COMPILER=${CXX}" "-DCMAKE_PREFIX_PATH=${prefix}")
endif()
run("configuring the example" ${CMAKE_COMMAND} ${configure_args})
run("building the example" ${CMAKE_COMMAND} --build "${WORK}/build")

# The loader beside the program, where an application ships it.
set(program "${WORK}/build/register-at-startup${EXE_SUFFIX}")
file(COPY "${LOADER}" DESTINATION "${WORK}/build")

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/OstrelTestScript.cmake)

# The stand-in keeps the runtime's registry in a config folder of this test's
# own, and writes the openvrpaths.vrpath named by VR_PATHREG_OVERRIDE at its
# first start, as the runtime does; the example reads both.
set(key vantorell.ostrel)
set(log "${WORK}/calls.log")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${log}")

# A runtime whose registry starts empty, in <folder>.
function(fresh_runtime folder)
  ostrel_fresh_stand_in("${WORK}/${folder}")
  set(settings "${WORK}/${folder}/config/vrappconfig/${key}.vrappconfig" PARENT_SCOPE)
  set(appconfig "${WORK}/${folder}/config/appconfig.json" PARENT_SCOPE)
endfunction()

# install_copy(<variable> <folder name> [<app key>]): a manifest the check
# passes, and its binary, for an install folder (ostrel_install_copy).
function(install_copy variable name)
  set(app_key "${key}")
  if(ARGC GREATER 2)
    set(app_key "${ARGV2}")
  endif()
  ostrel_install_copy(path "${WORK}" "${name}" "${app_key}")
  set(${variable} "${path}" PARENT_SCOPE)
endfunction()

# run_example(<case> <stand-in script> <exit status> <line> <key>
#             [<manifest>]): runs the example, checks its exit status and that
# standard output is one line that starts with <line>; the stand-in's calls are left in
# `calls` ("" when it saw none).
function(run_example case script expect_status expect_line run_key)
  file(REMOVE "${log}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${script}")
  ostrel_run_program(example "${WORK}" "${program}" ${run_key} ${ARGN})
  set(out "${example_out}")
  set(err "${example_err}")
  set(status "${example_status}")
  set(calls "")
  if(EXISTS "${log}")
    file(READ "${log}" calls)
  endif()
  string(LENGTH "${out}" out_length)
  math(EXPR out_length "${out_length} - 1")
  set(problems "")
  if(NOT status STREQUAL "${expect_status}")
    string(APPEND problems "  exit status ${status}, expected ${expect_status}\n")
  endif()
  string(FIND "${out}" "\n" end)
  string(FIND "${out}" "${expect_line}" at)
  if(NOT at EQUAL 0 OR NOT end EQUAL -1 AND NOT end EQUAL "${out_length}")
    string(APPEND problems "  standard output is not one line starting \"${expect_line}\"\n")
  endif()
  if(problems)
    message(FATAL_ERROR "register-at-startup, ${case}:\n${problems}--- stdout\n${out}--- stderr\n${err}--- calls\n${calls}")
  endif()
  message(STATUS "register-at-startup, ${case}: exit ${status}")
  set(calls "${calls}" PARENT_SCOPE)
endfunction()

function(expect_calls case)
  set(failures "")
  cmake_parse_arguments(ARG "" "" "RECEIVED;NOT_RECEIVED" ${ARGN})
  foreach(call IN LISTS ARG_RECEIVED)
    ostrel_expect_call("${calls}" ON "${call}")
  endforeach()
  foreach(call IN LISTS ARG_NOT_RECEIVED)
    ostrel_expect_call("${calls}" OFF "${call}")
  endforeach()
  if(failures)
    message(FATAL_ERROR "register-at-startup, ${case}:\n${failures}--- calls\n${calls}")
  endif()
endfunction()

install_copy(ours "Games/Ostrel")
install_copy(old "Old/Ostrel")
install_copy(gone "Gone/Ostrel")
install_copy(other "Games/Other" other.app)

# A first registration switches auto-launch on; the next start finds the
# registration right in the runtime's files and leaves the runtime alone:
# the stand-in is not even loaded.
fresh_runtime(first)
run_example(first_registration "" 0 "registered: registered ${key} from ${ours}" ${key} "${ours}")
expect_calls(first_registration RECEIVED
  "AddApplicationManifest(${ours},false)" "SetApplicationAutoLaunch(${key},true)")
run_example(already_registered "" 0 "already-registered: ${key} is registered from ${ours}"
  ${key} "${ours}")
if(NOT calls STREQUAL "")
  message(FATAL_ERROR "already registered: the stand-in saw calls:\n${calls}")
endif()

# Moved install: another application, a copy that is gone, then the old
# folder's copy (which the runtime serves the key from) are listed; the user
# switched auto-launch off. The next start from the new folder removes the
# old copy only, registers this one and never touches auto-launch.
fresh_runtime(moved)
run_example(other_application "" 0 "registered: registered other.app from ${other}"
  other.app "${other}")
run_example(old_copy "" 0 "registered: registered ${key} from ${old}" ${key} "${old}")
# An earlier install whose folder is gone is still listed before the old
# copy: written here as the runtime would have kept it.
file(REMOVE_RECURSE "${WORK}/installs/Gone")
string(REPLACE "\\" "\\\\" other_json "${other}")
string(REPLACE "\\" "\\\\" gone_json "${gone}")
string(REPLACE "\\" "\\\\" old_json "${old}")
file(WRITE "${appconfig}" "{\"manifest_paths\":[\"${other_json}\",\"${gone_json}\",\"${old_json}\"]}")
file(WRITE "${settings}" "{\"autolaunch\":false}")
run_example(moved_install "" 0
  "repaired: removed ${old}; registered ${key} from ${ours} (auto-launch left off, as the user set it)"
  ${key} "${ours}")
expect_calls(moved_install
  RECEIVED "RemoveApplicationManifest(${old})" "AddApplicationManifest(${ours},false)"
  NOT_RECEIVED "RemoveApplicationManifest(${other})" "RemoveApplicationManifest(${gone})"
    "SetApplicationAutoLaunch(${key},true)" "SetApplicationAutoLaunch(${key},false)")
file(READ "${settings}" settings_now)
string(JSON auto_launch GET "${settings_now}" autolaunch)
if(auto_launch)
  message(FATAL_ERROR "moved install: auto-launch is on again: ${settings_now}")
endif()
run_example(after_repair "" 0 "already-registered: ${key} is registered from ${ours}"
  ${key} "${ours}")

# The runtime cannot be reached: the loader's reason, nothing else.
fresh_runtime(unreachable)
run_example(unreachable "init=108" 69
  "unreachable: the SteamVR runtime cannot be reached: VR_InitInternal2 failed: VRInitError_Init_HmdNotFound (108)"
  ${key} "${ours}")
expect_calls(unreachable NOT_RECEIVED "AddApplicationManifest(${ours},false)")

# Hostile files: a path registry that cannot be read does not say which
# runtime the loader would start, so none is called (the stand-in is not
# even loaded); a list of applications that cannot be read leaves the
# decision to the runtime, which is asked.
fresh_runtime(hostile)
file(WRITE "${WORK}/hostile/openvrpaths.vrpath" "{\"config\": [[[[")
run_example(hostile_path_registry "" 69
  "unreachable: the SteamVR runtime cannot be reached: the runtime's path registry "
  ${key} "${ours}")
if(NOT calls STREQUAL "")
  message(FATAL_ERROR "hostile path registry: the stand-in saw calls:\n${calls}")
endif()
fresh_runtime(hostile_list)
run_example(other_application_again "" 0 "registered: registered other.app from ${other}"
  other.app "${other}")
file(WRITE "${appconfig}" "{\"manifest_paths\": [[[[")
run_example(hostile_list "" 0 "registered: registered ${key} from ${ours}" ${key} "${ours}")

# A manifest the runtime would skip: refused before the runtime is reached.
fresh_runtime(refused)
string(REGEX REPLACE "Ostrel([/\\]app\\.vrmanifest)$" "Absent\\1" absent "${ours}")
run_example(manifest_errors "" 1
  "failed: not registered: the manifest check found 1 error in ${absent}: error [file-missing]"
  ${key} "${absent}")
if(NOT calls STREQUAL "")
  message(FATAL_ERROR "manifest errors: the stand-in saw calls:\n${calls}")
endif()

# Without a manifest named, the one beside the program is registered.
fresh_runtime(beside)
ostrel_write_binaries("${WORK}/build")
ostrel_write_manifest("${WORK}/build/app.vrmanifest" "${key}")
ostrel_program_path(beside "${WORK}/build/app.vrmanifest")
run_example(beside_the_program "" 0 "registered: registered ${key} from ${beside}" ${key})

# On Linux an AppImage's program runs from a mount that goes away; the
# manifest is the one beside the AppImage file the AppImage runtime names.
if(NOT EMULATOR)
  fresh_runtime(appimage)
  ostrel_write_binaries("${WORK}/Applications")
  ostrel_write_manifest("${WORK}/Applications/app.vrmanifest" "${key}")
  set(ENV{APPIMAGE} "${WORK}/Applications/Ostrel-x86_64.AppImage")
  run_example(beside_the_appimage "" 0
    "registered: registered ${key} from ${WORK}/Applications/app.vrmanifest" ${key})
  unset(ENV{APPIMAGE})
endif()
