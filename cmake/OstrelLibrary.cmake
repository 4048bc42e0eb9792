# ostrel_add_library(): the one way a library of this project is declared.
#
#   ostrel_add_library(<name>
#     [PACKAGE <export name> | INTERNAL <export name>] [FOLDER <folder>]
#     SOURCES <file>...
#     [PUBLIC_DEPS <target>...] [PRIVATE_DEPS <target>...])
#
# Defines the static library ostrel_<name> and its alias ostrel::<name> (an
# interface library when SOURCES holds headers only). Its
# folder (FOLDER, relative to the calling CMakeLists; by default the calling
# folder itself) holds include/, its public include folder, and src/, its
# private one, when there are such folders. Sources are named relative to the
# calling CMakeLists. Warnings and sanitizers are applied as
# to every target (ostrel_configure_target). OSTREL_<NAME>_SOURCES is set to
# its sources with full paths, for builds that compile them again with other
# flags (the fuzzers).
#
# PACKAGE puts it in the installed CMake package as ostrel::<export name>,
# with its include folder's headers; INTERNAL puts only its archive there
# (a static library's link dependency that is no API), leaving its headers
# behind. The install rules (OstrelInstall.cmake) read both lists; nothing
# else decides what is installed.

include_guard(GLOBAL)

function(ostrel_add_library name)
  cmake_parse_arguments(ARG "" "PACKAGE;INTERNAL;FOLDER" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "ostrel_add_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(ARG_PACKAGE AND ARG_INTERNAL)
    message(FATAL_ERROR "ostrel_add_library(${name}): PACKAGE or INTERNAL, not both")
  endif()
  set(target ostrel_${name})
  set(folder "${CMAKE_CURRENT_SOURCE_DIR}")
  if(ARG_FOLDER)
    set(folder "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}")
  endif()
  set(compiled ${ARG_SOURCES})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(compiled)
    add_library(${target} STATIC ${ARG_SOURCES})
    set(public PUBLIC)
  else()
    if(ARG_PRIVATE_DEPS)
      message(FATAL_ERROR "ostrel_add_library(${name}): headers only, so no PRIVATE_DEPS")
    endif()
    add_library(${target} INTERFACE ${ARG_SOURCES})
    set(public INTERFACE)
  endif()
  add_library(ostrel::${name} ALIAS ${target})
  if(IS_DIRECTORY "${folder}/include")
    target_include_directories(${target} ${public}
      $<BUILD_INTERFACE:${folder}/include>)
  endif()
  if(compiled)
    if(IS_DIRECTORY "${folder}/src")
      target_include_directories(${target} PRIVATE ${folder}/src)
    endif()
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
    ostrel_configure_target(${target})
  else()
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_DEPS})
  endif()

  set(sources "")
  foreach(source IN LISTS ARG_SOURCES)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND sources "${source}")
  endforeach()
  string(TOUPPER "${name}" upper)
  set(OSTREL_${upper}_SOURCES "${sources}" PARENT_SCOPE)

  if(ARG_PACKAGE)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${ARG_PACKAGE})
    set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_LIBRARIES ${target})
    if(IS_DIRECTORY "${folder}/include")
      set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_HEADER_FOLDERS
        "${folder}/include")
    endif()
  elseif(ARG_INTERNAL)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${ARG_INTERNAL})
    set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_LIBRARIES ${target})
  endif()
endfunction()
