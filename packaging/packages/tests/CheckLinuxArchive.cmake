# The Linux archive: exactly what it should hold, the library's links,
# relocatable (unpacked, then moved elsewhere before anything uses it: the
# CMake package, ostrel.pc and the command); then a C project that uses it
# alone (ostrel::c) through the package steps.
#
#   cmake -DSOURCE_DIR= -DDIST= -DVERSION= -DTESTS= -DWORK= -DLOADER= -DGENERATOR=
#         -P CheckLinuxArchive.cmake

cmake_minimum_required(VERSION 3.25)
include(${TESTS}/PackageTest.cmake)
ostrel_require_variables(SOURCE_DIR DIST VERSION WORK LOADER GENERATOR)
set(failures "")

set(top "ostrel-${VERSION}-linux-x86_64")
ostrel_unpack("${DIST}/${top}.tar.gz" "${WORK}/unpacked")
set(root "${WORK}/moved/${top}")
file(REMOVE_RECURSE "${WORK}/moved")
file(MAKE_DIRECTORY "${WORK}/moved")
file(RENAME "${WORK}/unpacked/${top}" "${root}")

set(expected LICENSE README.md bin/ostrel-register include/ostrel.h
  lib/libostrel.so lib/libostrel.so.1 "lib/libostrel.so.${VERSION}" lib/pkgconfig/ostrel.pc
  lib/cmake/ostrel/ostrelConfig.cmake lib/cmake/ostrel/ostrelConfigVersion.cmake
  share/doc/ostrel/LICENSE)
ostrel_expect_files("${root}" ${expected})
foreach(link "libostrel.so|libostrel.so.1" "libostrel.so.1|libostrel.so.${VERSION}")
  string(REPLACE "|" ";" link "${link}")
  list(GET link 0 name)
  list(GET link 1 target)
  set(pointed "")
  if(IS_SYMLINK "${root}/lib/${name}")
    file(READ_SYMLINK "${root}/lib/${name}" pointed)
  endif()
  ostrel_expect_same("lib/${name}, a link" "${pointed}" "${target}")
endforeach()
ostrel_expect_magic("${root}/lib/libostrel.so.${VERSION}" 7f454c46)  # "\x7fELF"
ostrel_expect_text("${root}/README.md" "# ostrel ${VERSION} for Linux (x86-64)"
  "target_link_libraries(app PRIVATE ostrel::c)")
file(READ "${root}/lib/cmake/ostrel/ostrelConfig.cmake" config)
string(REGEX MATCHALL "add_library\\([^)]*\\)" defined "${config}")
ostrel_expect_same("targets the package defines" "${defined}" "add_library(ostrel::c SHARED IMPORTED)")
# Nothing names where it was built or unpacked: every path is relative.
foreach(file lib/cmake/ostrel/ostrelConfig.cmake lib/pkgconfig/ostrel.pc)
  file(READ "${root}/${file}" text)
  foreach(place "${SOURCE_DIR}" "${WORK}")
    string(FIND "${text}" "${place}" at)
    if(NOT at EQUAL -1)
      string(APPEND failures "  ${file} names ${place}\n")
    endif()
  endforeach()
endforeach()

# pkg-config finds the moved prefix from the file's own place.
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} "${root}/lib/pkgconfig")
  ostrel_run("pkg-config" "${PKG_CONFIG}" --cflags --libs ostrel)
  string(STRIP "${run_out}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(resolved "")
  foreach(flag IN LISTS flags)
    if(flag MATCHES "^-([IL])(.*)$")
      get_filename_component(folder "${CMAKE_MATCH_2}" ABSOLUTE)
      set(flag "-${CMAKE_MATCH_1}${folder}")
    endif()
    list(APPEND resolved "${flag}")
  endforeach()
  ostrel_expect_same("pkg-config --cflags --libs ostrel" "${resolved}"
    "-I${root}/include;-L${root}/lib;-lostrel")
  ostrel_run("pkg-config --modversion" "${PKG_CONFIG}" --modversion ostrel)
  ostrel_expect_same("pkg-config --modversion ostrel" "${run_out}" "${VERSION}\n")
else()
  message(STATUS "pkg-config not installed: ostrel.pc not read")
endif()

ostrel_run_program(command "${root}" "${root}/bin/ostrel-register" --version)
ostrel_expect_status(command 0)
string(FIND "${command_out}" "${VERSION}" at)
if(at EQUAL -1)
  string(APPEND failures "  ostrel-register --version: '${command_out}'\n")
endif()
ostrel_report_failures("Linux archive ${top}.tar.gz")

# A C project that uses the moved archive alone; the program finds the
# library through the run path CMake gives it.
set(consumer "${WORK}/consumer")
file(REMOVE_RECURSE "${consumer}")
ostrel_run("configuring the consumer" ${CMAKE_COMMAND} -S "${TESTS}/c" -B "${consumer}"
  -G "${GENERATOR}" "-DCMAKE_PREFIX_PATH=${root}"
  "-DCLIENT_SOURCE=${SOURCE_DIR}/capi/tests/ostrel_c_client.c")
ostrel_run("building the consumer" ${CMAKE_COMMAND} --build "${consumer}")
unset(ENV{LD_LIBRARY_PATH})
ostrel_package_scenario("the Linux archive's C consumer" "${consumer}/ostrel_c_client")
