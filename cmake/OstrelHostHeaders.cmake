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

# ostrel_find_header_library(<name> PACKAGE <cmake package> VERSION <min>
#   IMPORTED <imported target> FOLDER <host folder> HEADER <file in it>
#   DEBIAN <package>)
# Defines ostrel::<name>: the installed CMake package natively, else (and
# always in a cross build) <host folder> exposed on its own. The folder can be
# overridden with the cache variable OSTREL_<NAME>_DIR.
function(ostrel_find_header_library name)
  cmake_parse_arguments(ARG "" "PACKAGE;VERSION;IMPORTED;FOLDER;HEADER;DEBIAN" "" ${ARGN})
  if(TARGET ostrel::${name})
    return()
  endif()
  string(TOUPPER "OSTREL_${name}_DIR" dir_variable)
  set(${dir_variable} "${ARG_FOLDER}" CACHE PATH
    "Host folder holding ${ARG_HEADER}, exposed on its own to cross builds")
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(${ARG_PACKAGE} ${ARG_VERSION} CONFIG QUIET)
  endif()
  if(TARGET ${ARG_IMPORTED})
    add_library(ostrel_${name} INTERFACE)
    target_link_libraries(ostrel_${name} INTERFACE ${ARG_IMPORTED})
  else()
    if(NOT EXISTS "${${dir_variable}}/${ARG_HEADER}")
      message(FATAL_ERROR
        "${ARG_PACKAGE} not found at ${${dir_variable}}; install Debian's "
        "${ARG_DEBIAN} or set ${dir_variable}")
    endif()
    ostrel_host_header_library(ostrel_${name} "${${dir_variable}}")
  endif()
  add_library(ostrel::${name} ALIAS ostrel_${name})
endfunction()

# Defines ostrel::nlohmann_json, Debian's nlohmann-json3-dev (header-only).
function(ostrel_find_nlohmann_json)
  ostrel_find_header_library(nlohmann_json PACKAGE nlohmann_json VERSION 3.10
    IMPORTED nlohmann_json::nlohmann_json FOLDER /usr/include/nlohmann HEADER json.hpp
    DEBIAN nlohmann-json3-dev)
endfunction()
