# Reads the built MSI's tables with msiinfo (msitools) and checks what wixl
# made of ostrel.wxs where a slip would not show in a test run under Wine:
# the custom actions' types (deferred, as the installing user, the
# registration's exit status checked, the removal's not), their conditions,
# and where their sequence numbers place them among the standard actions;
# a per-user package that needs no elevation; the upgrade rows; and the app
# key the actions are given being the one the installed manifest declares.
#
#   cmake -DMSIINFO=<msiinfo> -DMSI=<msi> -DPRODUCT_CODE=<{code}> -DVERSION=<version>
#         -DMANIFEST=<app.vrmanifest> -P CheckMsiTables.cmake

cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/OstrelTestScript.cmake)
ostrel_require_variables(MSIINFO MSI PRODUCT_CODE VERSION MANIFEST)

set(failures "")

function(fail text)
  string(APPEND failures "  ${text}\n")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# read_table(<table>): its rows, in `rows_<table>`, one list element per row
# with each field's ';' written "<semicolon>" and the fields separated by
# tabs.
function(read_table table)
  execute_process(COMMAND "${MSIINFO}" export "${MSI}" ${table}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "msiinfo export ${MSI} ${table} failed (${status}): ${error}")
  endif()
  string(REPLACE ";" "<semicolon>" text "${text}")
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "\n" ";" rows "${text}")
  # The column names, their types and the table's name and keys come first.
  list(REMOVE_AT rows 0 1 2)
  list(FILTER rows EXCLUDE REGEX "^$")
  set(rows_${table} "${rows}" PARENT_SCOPE)
endfunction()

