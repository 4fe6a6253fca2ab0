#!/bin/bash
# Console cases of the Windows build, run under Wine.
#
#   run_console_case.sh prepare PREFIX DRIVE PROGRAM...
#       copies the programs into the folder DRIVE and makes that folder
#       drive X: of the Wine prefix, so that every case sees the programs
#       under the same short path (X:\cellglyph.exe) whatever the build folder
#   run_console_case.sh run CASE WORK PROBE EMULATOR...
#       runs PROBE with CASE inside a terminal of the window size that the
#       case expects (Wine gives its console the terminal's size), then
#       compares the probe's capture with the case's expected part
#
# Exit status 77: the case cannot run here (no Wine, no terminal); the test
# runner reports it as skipped.
set -u
cannot_run=77

skip() {
  echo "run_console_case: skipped: $*" >&2
  exit $cannot_run
}

# The Wine name of a file under /, which Wine's prefix maps to drive Z:.
wine_path() {
  printf 'Z:%s' "${1//\//\\}"
}

prepare() {
  local prefix=$1 drive=$2
  shift 2
  command -v wine >/dev/null || skip "Wine is not installed"
  [ -d "$prefix/dosdevices" ] || skip "no Wine prefix at $prefix"
  mkdir -p "$drive" && cp -f "$@" "$drive"/ || exit 1
  ln -sfn "$drive" "$prefix/dosdevices/x:" || exit 1
}

run() {
  local case_file=$1 work=$2 probe=$3
  shift 3
  command -v script >/dev/null || skip "script (util-linux) is needed for a terminal"
  local size
  size=$(sed -n '/^---$/,$ s/^window \([0-9][0-9]*\) \([0-9][0-9]*\)$/\1 \2/p' "$case_file" | head -n 1)
  [ -n "$size" ] || { echo "$case_file: the expected part has no line 'window COLUMNS ROWS'" >&2; exit 1; }
  local columns=${size% *} rows=${size#* }

  mkdir -p "$work" || exit 1
  local capture=$work/capture.txt expected=$work/expected.txt
  rm -f "$capture" "$capture.stdout"
  sed '1,/^---$/d' "$case_file" >"$expected"

  local command
  command="stty cols $columns rows $rows; exec $(printf '%q ' "$@" "$probe" \
    "$(wine_path "$case_file")" "$(wine_path "$capture")")"
  timeout 300 script -qefc "$command" /dev/null </dev/null >"$work/terminal.log" 2>&1
  local status=$?
  [ $status -eq $cannot_run ] && skip "$(grep -a 'skipped' "$work/terminal.log" | tail -n 1)"
  grep -q 'pseudo-terminal' "$work/terminal.log" &&
    skip "no terminal to run in: $(grep -a 'pseudo-terminal' "$work/terminal.log" | head -n 1)"
  if [ $status -ne 0 ] || [ ! -f "$capture" ]; then
    echo "the probe failed (status $status); terminal output follows" >&2
    tr -d '\033' <"$work/terminal.log" | tail -n 20 >&2
    exit 1
  fi
  if ! diff -u --label expected --label captured "$expected" "$capture"; then
    echo "$case_file: the console differs from the expected screen (- expected, + captured)" >&2
    exit 1
  fi
}

case "${1:-}" in
  prepare) shift; prepare "$@" ;;
  run) shift; run "$@" ;;
  *) echo "usage: run_console_case.sh prepare PREFIX DRIVE PROGRAM... | run CASE WORK PROBE EMULATOR..." >&2; exit 2 ;;
esac
