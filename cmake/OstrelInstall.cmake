# Install rules, the exported CMake package `ostrel`, and the release archive.
#
# Included from the top-level CMakeLists after every library is defined; it
# names the targets and leaves their own CMakeLists alone.
#
#   cmake --install <build> --prefix <folder>
#
# installs, in the component "development", the public headers, the static
# libraries and lib/cmake/ostrel/ (ostrelConfig.cmake, its version file and
# the exported targets), and in the component "command" bin/ostrel-register
# and the licence. A consumer then writes
#
#   find_package(ostrel 1.0 CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE ostrel::startup)
#
# and gets ostrel::startup (the start-up call), ostrel::registration (what
# the runtime and its files say about a key, and the repair), ostrel::doctor
# (every registration judged, dead entries removed), ostrel::runtimeregistry (reading the runtime's files), ostrel::manifestcheck
# (the manifest check), ostrel::openvr (the OpenVR adapter), ostrel::steamvr
# (the seam and the registrar) and ostrel::logging, each with its
# include folder, C++20 and its link dependencies; and ostrel::c, the C
# interface (ostrel.h and the shared library, with a pkg-config file
# natively, ostrel.def beside the import library on Windows).
#
# The platform layer stays private: none of its headers is installed. The
# libraries are static, so its archive is still needed at link time; it is
# exported as ostrel::internal_platform, without an include folder, for the
# public targets to name among their link dependencies. It is no API. The
# same holds for the text rules the platform layer decodes UTF-8 with,
# exported as ostrel::internal_text.

include_guard(GLOBAL)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(OSTREL_SANITIZE)
  message(STATUS "ostrel: the installed package of a sanitizer build needs "
    "-fsanitize=${OSTREL_SANITIZE} when its consumer links")
endif()

set(OSTREL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ostrel" CACHE STRING
  "Where the ostrel CMake package configuration is installed, below the prefix")
set(OSTREL_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/ostrel" CACHE STRING
  "Where the licence is installed, below the prefix")

