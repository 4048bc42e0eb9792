# Sourced by the build scripts: ensure_packages PKG... installs the Debian
# packages that are missing, or fails saying which could not be had.
ensure_packages() {
  missing=""
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $pkg"
    fi
  done
  [ -z "$missing" ] && return 0

  echo "== installing:$missing"
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: missing packages:$missing; install them as root (apt-get install -y$missing)" >&2
    return 1
  fi
  # shellcheck disable=SC2086
  if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing; }; then
    echo "error: could not install:$missing (is Debian's package archive reachable?)" >&2
    return 1
  fi
}

# What the release packages are made with (scripts/package.sh), which the test
# command also installs: llvm (llvm-dlltool makes ostrel.lib; the tests read
# it with llvm-readobj, and link against it with clang and lld-link), mono's C#
# compiler with the .NET Framework reference assemblies (mono-devel), and
# Debian's Python with build, setuptools, wheel and venv (pip, offline), and
# pkg-config, with which the tests read ostrel.pc.
# shellcheck disable=SC2034 # read by the scripts that source this file
OSTREL_PACKAGING_PACKAGES="llvm lld clang mono-mcs mono-devel mono-runtime python3 python3-build python3-wheel python3-setuptools python3-venv pkg-config"

# cargo for the Rust crate: the one on PATH (rustup's, say), else Debian's.
ensure_cargo() {
  command -v cargo >/dev/null 2>&1 || ensure_packages cargo
}
