# Header-only libraries taken from the build host.
#
# A native build finds them as usual. A cross build must not see the host's
# /usr/include (its C library headers would be mixed into Windows binaries),
# so it gets an include folder in the build tree that holds nothing but a
# symbolic link to the one library's folder.

include_guard(GLOBAL)

# ostrel_host_header_library(<target> <host folder>)
# Defines the INTERFACE target <target> whose include folder exposes exactly
# <host folder>, under its own name: /usr/include/nlohmann becomes reachable
# as <nlohmann/...>.
function(ostrel_host_header_library target host_folder)
  if(NOT IS_DIRECTORY "${host_folder}")
    message(FATAL_ERROR "${target}: header folder ${host_folder} not found")
  endif()
  get_filename_component(_name "${host_folder}" NAME)
  set(_include "${CMAKE_BINARY_DIR}/_hostheaders/${target}")
  file(MAKE_DIRECTORY "${_include}")
  file(CREATE_LINK "${host_folder}" "${_include}/${_name}" SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE "$<BUILD_INTERFACE:${_include}>")
endfunction()

# Defines ostrel::nlohmann_json, Debian's nlohmann-json3-dev (header-only).
function(ostrel_find_nlohmann_json)
  if(TARGET ostrel::nlohmann_json)
    return()
  endif()
  set(OSTREL_NLOHMANN_JSON_DIR "/usr/include/nlohmann" CACHE PATH
    "Host folder holding nlohmann/json.hpp, exposed on its own to cross builds")
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(nlohmann_json 3.10 CONFIG QUIET)
  endif()
  if(TARGET nlohmann_json::nlohmann_json)
    add_library(ostrel_nlohmann_json INTERFACE)
    target_link_libraries(ostrel_nlohmann_json INTERFACE nlohmann_json::nlohmann_json)
  else()
    if(NOT EXISTS "${OSTREL_NLOHMANN_JSON_DIR}/json.hpp")
      message(FATAL_ERROR
        "nlohmann-json not found at ${OSTREL_NLOHMANN_JSON_DIR}; install Debian's "
        "nlohmann-json3-dev or set OSTREL_NLOHMANN_JSON_DIR")
    endif()
    ostrel_host_header_library(ostrel_nlohmann_json "${OSTREL_NLOHMANN_JSON_DIR}")
  endif()
  add_library(ostrel::nlohmann_json ALIAS ostrel_nlohmann_json)
endfunction()