# What goes in the package is what the libraries declared (ostrel_add_library
# with PACKAGE or INTERNAL): their archives, and the include folders of the
# public ones. Each library has an include folder of its own, so a folder's
# headers are exactly its library's.
get_property(_ostrel_exported_libraries GLOBAL PROPERTY OSTREL_PACKAGE_LIBRARIES)
get_property(_ostrel_header_folders GLOBAL PROPERTY OSTREL_PACKAGE_HEADER_FOLDERS)
foreach(_target IN LISTS _ostrel_exported_libraries)
  target_include_directories(${_target} INTERFACE
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
endforeach()

install(TARGETS ${_ostrel_exported_libraries}
  EXPORT ostrelTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
foreach(_folder IN LISTS _ostrel_header_folders)
  install(DIRECTORY "${_folder}/"
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
    COMPONENT development
    FILES_MATCHING PATTERN "*.h")
endforeach()

# The C interface: a shared library with one header, ostrel.h, at the top of
# the include folder; exported as ostrel::c. Its static libraries are inside
# it, so it names no link dependency.
set_target_properties(ostrel_c PROPERTIES EXPORT_NAME c)
target_include_directories(ostrel_c INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS ostrel_c
  EXPORT ostrelTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/capi/include/ostrel.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
if(WIN32)
  # Beside the import library: MSVC users make their .lib from it (lib /def).
  install(FILES ${PROJECT_SOURCE_DIR}/capi/ostrel.def
    DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
else()
  # pkg-config for build systems without CMake; relative to where it lies,
  # so the package can be installed under any prefix.
  set(OSTREL_PC_PREFIX "\${pcfiledir}")
  string(REPLACE "/" ";" _ostrel_pc_levels "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
  foreach(_level IN LISTS _ostrel_pc_levels)
    string(APPEND OSTREL_PC_PREFIX "/..")
  endforeach()
  configure_file(${PROJECT_SOURCE_DIR}/capi/ostrel.pc.in ${CMAKE_BINARY_DIR}/ostrel.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/ostrel.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endif()

install(EXPORT ostrelTargets
  NAMESPACE ostrel::
  FILE ostrelTargets.cmake
  DESTINATION ${OSTREL_INSTALL_CMAKEDIR}
  COMPONENT development)
configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/ostrelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/ostrelConfig.cmake
  INSTALL_DESTINATION ${OSTREL_INSTALL_CMAKEDIR}
  NO_SET_AND_CHECK_MACRO
  NO_CHECK_REQUIRED_COMPONENTS_MACRO)
write_basic_package_version_file(
  ${CMAKE_BINARY_DIR}/ostrelConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_BINARY_DIR}/ostrelConfig.cmake
    ${CMAKE_BINARY_DIR}/ostrelConfigVersion.cmake
  DESTINATION ${OSTREL_INSTALL_CMAKEDIR}
  COMPONENT development)

install(TARGETS ostrel-register RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT command)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${OSTREL_INSTALL_DOCDIR} COMPONENT command)

# --- the C interface's own package (component "c-package") -------------------
#
# What the release archives of the C interface hold (scripts/package.sh):
#
#   cmake --install <build> --component c-package --prefix <folder>
#
# lays out the shared library, ostrel.h and a CMake package that defines
# ostrel::c alone, from the library and the header only: no static library
# built by this compiler, so an MSVC project (or any other C compiler's) can
# use it as it is. On Windows the prefix gets bin/ostrel.dll and in lib/ both
# import libraries: libostrel.dll.a for mingw-w64, ostrel.lib for MSVC's
# linker (made from ostrel.def by llvm-dlltool, as lib.exe /def would make
# it), and ostrel.def; on Linux libostrel.so.1 with its links and ostrel.pc.
# Left out of a plain `cmake --install`.
set(_ostrel_c_component COMPONENT c-package EXCLUDE_FROM_ALL)
install(TARGETS ostrel_c
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} ${_ostrel_c_component}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} ${_ostrel_c_component}
    NAMELINK_COMPONENT c-package
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} ${_ostrel_c_component})
install(FILES ${PROJECT_SOURCE_DIR}/capi/include/ostrel.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${_ostrel_c_component})
if(WIN32)
  find_program(OSTREL_DLLTOOL NAMES llvm-dlltool llvm-dlltool-14
    DOC "llvm-dlltool, which makes ostrel.lib (the import library MSVC's linker reads) from ostrel.def")
  set(_ostrel_msvc_import_library ${CMAKE_BINARY_DIR}/msvc/ostrel.lib)
  if(OSTREL_DLLTOOL)
    add_custom_command(OUTPUT ${_ostrel_msvc_import_library}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/msvc
      COMMAND ${OSTREL_DLLTOOL} -m i386:x86-64 -d ${PROJECT_SOURCE_DIR}/capi/ostrel.def
        -l ${_ostrel_msvc_import_library}
      DEPENDS ${PROJECT_SOURCE_DIR}/capi/ostrel.def
      COMMENT "Making ostrel.lib, the import library for MSVC, from ostrel.def")
    add_custom_target(ostrel_msvc_import_library ALL DEPENDS ${_ostrel_msvc_import_library})
    install(FILES ${_ostrel_msvc_import_library}
      DESTINATION ${CMAKE_INSTALL_LIBDIR} ${_ostrel_c_component})
  else()
    install(CODE "message(FATAL_ERROR \"ostrel.lib cannot be made: llvm-dlltool not found \"
      \"(Debian's llvm package; or set OSTREL_DLLTOOL)\")" ${_ostrel_c_component})
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/capi/ostrel.def
    DESTINATION ${CMAKE_INSTALL_LIBDIR} ${_ostrel_c_component})
else()
  install(FILES ${CMAKE_BINARY_DIR}/ostrel.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig ${_ostrel_c_component})
endif()

# Its package configuration: every path found from the file's own place, so
# the archive works wherever it is unpacked.
set(OSTREL_C_PACKAGE_PREFIX "\${CMAKE_CURRENT_LIST_DIR}")
string(REPLACE "/" ";" _ostrel_cmake_levels "${OSTREL_INSTALL_CMAKEDIR}")
foreach(_level IN LISTS _ostrel_cmake_levels)
  string(APPEND OSTREL_C_PACKAGE_PREFIX "/..")
endforeach()
# What links the consumer: on Windows the import library its toolchain reads
# (mingw-w64's own, or the one in the format of MSVC's lib.exe for every
# other toolchain), elsewhere the library under its SONAME.
if(WIN32)
  set(OSTREL_C_PACKAGE_LIBRARY "${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:ostrel_c>")
  set(OSTREL_C_PACKAGE_LINKING [=[
  # The import library this toolchain's linker reads: mingw-w64's own, or the
  # one in the format of MSVC's lib.exe (MSVC, clang-cl, ...).
  if(MINGW)
    set_target_properties(ostrel::c PROPERTIES
      IMPORTED_IMPLIB "${_ostrel_prefix}/@CMAKE_INSTALL_LIBDIR@/$<TARGET_LINKER_FILE_NAME:ostrel_c>")
  else()
    set_target_properties(ostrel::c PROPERTIES
      IMPORTED_IMPLIB "${_ostrel_prefix}/@CMAKE_INSTALL_LIBDIR@/ostrel.lib")
  endif()]=])
