# Writes every package of a release into DIST from a native (Linux) build
# and a Windows (mingw-w64) build of the same source:
#
#   ostrel-<version>-win64.zip             the C interface for Visual Studio and
#                                          mingw-w64 projects, the command, the
#                                          C# file and the Python module
#   ostrel-<version>-linux-x86_64.tar.gz   the C interface and the command
#   Ostrel.<version>.nupkg                 the C# binding, both native libraries
#   ostrel-<version>-py3-none-linux_x86_64.whl, ...-win_amd64.whl
#   ostrel-<version>.crate                 the Rust crate
#   SHA256SUMS
#
#   cmake -DSOURCE_DIR= -DNATIVE_BUILD= -DWINDOWS_BUILD= -DDIST= -DWORK=
#         -DPYTHON= -DMCS= -DCARGO= -P MakePackages.cmake
#
# The builds must have built ostrel_c and ostrel-register (and, for Windows,
# ostrel_msvc_import_library); scripts/package.sh sees to that. PYTHON is a
# Python 3 with the build, setuptools and wheel modules (Debian's python3 with
# python3-build), MCS mono's C# compiler with the 4.6.1 reference assemblies
# (mono-devel), CARGO any cargo.

cmake_minimum_required(VERSION 3.25)
foreach(required SOURCE_DIR NATIVE_BUILD WINDOWS_BUILD DIST WORK PYTHON MCS CARGO)
  if(NOT ${required})
    message(FATAL_ERROR "${required} not set")
  endif()
endforeach()

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

# run_in(<folder> <what> <command>...): run, in <folder>.
function(run_in folder what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${folder}"
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
endfunction()

# --- one version everywhere --------------------------------------------------------

# The project's version is the one home of the number; the two builds and
# the bindings' own manifests must carry it.
function(build_version variable build)
  file(STRINGS "${build}/CMakeCache.txt" line REGEX "^CMAKE_PROJECT_VERSION:STATIC=")
  string(REGEX REPLACE "^[^=]*=" "" value "${line}")
  if(value STREQUAL "")
    message(FATAL_ERROR "${build} is not a configured build of this project (no CMAKE_PROJECT_VERSION)")
  endif()
  set(${variable} "${value}" PARENT_SCOPE)
endfunction()
build_version(VERSION "${NATIVE_BUILD}")
build_version(windows_version "${WINDOWS_BUILD}")
if(NOT windows_version STREQUAL VERSION)
  message(FATAL_ERROR "the native build is version ${VERSION}, the Windows build ${windows_version}")
endif()
foreach(manifest bindings/rust/Cargo.toml bindings/python/pyproject.toml)
  file(STRINGS "${SOURCE_DIR}/${manifest}" line REGEX "^version = ")
  if(NOT line STREQUAL "version = \"${VERSION}\"")
    message(FATAL_ERROR "${manifest} says ${line}; the project's version is ${VERSION}: "
      "change it there too")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}" "${DIST}")
set(made "")

# pack(<archive> <folder> zip|gnutar <entry>...): the entries of <folder>
# into <archive> (a ZIP, or a gzipped tar), their modification times the
# commit's when SOURCE_DATE_EPOCH says so.
function(pack archive folder format)
  if(format STREQUAL "zip")
    set(flags cf)
  else()
    set(flags czf)
  endif()
  set(options "--format=${format}")
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    list(APPEND options "--mtime=@$ENV{SOURCE_DATE_EPOCH}")
  endif()
  file(REMOVE "${archive}")
  run_in("${folder}" "packing ${archive}"
    ${CMAKE_COMMAND} -E tar ${flags} "${archive}" ${options} -- ${ARGN})
endfunction()

# --- the installed C interface and command of each build ------------------------------

foreach(platform native windows)
  string(TOUPPER "${platform}_BUILD" build_variable)
  set(stage "${WORK}/stage-${platform}")
  foreach(component c-package command)
    run("installing ${component} of ${${build_variable}}" ${CMAKE_COMMAND} --install
      "${${build_variable}}" --prefix "${stage}" --component ${component} --strip)
  endforeach()
