#!/bin/sh
# Runs one Windows test executable under Wine, quietly and without prompts.
#
# The Wine prefix lives in the build tree (OSTREL_WINEPREFIX, set by the
# toolchain file) so that tests never touch the user's ~/.wine. The first run
# creates it; that takes several seconds and prints setup chatter, which is
# kept away from the test's own output. A lock keeps parallel tests from
# creating it twice.
set -eu

: "${OSTREL_WINEPREFIX:?OSTREL_WINEPREFIX not set}"
WINEPREFIX=$OSTREL_WINEPREFIX
WINEDEBUG=${WINEDEBUG:--all}
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot --init >/dev/null 2>&1 || true
      wineserver --wait >/dev/null 2>&1 || true
    fi
  ) 9>"$WINEPREFIX.lock"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-test-runner: could not create a Wine prefix at $WINEPREFIX" >&2
    exit 1
  fi
fi

exec wine "$@"