else()
  set(OSTREL_C_PACKAGE_LIBRARY "${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:ostrel_c>")
  set(OSTREL_C_PACKAGE_LINKING [=[
  set_target_properties(ostrel::c PROPERTIES IMPORTED_SONAME "$<TARGET_SONAME_FILE_NAME:ostrel_c>")]=])
endif()
string(CONFIGURE "${OSTREL_C_PACKAGE_LINKING}" OSTREL_C_PACKAGE_LINKING @ONLY)
file(READ ${CMAKE_CURRENT_LIST_DIR}/ostrelCConfig.cmake.in _ostrel_c_config)
string(CONFIGURE "${_ostrel_c_config}" _ostrel_c_config @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/c-package/ostrelConfig.cmake CONTENT "${_ostrel_c_config}")
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/ostrelCConfig.cmake.in)
write_basic_package_version_file(
  ${CMAKE_BINARY_DIR}/c-package/ostrelConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_BINARY_DIR}/c-package/ostrelConfig.cmake
    ${CMAKE_BINARY_DIR}/c-package/ostrelConfigVersion.cmake
  DESTINATION ${OSTREL_INSTALL_CMAKEDIR} ${_ostrel_c_component})

# --- the release archive ----------------------------------------------------
#
# `cpack` in the build folder writes ostrel-register-<version>-<system>.zip:
# one folder holding the command, README.md (the README's section on the
# command) and LICENSE; on Windows also ostrel.dll, its import library,
# ostrel.h and ostrel.def. Its component "release" is left out of a plain
# `cmake --install`, which lays the same files out by GNU conventions.

set(_ostrel_readme "${PROJECT_SOURCE_DIR}/README.md")
set(_ostrel_readme_heading "## Usage: ostrel-register")
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_ostrel_readme}")
file(READ "${_ostrel_readme}" _readme)
string(FIND "${_readme}" "\n${_ostrel_readme_heading}\n" _start)
if(_start EQUAL -1)
  message(FATAL_ERROR "README.md has no section \"${_ostrel_readme_heading}\" for the release archive")
endif()
math(EXPR _start "${_start} + 1")
string(SUBSTRING "${_readme}" ${_start} -1 _section)
string(FIND "${_section}" "\n## " _end)
if(NOT _end EQUAL -1)
  math(EXPR _end "${_end} + 1")
  string(SUBSTRING "${_section}" 0 ${_end} _section)
endif()
set(OSTREL_RELEASE_README "${CMAKE_BINARY_DIR}/release/README.md")
file(CONFIGURE OUTPUT "${OSTREL_RELEASE_README}"
  CONTENT "# ostrel-register ${PROJECT_VERSION}\n\n${_section}" @ONLY)

install(TARGETS ostrel-register RUNTIME DESTINATION . COMPONENT release EXCLUDE_FROM_ALL)
if(WIN32)
  # The C interface for applications built with any compiler: the DLL, its
  # header, its .def file and the import library.
  install(TARGETS ostrel_c
    RUNTIME DESTINATION . COMPONENT release EXCLUDE_FROM_ALL
    ARCHIVE DESTINATION . COMPONENT release EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_SOURCE_DIR}/capi/include/ostrel.h ${PROJECT_SOURCE_DIR}/capi/ostrel.def
    DESTINATION . COMPONENT release EXCLUDE_FROM_ALL)
endif()
install(FILES "${OSTREL_RELEASE_README}" ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION . COMPONENT release EXCLUDE_FROM_ALL)

if(WIN32)
  set(_ostrel_release_system win64)
else()
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" _ostrel_release_system)
endif()
set(CPACK_PACKAGE_NAME ostrel-register)
set(CPACK_PACKAGE_VENDOR "The Ostrel developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Registers an application with the SteamVR runtime")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(_ostrel_release_name ostrel-register-${PROJECT_VERSION}-${_ostrel_release_system})
set(CPACK_PACKAGE_FILE_NAME ${_ostrel_release_name})
set(CPACK_GENERATOR ZIP)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
# Named from our own variable: CPack's module leaves its own changed.
set(OSTREL_RELEASE_ARCHIVE "${CMAKE_BINARY_DIR}/release/${_ostrel_release_name}.zip")
