# Runs the example MSI silently under Wine's msiexec against the stand-in
# loader in its stateful mode (it keeps the runtime's list of applications in
# the case's folder, from one process to the next), and checks the exit
# statuses, the installed files, what the runtime lists afterwards and what
# the installer's log says.
#
#   cmake -DMSI=<msi> -DNEXT_MSI=<the next version's msi> -DPRODUCT_CODE=<the msi's>
#         -DNEXT_PRODUCT_CODE=<the next one's> -DAPPLICATION=<file name>
#         -DWORK=<folder> -DCASE=<name> -DEMULATOR=<cmd;args> -P RunMsi.cmake
#
# Cases: install (fresh: listed from the install folder, auto-launch on; then
# installed again over itself, a repair: nothing listed twice; then
# uninstalled: no longer listed, another application's entry kept, the files
# gone), non_ascii (an install folder named outside ASCII, there and back),
# refused (the runtime refuses the manifest: the install fails and is
# rolled back, nothing listed, the command's message in the log), upgrade
# (the next version over this one, into the folder this one chose: one
# listed manifest, this version gone), upgrade_keeps_auto_launch (the removal
# of this version as Windows runs it for the upgrade, UPGRADINGPRODUCTCODE
# set, leaves the registration, and the next version leaves the auto-launch
# the user switched off alone; Wine's msiexec does not set that property for
# the removal it runs itself), unreachable (no runtime: the install and the
# uninstall succeed), remove_refused (the runtime refuses the removal: the
# uninstall still removes the files).
#
# Windows Installer keeps what is installed in the Wine prefix, which the
# tests share: the cases must not run at once (RESOURCE_LOCK), and each one
# first removes whatever a run stopped half-way left installed.

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/InstallerTestSteps.cmake)
ostrel_require_variables(MSI NEXT_MSI PRODUCT_CODE NEXT_PRODUCT_CODE APPLICATION WORK CASE
  EMULATOR)
ostrel_fresh_case_folder(dir)
set(key vantorell.ostrel)
set(folder "${dir}/Ostrel")
if(CASE STREQUAL "non_ascii")
  set(folder "${dir}/José/应用/Ostrel")
endif()
set(config "${dir}/config")
set(call_log "${dir}/calls.log")

ostrel_program_path(win_folder "${folder}")
ostrel_program_path(win_msi "${MSI}")
ostrel_program_path(win_next_msi "${NEXT_MSI}")
ostrel_program_path(win_call_log "${call_log}")
set(manifest "${win_folder}\\app.vrmanifest")
set(ENV{OSTREL_FAKE_LOADER_CALL_LOG} "${win_call_log}")
ostrel_stateful_stand_in("${dir}")

set(failures "")
set(transcript "")

foreach(product "${PRODUCT_CODE}" "${NEXT_PRODUCT_CODE}")
  execute_process(COMMAND ${EMULATOR} msiexec /x "${product}" /qn
    RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET TIMEOUT 120)
endforeach()

# msiexec(<what> <stand-in script> <expected status> <argument>...): msiexec
# silently, its log in the case's folder and in `msi_log` afterwards.
function(msiexec what script expected)
  string(MAKE_C_IDENTIFIER "${what}" name)
  set(log_file "${dir}/${name}.log")
  ostrel_program_path(win_log_file "${log_file}")
  installer_run("${what}" "${script}" ${expected} msiexec ${ARGN} /qn /l*v "${win_log_file}")
  set(msi_log "")
  if(EXISTS "${log_file}")
    file(READ "${log_file}" msi_log)
  endif()
  # The custom actions' part of the log, to see why a check failed.
  string(REGEX MATCHALL "(ostrel-register|  |Ostrel|SteamVR|Action ended[^\n]*Ostrel)[^\n]*\n"
    lines "${msi_log}")
  string(JOIN "" lines ${lines})
  string(APPEND transcript "--- ${what}: the installer's log, custom actions\n${lines}")
  foreach(name calls failures transcript msi_log)
    set(${name} "${${name}}" PARENT_SCOPE)
  endforeach()
endfunction()

