# Builds the release archive with CPack and checks what is inside: one
# folder holding exactly the command as built, the licence, the README's
# section on the command, and the C interface: the DLL and its import
# library as built, ostrel.h and ostrel.def.
#
#   cmake -DBUILD_DIR= -DARCHIVE= -DCOMMAND= -DLICENSE= -DREADME= -DWORK=
#         -DC_LIBRARY= -DC_IMPORT_LIBRARY= -DC_HEADER= -DC_DEF=
#         -P CheckReleaseArchive.cmake

foreach(required BUILD_DIR ARCHIVE COMMAND LICENSE README WORK C_LIBRARY C_IMPORT_LIBRARY C_HEADER
    C_DEF)
  if(NOT ${required})
    message(FATAL_ERROR "${required} not set")
  endif()
endforeach()

file(REMOVE "${ARCHIVE}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
get_filename_component(cmake_bin "${CMAKE_COMMAND}" DIRECTORY)
find_program(CPACK cpack HINTS "${cmake_bin}" NO_DEFAULT_PATH)
if(NOT CPACK)
  find_program(CPACK cpack REQUIRED)
endif()
execute_process(COMMAND "${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake"
  WORKING_DIRECTORY "${BUILD_DIR}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT EXISTS "${ARCHIVE}")
  message(FATAL_ERROR "cpack failed (${status}), or wrote no ${ARCHIVE}:\n${out}\n${err}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${ARCHIVE}"
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${ARCHIVE}")
endif()

get_filename_component(top "${ARCHIVE}" NAME_WLE)
get_filename_component(command_name "${COMMAND}" NAME)
set(expected "${top}/LICENSE" "${top}/README.md" "${top}/${command_name}")
set(copies "${COMMAND}|${command_name}" "${LICENSE}|LICENSE")
foreach(file C_LIBRARY C_IMPORT_LIBRARY C_HEADER C_DEF)
  get_filename_component(name "${${file}}" NAME)
  list(APPEND expected "${top}/${name}")
  list(APPEND copies "${${file}}|${name}")
endforeach()
file(GLOB_RECURSE unpacked RELATIVE "${WORK}" "${WORK}/*")
list(SORT unpacked)
list(SORT expected)
set(failures "")
if(NOT unpacked STREQUAL expected)
  string(APPEND failures "  archive holds: ${unpacked}\n  expected:      ${expected}\n")
else()
  foreach(pair IN LISTS copies)
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 original)
    list(GET pair 1 name)
    file(SHA256 "${original}" want)
    file(SHA256 "${WORK}/${top}/${name}" got)
    if(NOT want STREQUAL got)
      string(APPEND failures "  ${name} differs from ${original}\n")
    endif()
  endforeach()

  # The README's section on the command, whole, and nothing else of it.
  file(READ "${WORK}/${top}/README.md" readme)
  file(READ "${README}" full)
  string(REGEX MATCH "\n(## Usage: ostrel-register\n.*)" section "${full}")
  set(section "${CMAKE_MATCH_1}")
  string(FIND "${section}" "\n## " next)
  string(SUBSTRING "${section}" 0 ${next} section)
  if(NOT readme MATCHES "^# ostrel-register [0-9]+\\.[0-9]+\\.[0-9]+\n\n")
    string(APPEND failures "  README.md does not start with the command's name and version\n")
  endif()
  string(FIND "${readme}" "${section}" at)
  if(section STREQUAL "" OR at EQUAL -1)
    string(APPEND failures "  README.md lacks the README's section on the command\n")
  endif()
  string(REGEX MATCHALL "\n## " headings "${readme}")
  list(LENGTH headings heading_count)
  if(NOT heading_count EQUAL 1)
    string(APPEND failures "  README.md holds ${heading_count} sections, expected 1\n")
  endif()
  if(NOT readme MATCHES "\\| 69 \\|")
    string(APPEND failures "  README.md lacks the exit status table\n")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "release archive ${ARCHIVE}:\n${failures}")
endif()
message(STATUS "release archive ${ARCHIVE}: ${unpacked}")
