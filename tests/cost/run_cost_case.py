#!/usr/bin/env python3
"""Runs the preparer on a picture small on disk but large as a picture, and checks what it cost.

  run_cost_case.py TABLE posix|windows PICTURE CACHE PROGRAM...
  run_cost_case.py --check TABLE     (does the table give every picture an outcome?)

PICTURE is a name of make_cost_pictures.py, made once into CACHE; PROGRAM starts the preparer
(under Wine: the wrapper, its options and the .exe). It runs as `PROGRAM PICTURE out.bmp`, with
an older out.bmp. TABLE (cases.tsv) says what must happen: "converted" (exit 0, a whole screen in
out.bmp) or the refusal's one line on standard error, {picture} for the name (exit 1, out.bmp
left as it was); "TODO" or no row fails. Peak memory and time must stay within the budget below;
under Wine, on top of what the program takes to print its version, measured in the same run.
Exit status 0 when it passes, 1 with what was measured against what was allowed, 77 (skipped)
when it cannot run here.
"""
import os, signal, subprocess, sys, tempfile, time
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written beside the sources
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

SKIP = 77
PLATFORMS = ('posix', 'windows')
MEMORY_BUDGET_KB = 96 * 1024
TIME_BUDGET_S = 3.0
# The machines running the tests are shared: another build on the same cores can slow a run
# down several times over. Memory gets no margin; it does not depend on the neighbours.
TIME_MARGIN = 3
SCREEN_BMP_BYTES = 8062  # the prepared 320 x 200 picture: 1 bit a pixel and 2 colours
GNU_TIME = '/usr/bin/time'
OLD_OUTPUT = b'an older picture, to be left as it was\n'


def read_table(path):
    """{(picture, platform): outcome} from the table's tab-separated rows."""
    table = {}
    for number, line in enumerate(Path(path).read_text().splitlines(), 1):
        if not line.strip() or line.startswith('#'):
            continue
        fields = line.split('\t')
        if len(fields) != 3 or fields[1] not in PLATFORMS:
            sys.exit('%s:%d: not "picture<tab>posix|windows<tab>outcome"' % (path, number))
        table[(fields[0], fields[1])] = fields[2]
    return table


def check_table(path):
    from make_cost_pictures import PICTURES
    table = read_table(path)
    missing = [name + ' on ' + platform for name in PICTURES for platform in PLATFORMS
               if (name, platform) not in table]
    if missing:
        print('%s: no outcome for %s' % (path, ', '.join(missing)))
    return 1 if missing else 0


def cached_picture(name, cache):
    """The picture's file, made again when the script that makes it is newer."""
    from make_cost_pictures import PICTURES
    cache.mkdir(parents=True, exist_ok=True)
    picture = cache / name
    script = HERE / 'make_cost_pictures.py'
    if not picture.exists() or picture.stat().st_mtime < script.stat().st_mtime:
        # Made beside it and renamed: a test running at the same time sees all of it or none.
        with tempfile.NamedTemporaryFile(dir=cache, delete=False) as made:
            made.write(PICTURES[name]())
        os.replace(made.name, picture)
    return picture


def run(command, folder, seconds):
    """(exit status, standard error, peak resident KB, seconds) of one run, stopped after
    `seconds` (status None then). GNU time measures the peak: a child that Python forks starts
    with this script's own memory counted in its peak, one that GNU time forks with a megabyte.
    The peak is that of the process and of every process below it that was waited for: under
    Wine, the program's own."""
    peak = folder / 'peak'
    with open(folder / 'stderr', 'wb+') as errors:
        start = time.monotonic()
        process = subprocess.Popen([GNU_TIME, '-f', '%M', '-o', peak] + command, cwd=folder,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=errors, start_new_session=True)
        try:
            status = process.wait(seconds)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
            status = None
        elapsed = time.monotonic() - start
        errors.seek(0)
        lines = peak.read_text().split() if peak.exists() else []
        return status, errors.read(), int(lines[-1]) if lines else 0, elapsed


