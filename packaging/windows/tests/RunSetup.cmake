# Runs the example installer (and its uninstaller) silently under Wine
# against the stand-in loader, and checks the exit statuses, the installed
# files and what reached the loader.
#
#   cmake -DSETUP=<installer> -DAPPLICATION=<file name> -DWORK=<folder>
#         -DCASE=<name> -DEMULATOR=<cmd;args> -P RunSetup.cmake
#
# Cases: install (fresh: added, polled, auto-launch on), upgrade (installed
# again over a registration: auto-launch untouched), uninstall (removal
# before the files go), refused (the runtime refuses the manifest: the
# installer fails with ostrel-register's status), unreachable (no runtime:
# the installer succeeds).

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/InstallerTestSteps.cmake)
ostrel_require_variables(SETUP APPLICATION WORK CASE EMULATOR)
ostrel_fresh_case_folder(dir)
set(key vantorell.ostrel)
set(folder "${dir}/Ostrel")
set(call_log "${dir}/calls.log")

ostrel_program_path(win_folder "${folder}")
ostrel_program_path(win_log "${call_log}")
set(manifest "${win_folder}\\app.vrmanifest")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${win_log}")

set(failures "")
set(transcript "")

function(install what script expected)
  installer_run("${what}" "${script}" ${expected} "${SETUP}" /S "/D=${win_folder}")
  foreach(name calls failures transcript)
    set(${name} "${${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

function(expect_installed expect)
  installer_expect_files("${folder}" ${expect}
    ostrel-register.exe app.vrmanifest "${APPLICATION}" openvr_api.dll uninstall.exe)
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# The calls of a first registration: added, polled until installed (the
# stand-in answers "not installed" to status and to ensure's first question,
# then "installed" to the second poll), auto-launch switched on.
set(first_install_script "installed=0,0,0,1")
if(CASE STREQUAL "install")
  install("install" "${first_install_script}" 0)
  expect_installed(ON)
  installer_expect_call(ON "AddApplicationManifest(${manifest},false)")
  installer_expect_call(ON "SetApplicationAutoLaunch(${key},true)")
  string(FIND "${calls}" "AddApplicationManifest(" added)
  string(SUBSTRING "${calls}" ${added} -1 after_add)
  string(REGEX MATCHALL "IsApplicationInstalled\\(${key}\\)" polls "${after_add}")
  list(LENGTH polls poll_count)
  if(poll_count LESS 2)
    string(APPEND failures "  ${poll_count} polls after the add, expected at least 2\n")
  endif()
elseif(CASE STREQUAL "upgrade")
  install("first install" "${first_install_script}" 0)
  # The user has switched auto-launch off since; the runtime lists the key.
  install("upgrade" "installed=1|getautolaunch=0" 0)
  expect_installed(ON)
  installer_expect_call(ON "IsApplicationInstalled(${key})")
  installer_expect_call(OFF "AddApplicationManifest(${manifest},false)")
  foreach(value true false)
    installer_expect_call(OFF "SetApplicationAutoLaunch(${key},${value})")
  endforeach()
elseif(CASE STREQUAL "uninstall")
  install("install" "${first_install_script}" 0)
  installer_run("uninstall" "installed=1" 0 "${folder}/uninstall.exe" /S "_?=${win_folder}")
  installer_expect_call(ON "RemoveApplicationManifest(${manifest})")
  # The uninstaller runs in place (_?=) and cannot delete its own file; the
  # rest goes.
  file(REMOVE "${folder}/uninstall.exe")
  expect_installed(OFF)
elseif(CASE STREQUAL "refused")
  # VRApplicationError_InvalidManifest: ensure exits 1, and so does the
  # installer, which still leaves an installation that can be removed.
  install("install" "add=107" 1)
  expect_installed(ON)
  installer_expect_call(ON "AddApplicationManifest(${manifest},false)")
  installer_expect_call(OFF "SetApplicationAutoLaunch(${key},true)")
elseif(CASE STREQUAL "unreachable")
  install("install" "init=108" 0)
  expect_installed(ON)
  installer_expect_call(OFF "AddApplicationManifest(${manifest},false)")
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()

if(failures)
  message(FATAL_ERROR "ostrel-setup ${CASE}:\n${failures}${transcript}")
endif()
message(STATUS "ostrel-setup ${CASE}: passed")