function(expect_installed expect)
  installer_expect_files("${folder}" ${expect}
    ostrel-register.exe app.vrmanifest "${APPLICATION}" openvr_api.dll)
  if(NOT expect AND EXISTS "${folder}")
    string(APPEND failures "  the install folder is left behind\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# expect_listed(<path>...): the runtime lists exactly these, in order.
function(expect_listed)
  ostrel_listed_manifests(listed "${config}")
  ostrel_expect_same("the runtime's list" "${listed}" "${ARGN}")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

function(expect_auto_launch expect)
  set(settings "${config}/vrappconfig/${key}.vrappconfig")
  set(value "")
  if(EXISTS "${settings}")
    file(READ "${settings}" text)
    string(JSON value ERROR_VARIABLE error GET "${text}" autolaunch)
  endif()
  ostrel_expect_same("auto-launch" "${value}" "${expect}")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# expect_log(<text>): the last msiexec's log holds <text>, as it stands.
function(expect_log text)
  string(FIND "${msi_log}" "${text}" at)
  if(at EQUAL -1)
    string(APPEND failures "  the installer's log lacks '${text}'\n")
    set(failures "${failures}" PARENT_SCOPE)
  endif()
endfunction()

if(CASE STREQUAL "install")
  # Another application's entry, listed before; nothing here may remove it.
  ostrel_install_copy(other "${dir}" "Other" other.app)
  string(REPLACE "\\" "\\\\" other_json "${other}")
  file(WRITE "${config}/appconfig.json" "{\"manifest_paths\":[\"${other_json}\"]}")

  msiexec("install" "" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  expect_installed(ON)
  expect_listed("${other}" "${manifest}")
  expect_auto_launch(ON)
  # The command's own summary line, passed on into the installer's log.
  expect_log("registered ${key} from ${manifest}\n")
  expect_log("Ostrel is registered with SteamVR.")

  # A repair: every file laid again, in the folder the first install chose.
  msiexec("install again" "" 0 /i "${win_msi}" REINSTALL=ALL REINSTALLMODE=omus)
  expect_installed(ON)
  expect_listed("${other}" "${manifest}")
  installer_expect_call(OFF "AddApplicationManifest(${manifest},false)")
  expect_log("ostrel-register ensure: exit status 0")

  msiexec("uninstall" "" 0 /x "${win_msi}")
  installer_expect_call(ON "RemoveApplicationManifest(${manifest})")
  expect_listed("${other}")
  expect_installed(OFF)
elseif(CASE STREQUAL "non_ascii")
  # The folder reaches the command, and its output the log, unharmed.
  msiexec("install" "" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  expect_installed(ON)
  expect_listed("${manifest}")
  msiexec("uninstall" "" 0 /x "${win_msi}")
  installer_expect_call(ON "RemoveApplicationManifest(${manifest})")
  expect_listed()
  expect_installed(OFF)
elseif(CASE STREQUAL "refused")
  # VRApplicationError_InvalidManifest: ensure exits 1, and the install fails.
  msiexec("install" "add=107" FAILS /i "${win_msi}" "INSTALLDIR=${win_folder}")
  installer_expect_call(ON "AddApplicationManifest(${manifest},false)")
  expect_installed(OFF)
  expect_listed()
  expect_log("ensure failed (AddFailed, exit 1) for ${key}")
  expect_log("Ostrel could not be registered with SteamVR (ostrel-register ensure, exit 1): ")
elseif(CASE STREQUAL "upgrade")
  msiexec("install" "" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  # The user switches auto-launch off. Wine's upgrade removes this version
  # without UPGRADINGPRODUCTCODE, so the registration is taken back and made
  # again; the choice the runtime recorded survives even that.
  set(settings "${config}/vrappconfig/${key}.vrappconfig")
  file(READ "${settings}" text)
  string(JSON text SET "${text}" autolaunch false)
  file(WRITE "${settings}" "${text}")
  # No INSTALLDIR: the next version goes where this one is.
  msiexec("upgrade" "" 0 /i "${win_next_msi}")
  expect_installed(ON)
  expect_listed("${manifest}")
  expect_auto_launch(OFF)
  installer_expect_call(OFF "SetApplicationAutoLaunch(${key},true)")
  expect_log("WIX_UPGRADE_DETECTED = {")
  # This version is no longer installed, so there is nothing to remove (by
  # its product code: the package itself would not even start, a newer
  # version being installed).
  msiexec("uninstall this version" "" FAILS /x "${PRODUCT_CODE}")
  expect_installed(ON)
  expect_listed("${manifest}")

  msiexec("uninstall" "" 0 /x "${win_next_msi}")
  expect_listed()
  expect_installed(OFF)
elseif(CASE STREQUAL "upgrade_keeps_auto_launch")
  msiexec("install" "" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  # The user has switched auto-launch off since.
  set(settings "${config}/vrappconfig/${key}.vrappconfig")
  file(READ "${settings}" text)
  string(JSON text SET "${text}" autolaunch false)
  file(WRITE "${settings}" "${text}")

  msiexec("remove this version for the upgrade" "" 0
    /x "${win_msi}" "UPGRADINGPRODUCTCODE=${NEXT_PRODUCT_CODE}")
  installer_expect_call(OFF "RemoveApplicationManifest(${manifest})")
  expect_listed("${manifest}")
  msiexec("install the next version" "" 0 /i "${win_next_msi}" "INSTALLDIR=${win_folder}")
  expect_installed(ON)
  expect_listed("${manifest}")
  expect_auto_launch(OFF)
  installer_expect_call(OFF "AddApplicationManifest(${manifest},false)")
  installer_expect_call(OFF "SetApplicationAutoLaunch(${key},true)")

  msiexec("uninstall" "" 0 /x "${win_next_msi}")
  expect_listed()
elseif(CASE STREQUAL "unreachable")
  # VRInitError_Init_HmdNotFound: the runtime cannot be reached, and the
  # application registers itself when it next starts.
  msiexec("install" "init=108" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  expect_installed(ON)
  installer_expect_call(OFF "AddApplicationManifest(${manifest},false)")
  expect_log("SteamVR could not be reached: ")
  msiexec("uninstall" "init=108" 0 /x "${win_msi}")
  expect_installed(OFF)
elseif(CASE STREQUAL "remove_refused")
  msiexec("install" "" 0 /i "${win_msi}" "INSTALLDIR=${win_folder}")
  # VRApplicationError_AppKeyAlreadyExists for the removal.
  msiexec("uninstall" "remove=100" 0 /x "${win_msi}")
  installer_expect_call(ON "RemoveApplicationManifest(${manifest})")
  expect_log("Ostrel's SteamVR registration could not be removed (exit ")
  expect_installed(OFF)
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()

ostrel_report_failures("ostrel.msi ${CASE}" "${transcript}")
message(STATUS "ostrel.msi ${CASE}: passed")
