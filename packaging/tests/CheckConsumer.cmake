# Installs the build into a fresh prefix, checks the installed tree, then
# builds examples/register-at-startup against it as an outside project would
# and runs it against the stand-in loader.
#
#   cmake -DBUILD_DIR= -DSOURCE_DIR= -DEXAMPLE= -DWORK= -DGENERATOR= -DCXX=
#         -DBUILD_TYPE= [-DTOOLCHAIN=] [-DEXE_SUFFIX=] -DLOADER=
#         [-DEMULATOR=<cmd;args>] -P CheckConsumer.cmake

foreach(required BUILD_DIR SOURCE_DIR EXAMPLE WORK GENERATOR LOADER)
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

# Exactly the public headers: the platform layer, the libraries' private
# headers and the headers of libraries outside the package stay behind.
set(expected_headers
  include/ostrel/common/ConsoleLogger.h
  include/ostrel/common/ILogger.h
  include/ostrel/common/LogLevel.h
  include/ostrel/steamvr/IManifestRegistrar.h
  include/ostrel/steamvr/IVRApplicationsSurface.h
  include/ostrel/steamvr/OpenVRApplicationsSurface.h
  include/ostrel/steamvr/OpenVRSession.h)
file(GLOB_RECURSE installed_headers RELATIVE "${prefix}" "${prefix}/*.h" "${prefix}/*.hpp")
list(SORT installed_headers)
if(NOT installed_headers STREQUAL expected_headers)
  string(APPEND failures "  installed headers: ${installed_headers}\n  expected:          ${expected_headers}\n")
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
  foreach(library ostrel_common ostrel_steamvr ostrel_steamvr_openvr ostrel_platform ostrel_text)
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
  foreach(target ostrel::common ostrel::steamvr ostrel::openvr)
    string(FIND "${targets}" "add_library(${target} STATIC IMPORTED)" at)
    if(at EQUAL -1)
      string(APPEND failures "  ostrelTargets.cmake does not define ${target}\n")
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

set(key vantorell.ostrel)
set(manifest "C:\\Games\\Ostrel\\app.vrmanifest")
set(log "${WORK}/calls.log")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${log}")

# case: script for the stand-in, exit status, text on stdout/stderr, calls.
function(run_example case script expect_status expect_text)
  file(REMOVE "${log}")
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${script}")
  execute_process(COMMAND ${EMULATOR} "${program}" ${key} "${manifest}"
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  set(calls "")
  if(EXISTS "${log}")
    file(READ "${log}" calls)
  endif()
  set(problems "")
  if(NOT status STREQUAL "${expect_status}")
    string(APPEND problems "  exit status ${status}, expected ${expect_status}\n")
  endif()
  string(FIND "${out}${err}" "${expect_text}" at)
  if(at EQUAL -1)
    string(APPEND problems "  output lacks \"${expect_text}\"\n")
  endif()
  foreach(call IN LISTS ARGN)
    string(FIND "${calls}" "${call}\n" at)
    if(at EQUAL -1)
      string(APPEND problems "  the stand-in never received ${call}\n")
    endif()
  endforeach()
  if(problems)
    message(FATAL_ERROR "register-at-startup, ${case}:\n${problems}--- stdout\n${out}--- stderr\n${err}--- calls\n${calls}")
  endif()
  message(STATUS "register-at-startup, ${case}: exit ${status}")
endfunction()

run_example(registers "installed=0,1" 0 "registered ${key}"
  "AddApplicationManifest(${manifest},false)" "SetApplicationAutoLaunch(${key},true)")
run_example(refused "add=107" 1
  "registration failed: AddApplicationManifest: VRApplicationError_InvalidManifest"
  "AddApplicationManifest(${manifest},false)")
run_example(no_runtime "init=108" 69 "SteamVR cannot be reached: VR_InitInternal2 failed: VRInitError_Init_HmdNotFound")
