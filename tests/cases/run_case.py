#!/usr/bin/env python3
"""Runs one case file against the real programs and compares what they left.

  run_case.py posix CASE WORK BUILD [--update]
      runs the native program in a tmux terminal of the case's window size
  run_case.py windows CASE WORK BUILD PROBE EMULATOR... [--update]
      runs the Windows program in a Wine console of that size, read back by
      the console probe (see tests/windows/console_probe.cpp)

A case is its settings, a line "---", then what must come out. Settings:
  run PROGRAM ARGUMENTS   a command line, cut into words as Windows does
  input NAME RECIPE...    a file made before the run (recipes.py: copy, text,
                          bmp, screen, reference, preview, fifo, and those of
                          picture_recipes.py when it is there)
  file NAME               report the file afterwards: missing, or its size and
                          CRC-32 (its bytes when it has 64 or fewer)
  compare NAME OTHER      report whether the two files are equal
  stdout file|closed|broken, stderr file|closed, stdin closed
  limit BYTES             a file-size limit
  user nobody             run unprivileged (needs root, else skipped)
  typed TEXT              keys typed before it starts; the line the terminal
                          still holds afterwards is shown as "left:LINE"
  cursor X Y              where it starts (on POSIX: after Y line ends and X
                          characters, which the program cannot know of)
  scrollback              the screen includes the terminal's scroll-back
  platform posix|windows  the case runs on that platform only
  paint                   the probe also reports each cell's colours
case_file.py lists which platforms carry out which settings; the runner
refuses a setting, a value or a recipe it does not know.

The expected part has the probe's form: exit, window W H (the size to run
in), codepage (Windows only), cursor, stdout, file and compare lines, then
the screen, paint and stderr. The screen is either "screen" and every row of
the window, or one or more excerpts: "screen lines" and rows that must come
one after another on the screen, each excerpt below the one before. Without
a cursor line the cursor is not compared. {hex16} stands for any 16
hexadecimal digits, {number} for a number, "{up to N more}" for up to N more
lines like the one above it, {program} for the program's own path.

Exit status: 0 when what came out fits, 1 when it does not (with a diff),
2 for a case the runner cannot follow, 77 when the case cannot run here. The
work folder is removed when the case passes and kept for a look otherwise.
"""
import os, shutil, subprocess, sys

sys.dont_write_bytecode = True  # nothing written beside the sources
from case_file import CaseError, decode, encode, read_case, sections
from compare import differences
from recipes import make_input
import posix_run, windows_run

SKIP = 77


def skip(why):
    print('run_case: skipped: ' + why, file=sys.stderr)
    sys.exit(SKIP)


def open_to_others(folder):
    """Whether every folder from the top down to this one lets others in."""
    while os.stat(folder).st_mode & 0o001:
        if os.path.dirname(folder) == folder:
            return True
        folder = os.path.dirname(folder)
    return False


def check_can_run(platform, settings, work):
    def missing(command):
        return subprocess.run(['sh', '-c', 'command -v ' + command], capture_output=True).returncode
    only = dict(settings).get('platform', platform)
    if only != platform:
        skip('a case for %s only' % only)
    if platform == 'posix' and missing('tmux'):
        skip('tmux is not installed')
    if platform == 'windows' and (missing('wine') or missing('script')):
        skip('Wine or script (util-linux) is not installed')
    if any(k == 'user' for k, _ in settings):
        if os.geteuid() != 0:
            skip('only root may run a program as another user')
        if not open_to_others(os.path.dirname(work)):
            skip('another user cannot reach %s' % work)


def capture(platform, case, settings, expected, work, build, rest):
    columns, rows = next(l.split()[1:3] for l in sections(expected)[0][1] if l[:7] == 'window ')
    if platform == 'posix':
        return posix_run.run(case, settings, work, build, int(columns), int(rows))
    try:
        return windows_run.run(settings, work, build, columns, rows, rest[0], rest[1:])
    except windows_run.CannotRun:
        skip('the emulator cannot run here')


def main(argv):
    platform, case, work, build = argv[1], *(os.path.abspath(a) for a in argv[2:5])
    update, rest = '--update' in argv, [a for a in argv[5:] if a != '--update']
    rest[:1] = [os.path.abspath(a) for a in rest[:1]]  # the probe, before the run's folder
    settings, expected = read_case(case)
    check_can_run(platform, settings, work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    os.chdir(work)
    for key, value in settings:
        if key == 'input':
            name, *recipe = value.split()
            make_input(decode(name), recipe)
    captured = capture(platform, case, settings, expected, work, build, rest)
    # The program's own path differs by platform and build: shown as {program}.
    path = os.path.realpath(os.path.join(build, dict(settings)['run'].split()[0]))
    if platform == 'posix':
        shown = encode(path.encode())
    else:
        shown = windows_run.windows_path(path + '.exe')
    captured = [l.replace(shown, '{program}') for l in captured]
    compares = []
    for key, value in settings:
        if key == 'compare':
            first, second = value.split()
            same = os.path.exists(first) and open(first, 'rb').read() == open(second, 'rb').read()
            compares.append('compare %s %s' % (value, 'equal' if same else 'differ'))
    at = captured.index('screen')
    captured[at:at] = compares
    while captured[-1] == '':  # as the case's own lines end
        captured.pop()
    if update:
        if platform == 'posix' and 'platform' not in dict(settings):
            captured.insert(2, 'codepage 437')
        text = open(case, encoding='utf-8').read().split('\n---\n')[0]
        open(case, 'w', encoding='utf-8').write(text + '\n---\n' + '\n'.join(captured) + '\n')
        return 0
    if platform == 'posix':  # no code pages there
        head = len(sections(expected)[0][1])
        expected = [l for at, l in enumerate(expected) if at >= head or l[:9] != 'codepage ']
    diff = differences(expected, captured)
    if diff:
        print(diff + '%s: what came out differs from the case (- expected, + captured)' % case)
        return 1
    os.chdir(build)
    shutil.rmtree(work)
    return 0


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv))
    except CaseError as error:
        print('run_case: %s: %s' % (sys.argv[2], error), file=sys.stderr)
        sys.exit(2)