endforeach()
set(linux_stage "${WORK}/stage-native")
set(windows_stage "${WORK}/stage-windows")
file(GLOB linux_library LIST_DIRECTORIES false "${linux_stage}/lib/libostrel.so.*.*.*")
if(NOT linux_library OR NOT EXISTS "${windows_stage}/bin/ostrel.dll")
  message(FATAL_ERROR "the builds installed no libostrel.so.<version> or ostrel.dll")
endif()

# README for an archive: the template for its platform, with the version.
function(archive_readme template destination)
  file(READ "${template}" text)
  string(CONFIGURE "${text}" text @ONLY)
  file(WRITE "${destination}" "${text}")
endfunction()

# --- the Windows archive ---------------------------------------------------------------

set(windows_name "ostrel-${VERSION}-win64")
set(top "${WORK}/zip/${windows_name}")
file(COPY "${windows_stage}/" DESTINATION "${top}")
file(COPY "${SOURCE_DIR}/bindings/csharp/Ostrel.cs" DESTINATION "${top}/bindings/csharp")
file(COPY "${SOURCE_DIR}/bindings/python/ostrel" DESTINATION "${top}/bindings/python"
  PATTERN "__pycache__" EXCLUDE)
file(COPY "${SOURCE_DIR}/LICENSE" DESTINATION "${top}")
archive_readme("${CMAKE_CURRENT_LIST_DIR}/archive/README-windows.md.in" "${top}/README.md")
pack("${DIST}/${windows_name}.zip" "${WORK}/zip" zip "${windows_name}")
list(APPEND made "${windows_name}.zip")

# --- the Linux archive -----------------------------------------------------------------

set(linux_name "ostrel-${VERSION}-linux-x86_64")
set(top "${WORK}/tar/${linux_name}")
# Copied with its links, libostrel.so -> libostrel.so.1 -> libostrel.so.1.0.0.
file(COPY "${linux_stage}/" DESTINATION "${top}")
file(COPY "${SOURCE_DIR}/LICENSE" DESTINATION "${top}")
archive_readme("${CMAKE_CURRENT_LIST_DIR}/archive/README-linux.md.in" "${top}/README.md")
pack("${DIST}/${linux_name}.tar.gz" "${WORK}/tar" gnutar "${linux_name}")
list(APPEND made "${linux_name}.tar.gz")

# --- NuGet -------------------------------------------------------------------------------

# The managed binding, compiled against .NET Framework 4.6.1's reference
# assemblies (mono-devel's): the framework netstandard2.0 maps to, which
# .NET (Core) projects also take. Mono has no netstandard2.0 reference
# assembly to compile against (its Facades/netstandard.dll forwards to
# mscorlib), so netstandard2.0 itself cannot be built here.
set(nuget "${WORK}/nuget")
set(framework net461)
file(MAKE_DIRECTORY "${nuget}/lib/${framework}")
file(WRITE "${WORK}/AssemblyInfo.cs"
  "// The package's version, written by MakePackages.cmake.\n"
  "[assembly: System.Reflection.AssemblyTitle(\"Ostrel\")]\n"
  "[assembly: System.Reflection.AssemblyVersion(\"${VERSION}.0\")]\n"
  "[assembly: System.Reflection.AssemblyFileVersion(\"${VERSION}.0\")]\n"
  "[assembly: System.Reflection.AssemblyInformationalVersion(\"${VERSION}\")]\n")
# The documentation comments as they are: CS1591 (a public member without
# one) and CS1573 (a parameter without its tag) are not errors.
run("compiling Ostrel.dll" ${MCS} -nologo -target:library -sdk:4.6.1-api -optimize+ -warnaserror
  -nowarn:1591,1573 "-doc:${nuget}/lib/${framework}/Ostrel.xml" "-out:${nuget}/lib/${framework}/Ostrel.dll"
  "${SOURCE_DIR}/bindings/csharp/Ostrel.cs" "${WORK}/AssemblyInfo.cs")
