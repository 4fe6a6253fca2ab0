#!/bin/bash
# Runs the program with the same arguments on the same size of screen twice:
# the Windows build in a Wine console, read back by the console probe, and
# the native build in a pseudo-terminal, read back by terminal_dump. The two
# screens, the cursor and the exit status must be the same, and so must every
# file that the two runs leave in their folders.
#
#   compare_screens.sh EXAMPLES NATIVE WORK COLUMNS ROWS [ARGUMENT...] -- PROBE EMULATOR...
#
# EXAMPLES holds the images (each run starts in a folder of its own with a
# copy of them, so relative names show the same on both sides); NATIVE is the
# native build folder. The arguments may not hold blanks.
#
# The usage text shows the program's own path. The native program is run
# from a copy whose path has as many characters as X:\cellglyph.exe, so both
# screens wrap the same way; the path is then replaced before comparing.
#
# Exit status 77 (skipped): no native build, no Wine, or no terminal.
set -u
cannot_run=77
windows_program='X:\cellglyph.exe'

skip() {
  echo "compare_screens: skipped: $*" >&2
  exit $cannot_run
}

[ $# -ge 6 ] || { echo "usage: compare_screens.sh EXAMPLES NATIVE WORK COLUMNS ROWS [ARGUMENT...] -- PROBE EMULATOR..." >&2; exit 2; }
examples=$1 native=$2 work=$3 columns=$4 rows=$5
shift 5
arguments=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  arguments+=("$1")
  shift
done
[ "${1:-}" = -- ] && [ $# -ge 2 ] || { echo "compare_screens: no '--' and probe" >&2; exit 2; }
shift

native_program=$native/cellglyph
dump=$native/tests/terminal_dump
for needed in "$native_program" "$dump"; do
  [ -x "$needed" ] || skip "$needed not found: build the native program first" \
    "(cmake --workflow --preset default), or point CELLGLYPH_NATIVE_BUILD_DIR at its build folder"
done

here=$(cd "$(dirname "$0")" && pwd)
[ -n "$work" ] && rm -rf "$work" && mkdir -p "$work/native" || exit 1

# The Windows run: a console case without an expected part of its own.
{
  line=$windows_program
  for argument in "${arguments[@]}"; do
    case $argument in
      *[[:space:]{]* | '') echo "compare_screens: argument '$argument' needs quoting" >&2; exit 2 ;;
    esac
    line+=" $argument"
  done
  echo "run $line"
  for image in "$examples"/*.bmp; do
    echo "copy X:\\$(basename "$image") $(basename "$image")"
  done
  echo ---
  echo "window $columns $rows"
} >"$work/run.case" || exit 1
"$here/run_console_case.sh" capture "$work/run.case" "$work/windows" "$@" || exit $?
grep -v '^codepage ' "$work/windows/capture.txt" >"$work/windows.txt"

# The native run, from a copy of the program at a path as long as the
# Windows one: /tmp/cgXXXXXX/cg.
copy_folder=$(mktemp -d /tmp/cgXXXXXX) || skip "cannot create a folder in /tmp"
trap 'rm -rf "$copy_folder"' EXIT
native_path=$copy_folder/cg
[ ${#native_path} -eq ${#windows_program} ] || { echo "compare_screens: $native_path is not ${#windows_program} characters long" >&2; exit 1; }
cp "$native_program" "$native_path" || exit 1
cp "$examples"/*.bmp "$work/native/" || exit 1
"$dump" "$columns" "$rows" -C "$work/native" "$native_path" "${arguments[@]}" >"$work/native.raw" || exit 1
while IFS= read -r row; do
  printf '%s\n' "${row//"$native_path"/"$windows_program"}"
done <"$work/native.raw" >"$work/native.txt"

status=0
if ! diff -u --label windows --label native "$work/windows.txt" "$work/native.txt"; then
  echo "the Windows console (-) and the native terminal (+) show different screens for:" \
    "${arguments[*]}, on $columns x $rows" >&2
  status=1
fi
for file in "$work/native"/*; do
  name=$(basename "$file")
  if ! cmp "$file" "$work/windows/$name"; then
    echo "the file $name differs between the Windows and the native run" >&2
    status=1
  fi
done
exit $status
