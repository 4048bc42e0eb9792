# The Rust crate: what the .crate holds, then a cargo project of the tests'
# own that depends on the unpacked crate by path, built offline and linked
# against the Linux archive's library (OSTREL_LIB_DIR), through the package
# steps and the misuse the safe interface tells apart; and the crate's
# example, register-at-startup, to the C++ example's output contract.
#
#   cmake -DSOURCE_DIR= -DDIST= -DVERSION= -DTESTS= -DWORK= -DLOADER= -DCARGO=
#         -P CheckCrate.cmake

cmake_minimum_required(VERSION 3.25)
include(${TESTS}/PackageTest.cmake)
ostrel_require_variables(SOURCE_DIR DIST VERSION WORK LOADER CARGO)
set(failures "")

set(crate "${WORK}/crate/ostrel-${VERSION}")
ostrel_unpack("${DIST}/ostrel-${VERSION}.crate" "${WORK}/crate")
foreach(file Cargo.toml build.rs src/lib.rs src/sys.rs examples/register-at-startup.rs README.md)
  if(NOT EXISTS "${crate}/${file}")
    string(APPEND failures "  the crate lacks ${file}\n")
  endif()
endforeach()
file(STRINGS "${crate}/Cargo.toml" package_version REGEX "^version = ")
ostrel_expect_same("the crate's version" "${package_version}" "version = \"${VERSION}\"")
# No dependency on another crate: it builds offline anywhere.
file(READ "${crate}/Cargo.toml" manifest)
string(REGEX MATCHALL "\\[(dev-|build-|target\\.[^]]*\\.)?dependencies[^]]*\\][^[]*" tables "${manifest}")
foreach(table IN LISTS tables)
  string(STRIP "${table}" table)
  if(NOT table MATCHES "^\\[(dev-|build-)?dependencies\\]$")
    string(APPEND failures "  the crate depends on another: ${table}\n")
  endif()
endforeach()
ostrel_report_failures("the crate ostrel-${VERSION}.crate")

# The library to link, from the Linux archive.
set(linux "ostrel-${VERSION}-linux-x86_64")
ostrel_unpack("${DIST}/${linux}.tar.gz" "${WORK}/linux")
set(lib "${WORK}/linux/${linux}/lib")
set(ENV{OSTREL_LIB_DIR} "${lib}")
set(ENV{CARGO_TARGET_DIR} "${WORK}/target")

# A project that depends on it by path, as an application's would.
set(client "${WORK}/client")
file(REMOVE_RECURSE "${client}")
file(COPY "${TESTS}/rust/src" DESTINATION "${client}")
set(CRATE "${crate}")
configure_file("${TESTS}/rust/Cargo.toml.in" "${client}/Cargo.toml" @ONLY)
ostrel_run("cargo build of the client" "${CARGO}" build --offline --quiet
  --manifest-path "${client}/Cargo.toml")
ostrel_run("cargo build of the example" "${CARGO}" build --offline --quiet
  --manifest-path "${crate}/Cargo.toml" --example register-at-startup)

# Found at run time through the system's search, as a program linked against
# a library outside the system folders finds it.
set(ENV{LD_LIBRARY_PATH} "${lib}")
set(program "${WORK}/target/debug/ostrel-client")
ostrel_package_scenario("the Rust crate's client" "${program}")

# Misuse: each told apart as the error it is, by kind and by the header's name.
ostrel_install_copy(manifest "${WORK}/misuse" "Games/Ostrel" vantorell.ostrel)
ostrel_fresh_stand_in("${WORK}/misuse/runtime")
ostrel_run_program(misuse "${WORK}" "${program}" misuse vantorell.ostrel "${manifest}" "${LOADER}")
ostrel_expect_status(misuse 0)
string(FIND "${misuse_out}" "misuse told apart" at)
if(at EQUAL -1)
  string(APPEND failures "  misuse: not told apart\n")
endif()
ostrel_report_failures("the Rust client's misuse" "${misuse_out}${misuse_err}")

# The doctor, before the runtime ever started: its list cannot be read, by
# the doctor's own number; the command's status rides in the JSON.
ostrel_run_program(doctor "${WORK}" "${program}" doctor vantorell.ostrel "${manifest}" "${LOADER}")
ostrel_expect_status(doctor 2)
ostrel_expect_json(doctor 69 exit_status)
ostrel_report_failures("the Rust client's doctor" "${doctor_out}${doctor_err}")

# --- the example: the C++ example's contract ---------------------------------------------

# The loader beside the program, where an application ships it.
set(example_dir "${WORK}/target/debug/examples")
file(COPY "${LOADER}" DESTINATION "${example_dir}")
set(example "${example_dir}/register-at-startup")
set(key vantorell.ostrel)
set(dir "${WORK}/example")
file(REMOVE_RECURSE "${dir}")
ostrel_install_copy(ours "${dir}" "Games/Ostrel" "${key}")
ostrel_install_copy(old "${dir}" "Old/Ostrel" "${key}")

# example_case(<case> <stand-in script> <exit status> <line> [<argument>...]):
# standard output is one line that starts with <line> (nothing when <line>
# is empty).
function(example_case case script expected line)
  set(ENV{OSTREL_FAKE_LOADER_SCRIPT} "${script}")
  ostrel_run_program(run "${dir}" "${example}" ${ARGN})
  ostrel_expect_status(run "${expected}")
  string(FIND "${run_out}" "${line}" at)
  string(REGEX MATCHALL "\n" ends "${run_out}")
  list(LENGTH ends lines)
  if(line STREQUAL "" AND NOT run_out STREQUAL "")
    string(APPEND failures "  ${case}: printed '${run_out}', expected nothing\n")
  elseif(NOT line STREQUAL "" AND (NOT at EQUAL 0 OR NOT lines EQUAL 1))
    string(APPEND failures "  ${case}: standard output is not one line starting '${line}'\n")
  endif()
  set(failures "${failures}" PARENT_SCOPE)
  string(APPEND transcript "> ${case}\n${run_out}${run_err}")
  set(transcript "${transcript}" PARENT_SCOPE)
endfunction()
set(transcript "")
ostrel_fresh_stand_in("${dir}/runtime")
example_case(usage "" 64 "")
example_case(old "" 0 "registered: registered ${key} from ${old}" ${key} "${old}")
example_case(moved "" 0 "repaired: removed ${old}; registered ${key} from ${ours}" ${key} "${ours}")
example_case(again "" 0 "already-registered: ${key} is registered from ${ours}" ${key} "${ours}")
ostrel_fresh_stand_in("${dir}/unreachable")
example_case(unreachable "init=108" 69
  "unreachable: the SteamVR runtime cannot be reached: VR_InitInternal2 failed: VRInitError_Init_HmdNotFound (108)"
  ${key} "${ours}")
ostrel_report_failures("the crate's example register-at-startup" "${transcript}")
message(STATUS "the crate's example: the C++ example's contract")