file(MAKE_DIRECTORY "${nuget}/runtimes/win-x64/native" "${nuget}/runtimes/linux-x64/native")
file(COPY_FILE "${windows_stage}/bin/ostrel.dll" "${nuget}/runtimes/win-x64/native/ostrel.dll")
# The file itself, under the name P/Invoke's [DllImport("ostrel")] probes.
file(COPY_FILE "${linux_library}" "${nuget}/runtimes/linux-x64/native/libostrel.so")
file(COPY "${CMAKE_CURRENT_LIST_DIR}/nuget/README.md" DESTINATION "${nuget}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/nuget/Ostrel.nuspec.in" "${nuget}/Ostrel.nuspec" @ONLY)
# The parts every .nupkg has as an Open Packaging Conventions file.
configure_file("${CMAKE_CURRENT_LIST_DIR}/nuget/[Content_Types].xml" "${nuget}/[Content_Types].xml"
  COPYONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/nuget/_rels/.rels" "${nuget}/_rels/.rels" COPYONLY)
# Files only, no folder entries, as NuGet itself packs.
file(GLOB_RECURSE binaries LIST_DIRECTORIES false RELATIVE "${nuget}" "${nuget}/lib/*" "${nuget}/runtimes/*")
list(SORT binaries)
pack("${DIST}/Ostrel.${VERSION}.nupkg" "${nuget}" zip
  "[Content_Types].xml" _rels/.rels Ostrel.nuspec README.md ${binaries})
list(APPEND made "Ostrel.${VERSION}.nupkg")

# --- Python wheels -------------------------------------------------------------------------

# The module with one native library beside it; setup.py tags the wheel by it.
foreach(library "${linux_library}|libostrel.so" "${windows_stage}/bin/ostrel.dll|ostrel.dll")
  string(REPLACE "|" ";" library "${library}")
  list(GET library 0 library_file)
  list(GET library 1 name)
  string(MAKE_C_IDENTIFIER "${name}" tag)
  set(project "${WORK}/wheel-${tag}")
  foreach(part pyproject.toml setup.py README.md)
    file(COPY "${SOURCE_DIR}/bindings/python/${part}" DESTINATION "${project}")
  endforeach()
  file(COPY "${SOURCE_DIR}/bindings/python/ostrel" DESTINATION "${project}"
    PATTERN "__pycache__" EXCLUDE)
  file(COPY_FILE "${library_file}" "${project}/ostrel/${name}")
  set(wheels "${WORK}/wheels-${tag}")
  run_in("${project}" "building the wheel with ${name}" ${PYTHON} -m build --wheel --no-isolation
    --outdir "${wheels}" .)
  file(GLOB wheel "${wheels}/*.whl")
  get_filename_component(wheel_name "${wheel}" NAME)
  file(COPY_FILE "${wheel}" "${DIST}/${wheel_name}")
  list(APPEND made "${wheel_name}")
endforeach()

# --- the Rust crate --------------------------------------------------------------------------

# cargo verifies the packed crate by compiling it (no linking: the library
# is not needed here). --allow-dirty: a release may be made from a tree
# with local changes; the crate records the commit it was made from.
set(ENV{CARGO_TARGET_DIR} "${WORK}/cargo")
run("cargo package" ${CARGO} package --offline --allow-dirty --quiet
  --manifest-path "${SOURCE_DIR}/bindings/rust/Cargo.toml")
file(COPY_FILE "${WORK}/cargo/package/ostrel-${VERSION}.crate" "${DIST}/ostrel-${VERSION}.crate")
list(APPEND made "ostrel-${VERSION}.crate")

# --- checksums -------------------------------------------------------------------------------

set(sums "")
foreach(name IN LISTS made)
  file(SHA256 "${DIST}/${name}" sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE "${DIST}/SHA256SUMS" "${sums}")
list(JOIN made "\n  " listed)
message(STATUS "ostrel ${VERSION}: wrote into ${DIST}:\n  ${listed}\n  SHA256SUMS")
