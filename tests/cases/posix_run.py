"""Running a case natively: the program in a tmux terminal of the case's
window size, started by this file's own part inside the terminal, which sets
up the program's streams, limits and user.

Nothing waits a fixed time. Keys typed ahead are in the terminal's input
before the program starts, so their echo comes before anything it draws.
When the program has ended, the part inside the terminal writes its status
into the pane's title; tmux takes in what a pane writes in order, so once the
title shows it, the screen holds everything the run drew."""
import fcntl, os, resource, secrets, shlex, signal, struct, subprocess, sys, termios, time, zlib

from case_file import decode, encode, read_case, split_command_line

TIMEOUT = 60  # seconds: far beyond any run, for one that hangs


def wait_for(condition):
    """condition()'s first true value, polled until TIMEOUT; else None."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.01)
    return None


def describe_file(path, name):
    if not os.path.exists(path):
        return 'file %s missing' % name
    data = open(path, 'rb').read()
    if len(data) <= 64:
        return 'file %s %d bytes: %s' % (name, len(data), encode(data))
    return 'file %s %d bytes, crc32 %08X' % (name, len(data), zlib.crc32(data) & 0xFFFFFFFF)


def terminal_text(line):
    """A terminal row in the probe's byte form: code page 1252, control
    pictures back to the bytes they stand for, anything else in UTF-8."""
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


def run(case, settings, work, build, columns, rows):
    """The capture's lines, in the probe's form."""
    token = 'cellglyph-case-' + secrets.token_hex(8)
    conf = os.path.join(work, '.tmux.conf')
    with open(conf, 'w') as out:
        out.write('set -g status off\nset -g history-limit 10000\nset -g remain-on-exit on\n')
    tmux = ['tmux', '-S', os.path.join(work, '.tmux'), '-f', conf]
    inner = [sys.executable, '-B', os.path.abspath(__file__), case, work, build, token]
    subprocess.run(tmux + ['new-session', '-d', '-x', str(columns), '-y', str(rows), '-c', work,
                           shlex.join(inner)], check=True)

    def ask(what):
        return subprocess.run(tmux + ['display', '-p', what], capture_output=True,
                              text=True).stdout.rstrip('\n')
    try:
        for key, value in settings:
            if key == 'typed':
                subprocess.run(tmux + ['send-keys', '-l', value], check=True)
                subprocess.run(tmux + ['send-keys', 'Enter'], check=True)
        # The title carries the status; a dead pane means the part inside
        # the terminal failed, and its screen shows why.
        def ended():
            state = ask('#{pane_dead}:#{pane_title}')
            return state if state.startswith(('1:', '0:' + token)) else None
        state = wait_for(ended) or ''
        status = state[len(token) + 3:] if state.startswith('0:') else 'no status'
        history = ['-S', '-'] if ('scrollback', '') in settings else []
        screen = subprocess.run(tmux + ['capture-pane', '-p'] + history, capture_output=True,
                                text=True, errors='replace').stdout.split('\n')
        cursor = ask('#{cursor_x} #{cursor_y}')
    finally:
        subprocess.run(tmux + ['kill-server'], capture_output=True)
    lines = ['exit ' + status, 'window %d %d' % (columns, rows), 'cursor ' + cursor]
    if ('stdout', 'file') in settings:
        lines.append('stdout %d bytes' % os.path.getsize(os.path.join(work, '.stdout')))
    lines += [describe_file(os.path.join(work, os.fsdecode(decode(v))), v)
              for k, v in settings if k == 'file']
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


def waiting_input():
    """How many bytes the terminal holds for the next reader."""
    return struct.unpack('i', fcntl.ioctl(0, termios.FIONREAD, b'\0\0\0\0'))[0]


def start_program(work, build, settings):
    """In a child process: the program with the case's streams, limits and user."""
    argv = split_command_line(dict(settings)['run'])
    streams = dict((k, v) for k, v in settings if k in ('stdin', 'stdout', 'stderr'))
    for number, key in enumerate(['stdin', 'stdout', 'stderr']):
        how = streams.get(key)
        if how == 'closed':
            os.close(number)
        elif how == 'file':
            flags = os.O_WRONLY | os.O_CREAT | os.O_TRUNC
            os.dup2(os.open(os.path.join(work, '.' + key), flags), number)
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
    program = os.path.join(build, os.fsdecode(argv[0]))
    os.execvp((prefix or [program])[0], prefix + [program] + argv[1:])


def in_terminal(case, work, build, token):
    """The part inside the terminal: the run, then its status in the title."""
    settings, _ = read_case(case)
    typed = sum(len(v.encode()) + 1 for k, v in settings if k == 'typed')
    status = None if wait_for(lambda: waiting_input() >= typed) else 'typed keys never came'
    for key, value in settings:
        if key == 'cursor':
            column, row = (int(n) for n in value.split())
            sys.stdout.write('\n' * row + '>' * column)
            sys.stdout.flush()
    if status is None:
        pid = os.fork()
        if pid == 0:
            try:
                start_program(work, build, settings)
            finally:
                os._exit(127)
        _, ended = os.waitpid(pid, 0)
        status = str(os.WEXITSTATUS(ended)) if os.WIFEXITED(ended) else \
            'signal %d' % os.WTERMSIG(ended)
    if typed:
        left = os.read(0, 4096).decode(errors='replace') if waiting_input() else ''
        print('left:' + left.strip())
    sys.stdout.write('\033]2;%s %s\a' % (token, status))
    sys.stdout.flush()
    signal.pause()  # until tmux, ending, hangs up


if __name__ == '__main__':
    in_terminal(*sys.argv[1:])
