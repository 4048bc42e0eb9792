#!/usr/bin/env bash
# The release command: builds the C interface and the command natively and
# for 64-bit Windows, and writes every package into dist/: the Windows
# archive (ZIP, for Visual Studio and mingw-w64 projects), the Linux archive
# (tar.gz), the NuGet package, the Python wheels for Linux and Windows, the
# Rust crate, and SHA256SUMS (README, "Packages").
#
#   bash scripts/package.sh [--native-build DIR] [--windows-build DIR] [--dist DIR]
#
# Without build folders it configures and builds its own, build-release and
# build-release-win (RelWithDebInfo, no tests; installed stripped); the test
# command passes the builds it has made instead. Installs what it needs from
# Debian's archive when it is missing. Needs no network beyond that: cargo
# and pip are used offline.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/require-packages.sh

usage() {
  echo "usage: bash scripts/package.sh [--native-build DIR] [--windows-build DIR] [--dist DIR]" >&2
  exit 64
}
native_build=""
windows_build=""
dist=dist
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --native-build) native_build=$2 ;;
    --windows-build) windows_build=$2 ;;
    --dist) dist=$2 ;;
    *) usage ;;
  esac
  shift 2
done

jobs=$(nproc 2>/dev/null || echo 2)
# shellcheck disable=SC2086
ensure_packages cmake ninja-build g++ nlohmann-json3-dev libcli11-dev \
  g++-mingw-w64-x86-64-posix nsis wixl $OSTREL_PACKAGING_PACKAGES
ensure_cargo

# The targets the packages are made of; the build folders given may hold
# more, and a build made here builds only these.
if [ -z "$native_build" ]; then
  native_build=build-release
  cmake -S . -B "$native_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOSTREL_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$native_build" -j "$jobs" --target ostrel_c ostrel-register
if [ -z "$windows_build" ]; then
  windows_build=build-release-win
  cmake -S . -B "$windows_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake \
    -DOSTREL_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$windows_build" -j "$jobs" --target ostrel_c ostrel-register ostrel_msvc_import_library

# Debian's python3, which python3-build serves, whatever python3 comes first
# on PATH.
python=/usr/bin/python3
start=$(date +%s)
cmake -DSOURCE_DIR="$PWD" -DNATIVE_BUILD="$(realpath "$native_build")" \
  -DWINDOWS_BUILD="$(realpath "$windows_build")" -DDIST="$(realpath -m "$dist")" \
  -DWORK="$(realpath "$native_build")/release-packages" -DPYTHON="$python" -DMCS="$(command -v mcs)" \
  -DCARGO="$(command -v cargo)" -P packaging/packages/MakePackages.cmake
echo "packages made in $(( $(date +%s) - start )) s"
