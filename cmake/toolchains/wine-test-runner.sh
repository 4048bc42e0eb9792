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

# On a loaded machine Wine now and then fails to start the program at all: it
# exits non-zero at once, having printed nothing. Such a run (under half a
# second, when starting any program here takes longer) is tried again, twice
# at most; a run that printed anything or took longer stands as it is, so a
# silent installer that fails is never run twice. The output is held in
# files and passed on unchanged, each stream to its own; retries are noted
# beside the prefix, never in the test's output.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/ostrel-wine.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
try=1
while :; do
  status=0
  started=$(now_ms)
  wine "$@" >"$scratch/out" 2>"$scratch/err" || status=$?
  took=$(($(now_ms) - started))
  if [ "$status" -eq 0 ] || [ "$took" -ge 500 ] || [ -s "$scratch/out" ] ||
     [ -s "$scratch/err" ] || [ "$try" -ge 3 ]; then
    break
  fi
  echo "$(date '+%F %T') exit $status after ${took} ms with no output, starting again: $*" \
    >>"$WINEPREFIX.retries.log"
  try=$((try + 1))
  sleep 1
done
cat "$scratch/out"
cat "$scratch/err" >&2
exit "$status"
