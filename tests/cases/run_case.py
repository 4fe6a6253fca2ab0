#!/usr/bin/env python3
"""Runs one case file against the real programs and compares what they left.

  run_case.py posix CASE WORK BUILD [--update]
      runs the native program in a tmux terminal of the case's window size
  run_case.py windows CASE WORK BUILD PROBE EMULATOR... [--update]
      runs the Windows program in a Wine console of that size, read back by
      the console probe (see tests/windows/console_probe.cpp)

A case is its settings, a line "---", then what must come out. Settings:
  run PROGRAM ARGUMENTS   a command line, cut into words as Windows does
  input NAME RECIPE...    a file made before the run (see make_input below)
  file NAME               report the file afterwards: missing, or its size and
                          CRC-32 (its bytes when it has 64 or fewer)
  compare NAME OTHER      report whether the two files are equal
  stdout file|closed|broken, stderr file|closed, stdin closed
  limit BYTES             a file-size limit; user nobody: run unprivileged
  typed TEXT              keys typed as it starts; the next line the terminal
                          holds afterwards is shown as "left:LINE"
  cursor X Y              where it starts (on POSIX: after Y line ends and X
                          characters, which the program cannot know of)
  scrollback              the screen includes the terminal's scroll-back
  platform posix|windows  the case runs on that platform only
  paint, make NAME BYTES  for the probe only
The expected part has the probe's form: exit, window W H, codepage (Windows
only), cursor, stdout, file and compare lines, screen and its rows, stderr.
{hex16} stands for any 16 hexadecimal digits, {number} for a number, "{up to N more}" for up to N
more lines like the one above it. Exit status 77: the case cannot run here.
"""
import difflib, os, random, re, resource, shlex, signal, subprocess, sys, time, zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SKIP = 77
PROGRAMS = {'cellglyph', 'cellglyph-render', 'cellglyph-export'}


def skip(why):
    print('run_case: skipped: ' + why, file=sys.stderr)
    sys.exit(SKIP)


def split_command_line(line):
    """Words as the program's own splitter cuts them; {XX} is byte XX."""
    words, word, quoted, at, inword = [], '', False, 0, False
    while at < len(line):
        c = line[at]
        if c == '"' and line[at + 1:at + 2] == '"':
            at, inword = at + 2, True
        elif c == '"':
            quoted, at, inword = not quoted, at + 1, True
        elif c <= ' ' and not quoted:
            if inword:
                words.append(word)
            word, inword, at = '', False, at + 1
        else:
            word, at, inword = word + c, at + 1, True
    if inword:
        words.append(word)
    return [decode(w) for w in words]


def decode(text):
    return re.sub(rb'\{([0-9A-F]{2})\}', lambda m: bytes([int(m.group(1), 16)]), text.encode())


def encode(data):
    return ''.join(chr(b) if 32 <= b < 127 and b != 123 else '{%02X}' % b for b in data)


# Glyphs, pictures and matching, from the glyph sheet beside this file: data
# kept apart from the program's own table, so that each checks the other.
def glyphs():
    rows = [l.strip() for l in open(os.path.join(HERE, 'glyphs.txt')) if re.fullmatch(r'[.#]{8}\n?', l)]
    return [int(''.join('1' if c == '#' else '0' for r in rows[g * 8:g * 8 + 8] for c in r), 2)
            for g in range(256)]


