#!/usr/bin/env bash
# Builds the self-check natively and runs it once.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/require-packages.sh

ensure_packages cmake ninja-build g++ nlohmann-json3-dev libcli11-dev
cmake -S . -B build-selfcheck -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_BUILD_TESTS=OFF >/dev/null
cmake --build build-selfcheck --target ostrel-selfcheck
exec build-selfcheck/selfcheck/ostrel-selfcheck
