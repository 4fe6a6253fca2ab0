#!/usr/bin/env python3
"""Runs the preparer on a picture small on disk but large as a picture, and checks what it cost.

  run_cost_case.py OUTCOME posix|windows PICTURE FOLDER PROGRAM...

PICTURE is one of make_cost_pictures.py's, made into FOLDER beforehand; PROGRAM starts the
preparer (under Wine: the wrapper, its options and the .exe) as `PROGRAM PICTURE out.bmp`, beside
an older out.bmp. OUTCOME, from cases.tsv, is "converted" (exit 0, a whole screen written) or the
refusal's one line on standard error, {picture} for the name (exit 1, out.bmp left as it was).
Peak memory and time stay within the budget; under Wine, on top of what the program takes to
print its version.
"""
import os, signal, subprocess, sys, tempfile, time
from pathlib import Path

MEMORY_BUDGET_KB = 96 * 1024
TIME_BUDGET_S = 3.0
# The test machines are shared: another build on the same cores can slow a run down several
# times over. Memory gets no margin; it does not depend on the neighbours.
TIME_MARGIN = 3
OLD_OUTPUT = b'an older picture, to be left as it was\n'


def run(command, folder, seconds):
    """(exit status or None when stopped, standard error, peak KB, seconds) of one run. GNU time
    measures the peak: a child Python forks starts with this script's memory in its peak."""
    with open(folder / 'stderr', 'wb+') as errors:
        start = time.monotonic()
        process = subprocess.Popen(['/usr/bin/time', '-f', '%M', '-o', 'peak'] + command,
                                   cwd=folder, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=errors,
                                   start_new_session=True)
        try:
            status = process.wait(seconds)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            status = None
        errors.seek(0)
        peak = (folder / 'peak').read_text().split() if (folder / 'peak').exists() else ['0']
        return (status, errors.read().decode(errors='replace'), int(peak[-1]),
                time.monotonic() - start)


def faults_of(expected, status, errors, output, name):
    if expected == 'converted':
        return ['exit %s, %d bytes written, %r' % (status, len(output), errors)] * (
            status != 0 or len(output) != 8062)  # the 320 x 200 1-bit BMP
    line = expected.replace('{picture}', name)
    return (['exit %s, not 1' % status] * (status != 1)
            + ['standard error %r, not the one line %r' % (errors, line)]
            * (errors not in (line + '\n', line + '\r\n'))  # Wine ends lines with CR LF
            + ['out.bmp was changed'] * (output != OLD_OUTPUT))


def main(expected, platform, name, pictures, *program):
    pictures = Path(pictures).resolve()
    program = [os.path.abspath(word) if os.path.exists(word) else word for word in program]
    memory_kb, seconds = MEMORY_BUDGET_KB, TIME_BUDGET_S
    with tempfile.TemporaryDirectory(dir=pictures) as folder:
        folder = Path(folder)
        if platform == 'windows':
            status, errors, wine_kb, wine_s = run(program + ['--version'], folder, 300)
            if status != 0:
                print('%s --version: exit %s, %r' % (program[-1], status, errors))
                return 77 if status == 77 else 1  # 77: Wine cannot run here, skipped
            memory_kb, seconds = memory_kb + wine_kb, seconds + wine_s
        os.link(pictures / name, folder / name)
        (folder / 'out.bmp').write_bytes(OLD_OUTPUT)
        allowed_s = seconds * TIME_MARGIN
        status, errors, used_kb, used_s = run(program + [name, 'out.bmp'], folder, allowed_s)
        output = (folder / 'out.bmp').read_bytes()
    print('%s on %s: exit %s, %d KB, %.2f s (allowed %d KB, %.2f s)'
          % (name, platform, status, used_kb, used_s, memory_kb, allowed_s))
    faults = faults_of(expected, status, errors, output, name)
    if status is None:
        faults = ['stopped after %.2f s' % used_s]
    elif used_kb > memory_kb:
        faults.append('peak memory %d KB, more than the %d KB allowed' % (used_kb, memory_kb))
    for fault in faults:
        print('FAIL: ' + fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