def pixels_of_screen(codes):
    sheet, rows = glyphs(), bytearray(8000)
    for cell, code in enumerate(codes):
        for line in range(8):
            rows[((cell // 40) * 8 + line) * 40 + cell % 40] = sheet[code] >> (8 * (7 - line)) & 0xFF
    return rows


def match(rows, highest):
    sheet, codes = glyphs()[:highest + 1], bytearray()
    for cell in range(1000):
        pattern = int.from_bytes(bytes(rows[((cell // 40) * 8 + l) * 40 + cell % 40] for l in range(8)), 'big')
        same = [64 - bin(pattern ^ g).count('1') for g in sheet]
        codes.append(same.index(max(same)))
    return codes


FIELDS = ['bfSize', 'bfReserved1', 'bfReserved2', 'bfOffBits', 'biSize', 'biWidth', 'biHeight',
          'biPlanes', 'biBitCount', 'biCompression', 'biSizeImage', 'biXPelsPerMeter',
          'biYPelsPerMeter', 'biClrUsed', 'biClrImportant']
WIDTHS = [4, 2, 2, 4, 4, 4, 4, 2, 2, 4, 4, 4, 4, 4, 4]


def bmp(rows, **fields):
    """The 1-bit form the renderer writes: rows bottom-up after a 2-colour table."""
    values = dict(zip(FIELDS, [8062, 0, 0, 62, 40, 320, 200, 1, 1, 0, 8000, 2835, 2835, 2, 2]))
    values.update(fields)
    head = b'BM' + b''.join((values[f] & (1 << 8 * w) - 1).to_bytes(w, 'little') for f, w in zip(FIELDS, WIDTHS))
    return head + b'\0\0\0\0\xff\xff\xff\0' + b''.join(rows[r * 40:r * 40 + 40] for r in range(199, -1, -1))


def make_input(work, name, recipe):
    """copy PATH | bmp [pixels=blank|random:SEED|mosaic|stripes] [FIELD=N]... [cut=N]
    | screen ramp|fill:N [size=N] | reference FILE normal|dirart | preview ramp | text WORDS"""
    kind, options = recipe[0], dict(o.split('=', 1) for o in recipe[1:] if '=' in o)
    if kind == 'copy':
        data = open(os.path.join(ROOT, recipe[1]), 'rb').read()
    elif kind == 'bmp':
        source = options.pop('pixels', 'blank')
        if source.startswith('random:'):
            generator = random.Random(int(source[7:]))
            rows = bytes(generator.getrandbits(8) for _ in range(8000))
        elif source == 'mosaic':
            rows = pixels_of_screen([c % 256 for c in range(1000)])
        elif source == 'stripes':
            rows = bytes(0x00 if (r // 8) % 2 else 0xFF for r in range(200) for _ in range(40))
        else:
            rows = bytes(8000)
        cut = int(options.pop('cut', -1))
        signature = options.pop('signature', 'BM').encode()
        data = signature + bmp(rows, **{k: int(v, 0) for k, v in options.items()})[2:]
        data = data if cut < 0 else data[:cut]
    elif kind == 'screen':
        size = int(options.get('size', 1000))
        fill = recipe[1]
        data = bytes((i % 256 if fill == 'ramp' else int(fill[5:])) for i in range(size))
    elif kind == 'reference':
        data = open(os.path.join(work, recipe[1]), 'rb').read()
        rows = bytearray(8000)
        for r in range(200):  # bytes the file does not have stay 0
            rows[(199 - r) * 40:(200 - r) * 40] = data[62 + r * 40:102 + r * 40].ljust(40, b'\0')
        data = bytes(match(rows, 127 if recipe[2] == 'dirart' else 255))
    elif kind == 'fifo':
        return os.mkfifo(os.path.join(work, name.decode()))
    elif kind == 'folder':
        return os.makedirs(os.path.join(work, name.decode()))
    elif kind == 'preview':
        data = bmp(pixels_of_screen([c % 256 for c in range(1000)]))
    else:
        data = ' '.join(recipe[1:]).encode()
    os.makedirs(os.path.dirname(os.path.join(work, name.decode())), exist_ok=True)
    with open(os.path.join(work, name.decode()), 'wb') as out:
        out.write(data)


def read_case(path):
    settings, expected, seen = [], [], False
    for line in open(path, encoding='utf-8').read().split('\n'):
        if line == '---' and not seen:
            seen = True
        elif seen:
            expected.append(line)
        elif line and not line.startswith('#'):
            settings.append(line.split(' ', 1) + [''])
    while expected and expected[-1] == '':
        expected.pop()
    return [(k, v) for k, v, *_ in settings], expected


def describe_file(path, name):
    if not os.path.exists(path):
        return 'file %s missing' % name
    data = open(path, 'rb').read()
    tail = ': ' + encode(data) if len(data) <= 64 else ', crc32 %08X' % (zlib.crc32(data) & 0xFFFFFFFF)
    return 'file %s %d bytes%s' % (name, len(data), tail)


def terminal_text(line):
    """A terminal row in the probe's byte form: code page 1252, control pictures back to bytes."""
    out = bytearray()
    for ch in line.rstrip(' '):
        code = ord(ch)
        if 0x2400 <= code < 0x2420:
            out.append(code - 0x2400)
        elif code == 0x2421:
            out.append(0x7F)
        else:
            try:
                out += ch.encode('cp1252')
            except UnicodeEncodeError:
                out += ch.encode('utf-8')
    return encode(out)


def run_native(settings, work, build, columns, rows):
    """Runs the program in tmux through this script's 'exec' mode, which sets up streams and limits."""
    if subprocess.run(['sh', '-c', 'command -v tmux'], capture_output=True).returncode:
        skip('tmux is not installed')
    socket = 'cellglyph-%d' % os.getpid()
    with open(os.path.join(work, '.tmux.conf'), 'w') as conf:
        conf.write('set -g status off\nset -g history-limit 10000\n')
    tmux = ['tmux', '-L', socket, '-f', os.path.join(work, '.tmux.conf')]
    inner = [sys.executable, os.path.abspath(__file__), 'exec', work, build] + \
        [k + '\t' + v for k, v in settings]
    subprocess.run(tmux + ['new-session', '-d', '-x', str(columns), '-y', str(rows), '-c', work,
                           shlex.join(inner)], check=True)
    try:
        for key, value in settings:
            if key == 'typed':
                subprocess.run(tmux + ['send-keys', '-l', value], check=True)
                subprocess.run(tmux + ['send-keys', 'Enter'], check=True)
        status_file, deadline = os.path.join(work, '.status'), time.time() + 60
        while not os.path.exists(status_file) and time.time() < deadline:
            time.sleep(0.02)
        time.sleep(0.05)  # for tmux to take in the last output
        history = ['-S', '-'] if any(k == 'scrollback' for k, _ in settings) else []
        screen = subprocess.run(tmux + ['capture-pane', '-p'] + history, capture_output=True,
                                text=True, errors='replace').stdout.split('\n')
        cursor = subprocess.run(tmux + ['display', '-p', '#{cursor_x} #{cursor_y}'],
                                capture_output=True, text=True).stdout.strip()
        status = open(status_file).read().strip() if os.path.exists(status_file) else 'timeout'
    finally:
        subprocess.run(tmux + ['kill-server'], capture_output=True)
    lines = ['exit ' + status, 'window %d %d' % (columns, rows), 'cursor ' + cursor]
    if ('stdout', 'file') in settings:
        lines.append('stdout %d bytes' % os.path.getsize(os.path.join(work, '.stdout')))
    lines += [describe_file(os.path.join(work, decode(v).decode()), v) for k, v in settings if k == 'file']
    screen = [terminal_text(l) for l in screen]
    while screen and not screen[-1]:
        screen.pop()
    lines += ['screen'] + screen
    if ('stderr', 'file') in settings:
        data = open(os.path.join(work, '.stderr'), 'rb').read()
        lines += ['stderr'] + [encode(l) for l in data.split(b'\n')[:-1]]
        if not data.endswith(b'\n') and data:
            lines += [encode(data.split(b'\n')[-1]), '{no line feed}']
    return lines


def exec_program(work, build, settings):
    """Inside the terminal: the program with the case's streams, limits and user."""
    settings = [s.split('\t', 1) for s in settings]
    argv = split_command_line(dict(settings)['run'])
    program = os.path.join(build, argv[0].decode())
    streams = {k: v for k, v in settings if k in ('stdin', 'stdout', 'stderr')}
    for key, value in settings:
        if key == 'cursor':
            column, row = (int(n) for n in value.split())
            sys.stdout.write('\n' * row + '>' * column)
            sys.stdout.flush()
    pid = os.fork()
    if pid == 0:
        for number, key in enumerate(['stdin', 'stdout', 'stderr']):
            how = streams.get(key)
            if how == 'closed':
                os.close(number)
            elif how == 'file':
                os.dup2(os.open(os.path.join(work, '.' + key), os.O_WRONLY | os.O_CREAT | os.O_TRUNC), number)
            elif how == 'broken':
                reader, writer = os.pipe()
                os.close(reader)
                os.dup2(writer, number)
        signal.signal(signal.SIGPIPE, signal.SIG_DFL)
        prefix = []
        for key, value in settings:
            if key == 'limit':
                resource.setrlimit(resource.RLIMIT_FSIZE, (int(value), int(value)))
            if key == 'user':
                os.chmod(work, 0o755)
                prefix = ['setpriv', '--reuid=' + value, '--regid=nogroup', '--clear-groups', '--']
        os.execvp((prefix or [program])[0], prefix + [program] + argv[1:])
    _, status = os.waitpid(pid, 0)
    result = str(os.WEXITSTATUS(status)) if os.WIFEXITED(status) else 'signal %d' % os.WTERMSIG(status)
    if any(k == 'typed' for k, _ in settings):
        left = subprocess.run(['timeout', '--foreground', '2', 'head', '-n', '1'], capture_output=True,
                              text=True).stdout.strip()
        print('left:' + left)
    with open(os.path.join(work, '.status.new'), 'w') as out:
        out.write(result)
    os.rename(os.path.join(work, '.status.new'), os.path.join(work, '.status'))
    time.sleep(60)


def run_windows(expected, settings, work, build, rest):
    probe, emulator = rest[0], rest[1:]
    if subprocess.run(['sh', '-c', 'command -v wine && command -v script'], capture_output=True).returncode:
        skip('Wine or script (util-linux) is not installed')
    columns, rows = next(l.split()[1:3] for l in expected if l.startswith('window '))
    # The probe reads the settings it knows from a copy of the case in which
    # the program is named by its Windows path.
    lines = []
    for key, value in settings:
        if key not in ('run', 'cursor', 'stdout', 'stderr', 'paint', 'file', 'make'):
            continue
        if key == 'run':
            program, _, arguments = value.partition(' ')
            value = 'Z:' + os.path.join(build, program + '.exe').replace('/', '\\') + ' ' + arguments
        lines.append((key + ' ' + value).strip())
    probe_case = os.path.join(work, '.probe.case')
    open(probe_case, 'w').write('\n'.join(lines) + '\n---\n')
    capture = os.path.join(work, '.capture')
    command = 'stty cols %s rows %s; exec %s' % (columns, rows, shlex.join(
        emulator + [probe, 'Z:' + probe_case.replace('/', '\\'), 'Z:' + capture.replace('/', '\\')]))
    for _ in range(3):  # now and then Wine starts a program without its console, or fails it
        status = subprocess.run(['timeout', '300', 'script', '-qefc', command, '/dev/null'], cwd=work,
                                stdin=subprocess.DEVNULL, capture_output=True).returncode
        if status in (0, SKIP):
            break
    if status == SKIP:
        skip('the emulator cannot run here')
    if status != 0 or not os.path.exists(capture):
        sys.exit('the probe failed (status %d): %s' % (status, open(capture + '.failed').read()
                                                        if os.path.exists(capture + '.failed') else ''))
    return open(capture, encoding='latin-1').read().rstrip('\n').split('\n')


def fits(expected, captured):
    """The expected lines with each pattern line replaced by the captured line it stands for."""
    out, at, pattern = [], 0, None
    for line in expected:
        more = re.fullmatch(r'\{up to (\d+) more\}', line)
        if more:
            for _ in range(int(more.group(1))):
                if pattern and at < len(captured) and re.fullmatch(pattern, captured[at]):
                    out.append(captured[at])
                    at += 1
            continue
        pattern = re.escape(line).replace(r'\{hex16\}', '[0-9A-F]{16}').replace(r'\{number\}', '[0-9]+') \
            if '{hex16}' in line or '{number}' in line else None
        out.append(captured[at] if pattern and at < len(captured) and re.fullmatch(pattern, captured[at])
                   else line)
        at += 1
    return out


def main(argv):
    if argv[1] == 'exec':
        return exec_program(argv[2], argv[3], argv[4:])
    platform, case, work, build = argv[1], argv[2], os.path.abspath(argv[3]), os.path.abspath(argv[4])
    update = argv[-1] == '--update'
    rest = [a for a in argv[5:] if a != '--update']
    settings, expected = read_case(case)
    only = dict(settings).get('platform')
    if only and only != platform:
        skip('a case for %s only' % only)
    subprocess.run(['rm', '-rf', work])
    os.makedirs(work)
    for key, value in settings:
        if key == 'input':
            name, *recipe = value.split()
            make_input(work, decode(name), recipe)
    if platform == 'posix':
        window = next(l.split() for l in expected if l.startswith('window '))
        captured = run_native(settings, work, build, int(window[1]), int(window[2]))
        expected = [l for l in expected if not l.startswith('codepage ')]
    else:
        captured = run_windows(expected, settings, work, build, rest)
    # The program's own path differs by platform and build: shown as {program}.
    program = dict(settings)['run'].split()[0]
    path = os.path.realpath(os.path.join(build, program))
    shown = encode(path.encode()) if platform == 'posix' else 'Z:' + path.replace('/', '\\') + '.exe'
    captured = [l.replace(shown, '{program}') for l in captured]
    for key, value in settings:
        if key == 'compare':
            first, second = (os.path.join(work, n) for n in value.split())
            same = os.path.exists(first) and open(first, 'rb').read() == open(second, 'rb').read()
            captured.append('compare %s %s' % (value, 'equal' if same else 'differ'))
    while captured and captured[-1] == '':
        captured.pop()
    if update:
        if platform == 'posix' and not only:
            captured.insert(2, 'codepage 437')
        text = open(case, encoding='utf-8').read().split('\n---\n')[0]
        open(case, 'w', encoding='utf-8').write(text + '\n---\n' + '\n'.join(captured) + '\n')
        return 0
    wanted = fits(expected, captured)
    if wanted != captured:
        sys.stdout.writelines(difflib.unified_diff([l + '\n' for l in wanted], [l + '\n' for l in captured],
                                                   'expected', 'captured'))
        print('%s: what came out differs from the case (- expected, + captured)' % case)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
