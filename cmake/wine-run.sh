#!/bin/sh
# Runs a Windows program of the cross build under Wine, for the test runner.
#
#   wine-run.sh [--prefix DIR] PROGRAM.exe [ARGUMENT...]
#   wine-run.sh [--prefix DIR] --prepare
#
# Wine keeps its state in a prefix folder; the build uses one of its own so
# that runs do not depend on the user's ~/.wine. The first run sets the prefix
# up (half a minute or more on a slow machine), once, under a lock; later runs
# find it ready. Wine's own messages are silenced.
#
# Exit status 77 means Wine cannot run programs here; the reason goes to
# standard error and the test runner reports the test as skipped.
set -u

cannot_run=77
prefix=${WINEPREFIX:-${HOME:-/tmp}/.wine}
if [ "${1:-}" = --prefix ]; then
  prefix=$2
  shift 2
fi

WINEPREFIX=$prefix
WINEDEBUG=-all
# No dialogs offering to install the .NET and HTML engines.
WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES

skip() {
  echo "wine-run: skipped: $*" >&2
  exit $cannot_run
}

command -v wine >/dev/null 2>&1 ||
  skip "Wine is not installed (Debian packages wine and wine64)"

status_file=$prefix.status

prepare() {
  mkdir -p "$(dirname "$prefix")" || skip "cannot create $(dirname "$prefix")"
  (
    flock 9
    [ -f "$status_file" ] && exit 0
    # Wine's server outlives wineboot by a few seconds; it must not hold the lock.
    if log=$(timeout 300 wineboot -i 2>&1 9>&-) && [ -f "$prefix/system.reg" ]; then
      echo ready >"$status_file"
    else
      printf 'Wine could not set up its prefix %s: %s (delete %s to try again)\n' \
        "$prefix" "$(printf '%s' "$log" | tail -n 1)" "$status_file" >"$status_file"
    fi
  ) 9>"$prefix.lock"
  [ "$(cat "$status_file" 2>/dev/null)" = ready ] || skip "$(cat "$status_file" 2>/dev/null)"
}

prepare
if [ "${1:-}" = --prepare ]; then
  echo "wine-run: prefix $prefix is ready"
  exit 0
fi
exec wine "$@"
