"""Running a case in the Windows build: under Wine, in a console of the
case's window size made by script(1), read back by the console probe (see
tests/windows/console_probe.cpp), which writes the capture itself."""
import os, shlex, subprocess

SKIP = 77
PROBE_SETTINGS = ('run', 'cursor', 'stdout', 'stderr', 'paint', 'file')


class CannotRun(Exception):
    """The emulator cannot run programs here."""


def windows_path(path):
    """The name Wine gives a file of this system."""
    return 'Z:' + path.replace('/', '\\')


def run(settings, work, build, columns, rows, probe, emulator):
    # The probe reads the settings it knows from a copy of the case in which
    # the program is named by its Windows path.
    lines = []
    for key, value in settings:
        if key == 'run':
            program, _, arguments = value.partition(' ')
            value = windows_path(os.path.join(build, program + '.exe')) + ' ' + arguments
        if key in PROBE_SETTINGS:
            lines.append((key + ' ' + value).strip())
    probe_case = os.path.join(work, '.probe.case')
    open(probe_case, 'w').write('\n'.join(lines) + '\n---\n')
    capture = os.path.join(work, '.capture')
    command = 'stty cols %s rows %s; exec %s' % (columns, rows, shlex.join(
        emulator + [probe, windows_path(probe_case), windows_path(capture)]))
    for _ in range(3):  # now and then Wine starts a program without its console, or fails it
        status = subprocess.run(['timeout', '300', 'script', '-qefc', command, '/dev/null'],
                                cwd=work, stdin=subprocess.DEVNULL,
                                capture_output=True).returncode
        if status in (0, SKIP):
            break
    if status == SKIP:
        raise CannotRun()
    if status != 0 or not os.path.exists(capture):
        failed = capture + '.failed'
        reason = open(failed).read() if os.path.exists(failed) else ''
        raise RuntimeError('the probe failed (status %d): %s' % (status, reason))
    return open(capture, encoding='latin-1').read().rstrip('\n').split('\n')
