# ostrel_add_library(): the one way a library of this project is declared.
#
#   ostrel_add_library(<name>
#     [PACKAGE <export name> | INTERNAL <export name>] [FOLDER <folder>]
#     [HEADER_FOLDER <folder>] [HEADERS <file>...]
#     [SOURCES <file>...]
#     [WINDOWS_SOURCES <file>...] [POSIX_SOURCES <file>...]
#     [PUBLIC_DEPS <target>...] [PRIVATE_DEPS <target>...]
#     [WINDOWS_DEPS <target>...] [POSIX_DEPS <target>...])
#
# Defines the static library ostrel_<name> and its alias ostrel::<name> (an
# interface library when it compiles nothing, headers only).
#
# Its folder (FOLDER, relative to the calling CMakeLists; by default the
# calling folder itself) holds include/, its public include folder, and src/,
# its private one, when there are such folders. Files are named relative to
# the folder they live in, which the call does not repeat:
#   HEADERS          its public headers, in <folder>/include/ostrel/<name>/,
#                    or include/ostrel/<HEADER_FOLDER>/ where the library's
#                    headers sit under another name;
#   SOURCES          its sources and private headers, in <folder>/src/, or in
#                    <folder> itself when it has no src/;
#   WINDOWS_SOURCES  beside SOURCES: the files that do on Windows what
#   POSIX_SOURCES    POSIX_SOURCES do everywhere else. The build compiles one
#                    set, so a difference between the systems is one file
#                    each side of one interface, chosen here.
#
# PUBLIC_DEPS and PRIVATE_DEPS are its link dependencies; WINDOWS_DEPS and
# POSIX_DEPS are private ones that only the picked set of files needs (the
# system libraries the Windows files call, say). Warnings and sanitizers are
# applied as to every target (ostrel_configure_target). OSTREL_<NAME>_SOURCES
# is set to every file it was given, the picked platform set included, with
# full paths, for builds that compile them again with other flags (the
# fuzzers).
#
# PACKAGE puts it in the installed CMake package as ostrel::<export name>,
# with its include folder's headers, and records its HEADERS (relative to
# the include folder) in the global property OSTREL_PACKAGE_HEADERS, which
# the package's test compares with what was installed. INTERNAL puts only
# its archive there (a static library's link dependency that is no API),
# leaving its headers behind. The install rules (OstrelInstall.cmake) read
# both lists; nothing else decides what is installed.

include_guard(GLOBAL)

# _ostrel_library_files(<variable> <base folder> <file>...): the files with
# full paths.
function(_ostrel_library_files variable base)
  set(files "")
  foreach(file IN LISTS ARGN)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY "${base}" NORMALIZE)
    list(APPEND files "${file}")
  endforeach()
  set(${variable} "${files}" PARENT_SCOPE)
endfunction()

function(ostrel_add_library name)
  cmake_parse_arguments(ARG "" "PACKAGE;INTERNAL;FOLDER;HEADER_FOLDER"
    "HEADERS;SOURCES;WINDOWS_SOURCES;POSIX_SOURCES;PUBLIC_DEPS;PRIVATE_DEPS;WINDOWS_DEPS;POSIX_DEPS"
    ${ARGN})
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
  set(header_folder "${name}")
  if(ARG_HEADER_FOLDER)
    set(header_folder "${ARG_HEADER_FOLDER}")
  endif()
  if(ARG_HEADERS AND NOT IS_DIRECTORY "${folder}/include/ostrel/${header_folder}")
    message(FATAL_ERROR "ostrel_add_library(${name}): HEADERS, but no folder "
      "${folder}/include/ostrel/${header_folder}")
  endif()
  set(source_folder "${folder}")
  if(IS_DIRECTORY "${folder}/src")
    set(source_folder "${folder}/src")
  endif()

  _ostrel_library_files(headers "${folder}/include/ostrel/${header_folder}" ${ARG_HEADERS})
  _ostrel_library_files(sources "${source_folder}" ${ARG_SOURCES})
  if(WIN32)
    _ostrel_library_files(platform_sources "${source_folder}" ${ARG_WINDOWS_SOURCES})
    set(platform_deps ${ARG_WINDOWS_DEPS})
  else()
    _ostrel_library_files(platform_sources "${source_folder}" ${ARG_POSIX_SOURCES})
    set(platform_deps ${ARG_POSIX_DEPS})
  endif()
  set(all_files ${headers} ${sources} ${platform_sources})

  set(compiled ${all_files})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(compiled)
    add_library(${target} STATIC ${all_files})
    set(public PUBLIC)
  else()
    if(ARG_PRIVATE_DEPS OR platform_deps)
      message(FATAL_ERROR "ostrel_add_library(${name}): headers only, so no private dependencies")
    endif()
    add_library(${target} INTERFACE ${all_files})
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
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS}
      PRIVATE ${ARG_PRIVATE_DEPS} ${platform_deps})
    ostrel_configure_target(${target})
  else()
    target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_DEPS})
  endif()

  string(TOUPPER "${name}" upper)
  set(OSTREL_${upper}_SOURCES "${all_files}" PARENT_SCOPE)

  if(ARG_PACKAGE)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${ARG_PACKAGE})
    set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_LIBRARIES ${target})
    if(IS_DIRECTORY "${folder}/include")
      set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_HEADER_FOLDERS
        "${folder}/include")
    endif()
    foreach(header IN LISTS headers)
      cmake_path(RELATIVE_PATH header BASE_DIRECTORY "${folder}/include")
      set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_HEADERS "${header}")
    endforeach()
  elseif(ARG_INTERNAL)
    set_target_properties(${target} PROPERTIES EXPORT_NAME ${ARG_INTERNAL})
    set_property(GLOBAL APPEND PROPERTY OSTREL_PACKAGE_LIBRARIES ${target})
  endif()
endfunction()

# ostrel_add_version_resource(<target> <description>): on Windows, the
# target's .exe or .dll carries a version resource with the project's
# version, its file name and <description> (cmake/version.rc.in). Elsewhere
# it does nothing.
function(ostrel_add_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(OSTREL_RC_FILE_TYPE VFT_APP)
  elseif(type STREQUAL "SHARED_LIBRARY")
    set(OSTREL_RC_FILE_TYPE VFT_DLL)
  else()
    message(FATAL_ERROR "ostrel_add_version_resource(${target}): not a program or a shared library")
  endif()
  set(OSTREL_RC_DESCRIPTION "${description}")
  # The names as the build writes them, prefix and suffix included.
  set(OSTREL_RC_INTERNAL_NAME "$<TARGET_FILE_BASE_NAME:${target}>")
  set(OSTREL_RC_FILE_NAME "$<TARGET_FILE_NAME:${target}>")
  set(template "${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc.in")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${template}" @ONLY)
  file(GENERATE OUTPUT "${rc}" INPUT "${template}")
  target_sources(${target} PRIVATE "${rc}")
endfunction()