def check_outcome(expected, status, errors, output, name):
    """What is wrong with the run's outcome, one line a fault."""
    faults = []
    if expected == 'converted':
        if status != 0:
            faults.append('exit status %s, not 0; standard error %r' % (status, errors))
        if len(output) != SCREEN_BMP_BYTES:
            faults.append('out.bmp has %d bytes, not %d' % (len(output), SCREEN_BMP_BYTES))
        return faults
    line = expected.replace('{picture}', name)
    if status != 1:
        faults.append('exit status %s, not 1' % status)
    if errors.decode(errors='replace') not in (line + '\n', line + '\r\n'):
        faults.append('standard error is %r, not the one line %r' % (errors, line))
    if output != OLD_OUTPUT:
        faults.append('out.bmp was changed')
    return faults


def wine_start(program, folder):
    """(0, peak KB, seconds) of the program printing its version under Wine, or the status to
    end with when it cannot. Run twice: the first start may also start Wine's server; the
    second is what Wine itself costs a run."""
    for _ in range(2):
        status, errors, peak_kb, seconds = run(program + ['--version'], folder, 300)
    if status == SKIP:
        return SKIP, 0, 0
    if status != 0:
        print('FAIL: %s --version: exit status %s, %r' % (' '.join(program), status, errors))
        return 1, 0, 0
    print('Wine: --version takes %d KB and %.2f s' % (peak_kb, seconds))
    return 0, peak_kb, seconds


def skip(why):
    print('run_cost_case: skipped: ' + why, file=sys.stderr)
    return SKIP


def main(arguments):
    try:
        import make_cost_pictures  # noqa: F401 (Pillow is there)
    except ImportError as error:
        return skip('the pictures cannot be made: %s' % error)
    if arguments[0] == '--check':
        return check_table(arguments[1])
    table_path, platform, name = arguments[:3]
    cache = Path(arguments[3]).resolve()
    # The run happens in a folder of its own: paths in the command made absolute first.
    program = [os.path.abspath(word) if os.path.exists(word) else word for word in arguments[4:]]
    expected = read_table(table_path).get((name, platform), 'TODO')
    if not os.path.exists(GNU_TIME):
        return skip('GNU time (Debian package time) is not installed')
    picture = cached_picture(name, cache)

    memory_kb, seconds = MEMORY_BUDGET_KB, TIME_BUDGET_S
    with tempfile.TemporaryDirectory(dir=cache) as folder:
        folder = Path(folder)
        if platform == 'windows':
            status, wine_kb, wine_s = wine_start(program, folder)
            if status != 0:
                return status
            memory_kb, seconds = memory_kb + wine_kb, seconds + wine_s
        os.link(picture, folder / name)
        (folder / 'out.bmp').write_bytes(OLD_OUTPUT)
        allowed_s = seconds * TIME_MARGIN
        status, errors, used_kb, used_s = run(program + [name, 'out.bmp'], folder, allowed_s)
        output = (folder / 'out.bmp').read_bytes()

    if status is None:
        # Stopping it stops GNU time too: no peak to report.
        print('%s on %s: stopped after %.2f s, more than the %.2f s allowed (%d x %.2f s)'
              % (name, platform, used_s, allowed_s, TIME_MARGIN, seconds))
        return 1
    print('%s on %s: exit %s, %d KB, %.2f s (allowed %d KB, %.2f s: %d x %.2f s)'
          % (name, platform, status, used_kb, used_s, memory_kb, allowed_s, TIME_MARGIN, seconds))
    if expected == 'TODO':
        # Run all the same: what it does now is what the table needs to settle it.
        faults = ['no outcome settled in %s; it printed %r' % (table_path, errors)]
    else:
        faults = check_outcome(expected, status, errors, output, name)
    if used_kb > memory_kb:
        faults.append('peak memory %d KB, more than the %d KB allowed' % (used_kb, memory_kb))
    for fault in faults:
        print('FAIL: ' + fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