# row(<variable> <table> <column> <value>): the fields (a list) of the first
# row whose <column> (counted from 0) is <value>; empty when there is none.
function(row variable table column value)
  set(${variable} "" PARENT_SCOPE)
  foreach(line IN LISTS rows_${table})
    string(REPLACE "\t" ";" fields "${line}")
    list(GET fields ${column} field)
    if(field STREQUAL value)
      set(${variable} "${fields}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# field(<variable> <table> <key> <column>): <column> of the row whose first
# field is <key>, its ';' restored; "(no row)" when there is none.
function(field variable table key column)
  row(fields ${table} 0 "${key}")
  if(NOT fields)
    set(${variable} "(no row)" PARENT_SCOPE)
    return()
  endif()
  list(GET fields ${column} value)
  string(REPLACE "<semicolon>" ";" value "${value}")
  set(${variable} "${value}" PARENT_SCOPE)
endfunction()

function(expect_field table key column expected what)
  field(value ${table} "${key}" ${column})
  ostrel_expect_same("${table} ${key}: ${what}" "${value}" "${expected}")
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

# expect_order(<sequence table> <action>...): each action is in the table and
# has a higher sequence number than the one before it.
function(expect_order table)
  set(previous "")
  set(previous_number -1)
  foreach(action IN LISTS ARGN)
    field(number ${table} ${action} 2)
    if(NOT number MATCHES "^[0-9]+$")
      fail("${table}: ${action} has no sequence number (${number})")
      set(failures "${failures}" PARENT_SCOPE)
      return()
    endif()
    if(NOT number GREATER previous_number)
      fail("${table}: ${action} (${number}) does not come after ${previous} (${previous_number})")
    endif()
    set(previous "${action}")
    set(previous_number ${number})
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

foreach(table CustomAction InstallExecuteSequence InstallUISequence Property Upgrade
              LaunchCondition Binary Component Registry)
  read_table(${table})
endforeach()

# --- the custom actions --------------------------------------------------
# Type bits: 1 a DLL from the Binary table, 51 sets a property; 1024 deferred
# (runs in the install script, inside the transaction); 2048 would run it as
# the system, not the installing user (absent: impersonated); 64 goes on
# whatever it returns (absent: a failure fails the install).
set(actions OstrelRegister OstrelRegisterData OstrelUnregister OstrelUnregisterData
  UseRememberedInstallDir)
set(listed_actions "")
foreach(line IN LISTS rows_CustomAction)
  string(REGEX MATCH "^[^\t]+" action "${line}")
  list(APPEND listed_actions "${action}")
endforeach()
list(SORT listed_actions)
ostrel_expect_same("the custom actions" "${listed_actions}" "${actions}")

set(data "[OSTREL_APP_KEY];[INSTALLDIR]")
expect_field(CustomAction OstrelRegister 1 1025 "type")
expect_field(CustomAction OstrelRegister 2 OstrelMsiActions "DLL")
expect_field(CustomAction OstrelRegister 3 OstrelRegister "entry")
expect_field(CustomAction OstrelUnregister 1 1089 "type")
expect_field(CustomAction OstrelUnregister 2 OstrelMsiActions "DLL")
expect_field(CustomAction OstrelUnregister 3 OstrelUnregister "entry")
# A deferred action's data is the property of its own name.
expect_field(CustomAction OstrelRegisterData 1 51 "type")
expect_field(CustomAction OstrelRegisterData 2 OstrelRegister "property")
expect_field(CustomAction OstrelRegisterData 3 "${data}" "value")
expect_field(CustomAction OstrelUnregisterData 1 51 "type")
expect_field(CustomAction OstrelUnregisterData 2 OstrelUnregister "property")
expect_field(CustomAction OstrelUnregisterData 3 "${data}" "value")
expect_field(CustomAction UseRememberedInstallDir 1 51 "type")
expect_field(CustomAction UseRememberedInstallDir 2 INSTALLDIR "property")
row(binary Binary 0 OstrelMsiActions)
if(NOT binary)
  fail("Binary: no OstrelMsiActions")
endif()

# --- where and when they run ---------------------------------------------
set(removing "REMOVE~=\"ALL\" AND NOT UPGRADINGPRODUCTCODE")
set(installing "NOT REMOVE~=\"ALL\"")
set(remembered "OSTREL_REMEMBERED_DIR AND NOT INSTALLDIR")
expect_field(InstallExecuteSequence OstrelUnregisterData 1 "${removing}" "condition")
expect_field(InstallExecuteSequence OstrelUnregister 1 "${removing}" "condition")
expect_field(InstallExecuteSequence OstrelRegisterData 1 "${installing}" "condition")
expect_field(InstallExecuteSequence OstrelRegister 1 "${installing}" "condition")
# The removal inside the transaction, while the manifest is still there; the
# registration after the files are in place, before the transaction closes.
expect_order(InstallExecuteSequence
  InstallInitialize OstrelUnregisterData OstrelUnregister RemoveFiles InstallFiles
  WriteRegistryValues OstrelRegisterData OstrelRegister InstallFinalize)
# The older version goes before this one's transaction opens.
expect_order(InstallExecuteSequence InstallValidate RemoveExistingProducts InstallInitialize)
# The remembered folder, unless the command line named one, before the
# folders are resolved; in both sequences, as either may resolve them.
foreach(sequence InstallExecuteSequence InstallUISequence)
  expect_field(${sequence} UseRememberedInstallDir 1 "${remembered}" "condition")
  expect_order(${sequence} AppSearch UseRememberedInstallDir CostFinalize)
endforeach()

# --- the package ---------------------------------------------------------
expect_field(Property ProductCode 1 "${PRODUCT_CODE}" "value")
expect_field(Property ProductVersion 1 "${VERSION}" "value")
field(upgrade_code Property UpgradeCode 1)
string(TOUPPER "${upgrade_code}" upgrade_code)
ostrel_expect_same("the UpgradeCode" "${upgrade_code}" "{0ABD2512-6CCE-4533-9634-3BA67D45B98C}")
# The key the actions register is the one the installed manifest declares.
file(READ "${MANIFEST}" manifest)
string(JSON manifest_key GET "${manifest}" applications 0 app_key)
expect_field(Property OSTREL_APP_KEY 1 "${manifest_key}" "value")
# Per user: ALLUSERS unset, and the summary's word count says no elevation
# is needed (bit 8).
field(all_users Property ALLUSERS 1)
ostrel_expect_same("ALLUSERS" "${all_users}" "(no row)")
execute_process(COMMAND "${MSIINFO}" suminfo "${MSI}" OUTPUT_VARIABLE summary RESULT_VARIABLE status)
if(NOT summary MATCHES "\nSource: ([0-9]+)")
  fail("msiinfo suminfo shows no word count (exit ${status}):\n${summary}")
else()
  math(EXPR no_elevation "${CMAKE_MATCH_1} & 8")
  if(no_elevation EQUAL 0)
    fail("the summary's word count ${CMAKE_MATCH_1} asks for elevation")
  endif()
endif()
if(NOT summary MATCHES "\nTemplate: x64;")
  fail("the summary's template is not x64:\n${summary}")
endif()
# The component's key path is a value under HKCU (root 1), as a per-user
# component's must be (attribute 4: registry key path).
expect_field(Component OstrelFiles 3 4 "attributes")
field(key_path Component OstrelFiles 5)
expect_field(Registry "${key_path}" 1 1 "root")
expect_field(Registry "${key_path}" 4 "[INSTALLDIR]" "value")

# Every older version is upgraded (VersionMax exclusive, attribute 1); a newer
# one stops the install.
row(older Upgrade 6 WIX_UPGRADE_DETECTED)
if(NOT older)
  fail("Upgrade: no row finds older versions")
else()
  list(GET older 1 minimum)
  list(GET older 2 maximum)
  list(GET older 4 attributes)
  ostrel_expect_same("Upgrade: older versions" "${minimum}|${maximum}|${attributes}"
    "|${VERSION}|1")
endif()
row(newer LaunchCondition 0 "NOT WIX_DOWNGRADE_DETECTED")
if(NOT newer)
  fail("LaunchCondition: a newer version installed does not stop the install")
endif()

ostrel_report_failures("ostrel.msi's tables (${MSI})")
message(STATUS "ostrel.msi's tables: passed")
