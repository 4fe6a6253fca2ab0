#!/bin/bash
# Console cases of the Windows build, run under Wine.
#
#   run_console_case.sh prepare PREFIX DRIVE FILE...
#       copies the programs and images into the folder DRIVE and makes that
#       folder drive X: of the Wine prefix, so that every case sees them
#       under the same short path (X:\cellglyph.exe) whatever the build folder
#   run_console_case.sh run CASE WORK PROBE EMULATOR...
#       runs PROBE with CASE inside a terminal of the window size that the
#       case expects (Wine gives its console the terminal's size), in the
#       emptied folder WORK as current folder, then compares the probe's
#       capture (WORK/capture.txt) with the case's expected part
#   run_console_case.sh capture CASE WORK PROBE EMULATOR...
#       the same without the comparison
#
# In the expected part, {hex16} stands for any 16 upper-case hexadecimal
# digits (addresses that change from build to build), and a line
# "{up to N more}" for up to N more lines like the one above it. The probe
# writes a brace as {7B}, so neither occurs in a capture.
#
# Exit status 77: the case cannot run here (no Wine, no terminal); the test
# runner reports it as skipped.
set -u
cannot_run=77
no_console=3

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

capture() {
  local case_file=$1 work=$2 probe=$3
  shift 3
  command -v script >/dev/null || skip "script (util-linux) is needed for a terminal"
  local size
  size=$(sed -n '/^---$/,$ s/^window \([0-9][0-9]*\) \([0-9][0-9]*\)$/\1 \2/p' "$case_file" | head -n 1)
  [ -n "$size" ] || { echo "$case_file: the expected part has no line 'window COLUMNS ROWS'" >&2; exit 1; }
  local columns=${size% *} rows=${size#* }

  [ -n "$work" ] && rm -rf "$work" && mkdir -p "$work" || exit 1
  local capture=$work/capture.txt
  case_file=$(cd "$(dirname "$case_file")" && pwd)/$(basename "$case_file")

  local command
  command="stty cols $columns rows $rows; cd $(printf '%q' "$work"); exec $(printf '%q ' "$@" \
    "$probe" "$(wine_path "$case_file")" "$(wine_path "$capture")")"
  local status attempt
  # Now and then Wine starts a program without its console; the probe then
  # ends with status 3 and the case is tried again.
  for attempt in 1 2 3; do
    timeout 300 script -qefc "$command" /dev/null </dev/null >"$work/terminal.log" 2>&1
    status=$?
    [ $status -eq $no_console ] || break
    echo "run_console_case: attempt $attempt: $(cat "$capture.failed" 2>/dev/null)" >&2
  done
  [ $status -eq $cannot_run ] && skip "$(grep -a 'skipped' "$work/terminal.log" | tail -n 1)"
  grep -q 'pseudo-terminal' "$work/terminal.log" &&
    skip "no terminal to run in: $(grep -a 'pseudo-terminal' "$work/terminal.log" | head -n 1)"
  if [ $status -ne 0 ] || [ ! -f "$capture" ]; then
    echo "the probe failed (status $status); its reason and the terminal output follow" >&2
    cat "$capture.failed" >&2 2>/dev/null
    tr -d '\033' <"$work/terminal.log" | tail -n 20 >&2
    exit 1
  fi
}

# The pattern for an expected line holding {hex16}; empty for a plain line.
line_pattern() {
  [[ $1 == *"{hex16}"* ]] || return 0
  printf '%s' "$1" | sed 's/[][\.*^$+?(){}|]/\\&/g; s/\\{hex16\\}/[0-9A-F]{16}/g'
}

# Prints the expected lines with every pattern line replaced by the captured
# line it stands for, when that line fits; a line "{up to N more}" stands for
# up to N more captured lines that fit the pattern line above it.
fill_patterns() {
  local expected=$1 captured=$2
  local -a seen
  mapfile -t seen <"$captured"
  local at=0 line pattern='' more
  while IFS= read -r line; do
    if [[ $line =~ ^\{up\ to\ ([0-9]+)\ more\}$ ]]; then
      more=${BASH_REMATCH[1]}
      while [ -n "$pattern" ] && [ "$more" -gt 0 ] && [[ ${seen[at]-} =~ ^${pattern}$ ]]; do
        printf '%s\n' "${seen[at]}"
        at=$((at + 1)) more=$((more - 1))
      done
      continue
    fi
    pattern=$(line_pattern "$line")
    [ -n "$pattern" ] && [[ ${seen[at]-} =~ ^${pattern}$ ]] && line=${seen[at]}
    printf '%s\n' "$line"
    at=$((at + 1))
  done <"$expected"
}

run() {
  local case_file=$1 work=$2
  capture "$@"
  local expected=$work/expected.txt
  sed '1,/^---$/d' "$case_file" | fill_patterns /dev/stdin "$work/capture.txt" >"$expected"
  if ! diff -u --label expected --label captured "$expected" "$work/capture.txt"; then
    echo "$case_file: the console differs from the expected screen (- expected, + captured)" >&2
    exit 1
  fi
}

case "${1:-}" in
  prepare) shift; prepare "$@" ;;
  run) shift; run "$@" ;;
  capture) shift; capture "$@" ;;
  *) echo "usage: run_console_case.sh prepare PREFIX DRIVE FILE... | run|capture CASE WORK PROBE EMULATOR..." >&2; exit 2 ;;
esac
