# The Windows archive: exactly what it should hold; ostrel.lib an import
# library in the format of MSVC's lib.exe (not mingw-w64's renamed), which
# an MSVC-style link (clang for the MSVC target, lld-link) takes; and a
# mingw-w64 CMake project that uses the unpacked archive alone (ostrel::c),
# run under Wine through the package steps.
#
#   cmake -DSOURCE_DIR= -DDIST= -DVERSION= -DTESTS= -DWORK= -DLOADER= -DGENERATOR=
#         -DTOOLCHAIN= -DEMULATOR= -DREADOBJ= -DCLANG= -DLLD_LINK= -DDLLTOOL=
#         -P CheckWindowsArchive.cmake

cmake_minimum_required(VERSION 3.25)
include(${TESTS}/PackageTest.cmake)
ostrel_require_variables(SOURCE_DIR DIST VERSION WORK LOADER GENERATOR TOOLCHAIN EMULATOR READOBJ
  CLANG LLD_LINK DLLTOOL)

set(top "ostrel-${VERSION}-win64")
ostrel_unpack("${DIST}/${top}.zip" "${WORK}/unpacked")
set(root "${WORK}/unpacked/${top}")
set(failures "")

# --- what it holds ---------------------------------------------------------------

set(expected LICENSE README.md bin/ostrel.dll bin/ostrel-register.exe include/ostrel.h
  lib/ostrel.lib lib/libostrel.dll.a lib/ostrel.def
  lib/cmake/ostrel/ostrelConfig.cmake lib/cmake/ostrel/ostrelConfigVersion.cmake
  share/doc/ostrel/LICENSE bindings/csharp/Ostrel.cs
  bindings/python/ostrel/__init__.py bindings/python/ostrel/_native.py)
list(TRANSFORM expected PREPEND "${top}/")
ostrel_expect_files("${WORK}/unpacked" ${expected})
foreach(program bin/ostrel.dll bin/ostrel-register.exe)
  ostrel_expect_magic("${root}/${program}" 4d5a)  # "MZ"
endforeach()
foreach(copy "include/ostrel.h|capi/include/ostrel.h" "lib/ostrel.def|capi/ostrel.def"
    "bindings/csharp/Ostrel.cs|bindings/csharp/Ostrel.cs"
    "bindings/python/ostrel/__init__.py|bindings/python/ostrel/__init__.py")
  string(REPLACE "|" ";" copy "${copy}")
  list(GET copy 0 packed)
  list(GET copy 1 original)
  file(SHA256 "${SOURCE_DIR}/${original}" want)
  file(SHA256 "${root}/${packed}" got)
  ostrel_expect_same("${packed}, the same as ${original}" "${got}" "${want}")
endforeach()
ostrel_expect_text("${root}/README.md" "# ostrel ${VERSION} for 64-bit Windows"
  "find_package(ostrel 1.0 CONFIG REQUIRED)" "target_link_libraries(app PRIVATE ostrel::c)"
  "ostrel.lib" "TARGET_RUNTIME_DLLS")

# The package defines the C interface and nothing built by GCC: one
# imported target, the shared library, no static library.
file(READ "${root}/lib/cmake/ostrel/ostrelConfig.cmake" config)
string(REGEX MATCHALL "add_library\\([^)]*\\)" defined "${config}")
ostrel_expect_same("targets the package defines" "${defined}" "add_library(ostrel::c SHARED IMPORTED)")
ostrel_expect_text("${root}/lib/cmake/ostrel/ostrelConfig.cmake" "lib/ostrel.lib" "bin/ostrel.dll")

# --- ostrel.lib: an import library as lib.exe writes it ---------------------------------

# Every export of ostrel.def is a short import member naming ostrel.dll and
# its __imp_ symbol; mingw-w64's import library holds objects instead.
file(STRINGS "${root}/lib/ostrel.def" def_lines REGEX "^    ostrel_")
list(TRANSFORM def_lines STRIP)
ostrel_run("llvm-readobj ostrel.lib" "${READOBJ}" "${root}/lib/ostrel.lib")
string(REGEX MATCHALL "File: ostrel\\.dll\nFormat: COFF-import-file[^\n]*\nType: code\nName type: [a-z]+\nSymbol: __imp_[A-Za-z0-9_]+"
  imports "${run_out}")
