#!/usr/bin/env bash
# Builds and runs every test: native, clang-tidy over the production sources,
# ASan+UBSan, TSan (threaded logger tests), the 64-bit Windows build under
# Wine, and the release packages made from those builds and used. Installs
# what it needs from Debian's archive when it is missing; fails loudly when
# it cannot.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/require-packages.sh

export CTEST_OUTPUT_ON_FAILURE=1
jobs=$(nproc 2>/dev/null || echo 2)

step() { printf '\n== %s\n' "$*"; }

step "packages"
# shellcheck disable=SC2086
ensure_packages cmake ninja-build g++ googletest libgtest-dev nlohmann-json3-dev libcli11-dev \
  clang libclang-rt-14-dev clang-tidy strace mono-mcs mono-runtime python3 valgrind abigail-tools \
  libbenchmark-dev libspdlog-dev $OSTREL_PACKAGING_PACKAGES
ensure_cargo
if ! ensure_packages g++-mingw-w64-x86-64-posix wine wine64 nsis wixl msitools; then
  echo "error: the Windows build needs mingw-w64 (posix), Wine, NSIS, wixl and msitools; it cannot be skipped" >&2
  exit 1
fi

step "native build and tests"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

step "benchmarks (built, each run once briefly; no figure asserted)"
# Not timings: a benchmark that reports an error (the path it measures was
# not taken) or reaches for the runtime where it must not fails the step.
cmake -S . -B build-bench -G Ninja -DOSTREL_BUILD_BENCHMARKS=ON -DOSTREL_BUILD_TESTS=OFF \
  -DOSTREL_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-bench -j "$jobs" --target ostrel-bench
cmake -DBENCH=build-bench/bench/ostrel-bench -DWORK=build-bench/smoke \
  -P bench/CheckBenchmarkRun.cmake

step "clang-tidy (production sources, .clang-tidy)"
# The libraries and programs, chosen by folder so that files added or renamed
# in them are checked too; not the tests, the stand-in loader, benchmarks or
# fuzzers. The compile database is the native build's: the Windows-only
# sources (platform/*Windows.cpp, the installer's stand-in application) are
# not in it; only the Windows build compiles them. .clang-tidy makes
# every finding an error, which makes run-clang-tidy exit nonzero.
tidy_folders='common/(src|platform|text|json)|steamvr/src|openvr/src|manifestcheck/src|runtimeregistry/src|registration/src|doctor/src|startup/src|capi/src|register(/src)?|selfcheck|packaging/windows/standin'
if ! grep -qE "\"file\": \"[^\"]*/($tidy_folders)/[^/\"]+\"" build/compile_commands.json; then
  echo "error: no production source in build/compile_commands.json; has a folder moved?" >&2
  exit 1
fi
run-clang-tidy -p build -j "$jobs" -quiet "/($tidy_folders)/[^/]+\$"

step "AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j "$jobs"

step "ThreadSanitizer (threaded logger, start-up and C start-up handle tests)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target ostrel_console_logger_thread_tests \
  ostrel_startup_thread_tests ostrel_capi_thread_tests
TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -j "$jobs" --no-tests=error

step "Windows build (mingw-w64), tests under Wine"
start=$(date +%s)
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
# Only the system DLLs the README names: the programs link everything else
# statically.
# ostrel-register also reads the user's local application data folder, whose
# name the shell hands out in memory freed through ole32.
check_imports() {
  local program=$1 allowed=$2 names=$3
  if x86_64-w64-mingw32-objdump -p "$program" | grep 'DLL Name' \
      | grep -viE "^\s*DLL Name: ($allowed)\.dll\$"; then
    echo "error: $program needs a DLL beyond $names" >&2
    exit 1
  fi
}
check_imports build-win/selfcheck/ostrel-selfcheck.exe 'KERNEL32|msvcrt|SHELL32' \
  'KERNEL32.dll, msvcrt.dll and SHELL32.dll'
check_imports build-win/register/ostrel-register.exe 'KERNEL32|msvcrt|SHELL32|ole32' \
  'KERNEL32.dll, msvcrt.dll, SHELL32.dll and ole32.dll'
# The C interface's DLL holds the same code as the command (capi.exports
# checks this too, with its export table).
check_imports build-win/capi/ostrel.dll 'KERNEL32|msvcrt|SHELL32|ole32' \
  'KERNEL32.dll, msvcrt.dll, SHELL32.dll and ole32.dll'
# The MSI's custom actions also talk to Windows Installer (msi.dll).
check_imports build-win/packaging/windows/ostrel-msi-actions.dll 'KERNEL32|msvcrt|SHELL32|msi' \
  'KERNEL32.dll, msvcrt.dll, SHELL32.dll and msi.dll'

ctest --preset windows -j "$jobs"
echo "Windows part took $(( $(date +%s) - start )) s"

step "release packages, made from these builds and used as their users use them"
# The release command on the two builds above (no third build), then each
# package unpacked or installed and used against both builds' stand-in
# loaders (packaging/packages/tests; the Windows archive under Wine).
start=$(date +%s)
bash scripts/package.sh --native-build build --windows-build build-win --dist build-packages/dist
cmake -S packaging/packages/tests -B build-packages/tests -G Ninja \
  -DOSTREL_DIST=build-packages/dist -DOSTREL_NATIVE_BUILD=build -DOSTREL_WINDOWS_BUILD=build-win >/dev/null
ctest --test-dir build-packages/tests -j "$jobs" --output-on-failure --no-tests=error
echo "Release packages took $(( $(date +%s) - start )) s"

step "manifest check fuzzing (libFuzzer, bounded run)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DOSTREL_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target ostrel_manifest_check_fuzzer
cmake --build build-fuzz -j "$jobs" --target ostrel_runtime_registry_fuzzer
ctest --test-dir build-fuzz -R fuzz --no-tests=error

step "all test suites passed"
