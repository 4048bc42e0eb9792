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