set(imported "")
foreach(member IN LISTS imports)
  string(REGEX MATCH "__imp_([A-Za-z0-9_]+)" _ "${member}")
  list(APPEND imported "${CMAKE_MATCH_1}")
endforeach()
list(SORT imported)
list(SORT def_lines)
ostrel_expect_same("functions ostrel.lib imports from ostrel.dll" "${imported}" "${def_lines}")
ostrel_run("llvm-readobj libostrel.dll.a" "${READOBJ}" "${root}/lib/libostrel.dll.a")
string(FIND "${run_out}" "COFF-import-file" at)
if(NOT at EQUAL -1)
  string(APPEND failures "  libostrel.dll.a is not mingw-w64's own import library\n")
endif()

# An MSVC-style link: an object of the MSVC target, linked by lld-link (which
# reads import libraries as MSVC's link.exe does) against ostrel.lib alone,
# with neither C run-time nor mingw-w64 library; run, it prints the version.
set(msvc "${WORK}/msvc")
file(REMOVE_RECURSE "${msvc}")
file(MAKE_DIRECTORY "${msvc}")
file(WRITE "${msvc}/probe.c" [=[
#include <ostrel.h>

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);

void __stdcall start(void) {
  const char* version = ostrel_version();
  unsigned long length = 0, written = 0;
  while (version[length] != '\0') ++length;
  WriteFile(GetStdHandle((unsigned long)-11), version, length, &written, 0);
  ExitProcess(0);
}
]=])
file(WRITE "${msvc}/kernel32.def" "LIBRARY kernel32.dll\nEXPORTS\n    ExitProcess\n    GetStdHandle\n    WriteFile\n")
ostrel_run("the kernel32 import library" "${DLLTOOL}" -m i386:x86-64 -d "${msvc}/kernel32.def"
  -l "${msvc}/kernel32.lib")
ostrel_run("clang for the MSVC target" "${CLANG}" --target=x86_64-pc-windows-msvc -O0 -ffreestanding
  -fno-stack-protector "-I${root}/include" -c "${msvc}/probe.c" -o "${msvc}/probe.obj")
ostrel_run("lld-link against ostrel.lib" "${LLD_LINK}" /nologo /entry:start /subsystem:console
  /nodefaultlib "/out:${msvc}/probe.exe" "${msvc}/probe.obj" "${root}/lib/ostrel.lib"
  "${msvc}/kernel32.lib")
file(COPY "${root}/bin/ostrel.dll" DESTINATION "${msvc}")
ostrel_run_program(probe "${msvc}" "${msvc}/probe.exe")
ostrel_expect_status(probe 0)
ostrel_expect_same("the MSVC-linked program's output" "${probe_out}" "${VERSION}")

# The command runs from the archive.
ostrel_run_program(command "${root}" "${root}/bin/ostrel-register.exe" --version)
ostrel_expect_status(command 0)
string(FIND "${command_out}" "${VERSION}" at)
if(at EQUAL -1)
  string(APPEND failures "  ostrel-register --version: '${command_out}'\n")
endif()
ostrel_report_failures("Windows archive ${top}.zip")

# --- a mingw-w64 CMake project that uses it alone -----------------------------------------

# The cross toolchain finds packages below its own root only, so the package
# folder is named, as a cross-building consumer names it.
set(consumer "${WORK}/consumer")
file(REMOVE_RECURSE "${consumer}")
ostrel_run("configuring the consumer" ${CMAKE_COMMAND} -S "${TESTS}/c" -B "${consumer}"
  -G "${GENERATOR}" "-DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}" "-Dostrel_DIR=${root}/lib/cmake/ostrel"
  "-DCLIENT_SOURCE=${SOURCE_DIR}/capi/tests/ostrel_c_client.c")
ostrel_run("building the consumer" ${CMAKE_COMMAND} --build "${consumer}")
if(NOT EXISTS "${consumer}/ostrel.dll")
  message(FATAL_ERROR "the consumer's build did not copy ostrel.dll beside it")
endif()
ostrel_package_scenario("the Windows archive's C consumer (under Wine)" "${consumer}/ostrel_c_client.exe")
