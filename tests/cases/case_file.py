"""Reading a case file: its settings, each checked against the table of what
the runner can do, and its expected part cut into sections. Also the byte
notation that cases, captures and the console probe share: {XX} is byte XX."""
import re

BOTH, POSIX, WINDOWS = ('posix', 'windows'), ('posix',), ('windows',)

# A setting line is one of these: its name, the form of its value, and the
# platforms that can carry it out. Anything else is refused.
SETTINGS = [
    ('run', r'\S.*', BOTH),
    ('input', r'\S+ \S.*', BOTH),
    ('file', r'\S+', BOTH),
    ('compare', r'\S+ \S+', BOTH),
    ('cursor', r'[0-9]+ [0-9]+', BOTH),
    ('stdout', 'file', BOTH),
    ('stdout', 'closed|broken', POSIX),
    ('stderr', 'file', BOTH),
    ('stderr', 'closed', POSIX),
    ('stdin', 'closed', POSIX),
    ('limit', '[0-9]+', POSIX),
    ('user', 'nobody', POSIX),
    ('typed', r'\S.*', POSIX),
    ('scrollback', '', POSIX),
    ('paint', '', WINDOWS),
    ('platform', 'posix|windows', BOTH),
]
# Lines the expected part may hold before its screen.
HEAD = ('exit', 'window', 'codepage', 'cursor', 'stdout', 'file', 'compare')


class CaseError(Exception):
    """A case the runner cannot follow: a fault in the case, never a skip."""


def decode(text):
    return re.sub(rb'\{([0-9A-F]{2})\}', lambda m: bytes([int(m.group(1), 16)]), text.encode())


def encode(data):
    return ''.join(chr(b) if 32 <= b < 127 and b != 123 else '{%02X}' % b for b in data)


def split_command_line(line):
    """Words as the program's own splitter cuts them, each decoded to bytes."""
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


def check_setting(name, value, platforms):
    forms = [(form, on) for known, form, on in SETTINGS if known == name]
    if not forms:
        raise CaseError('unknown setting "%s"' % name)
    on = next((on for form, on in forms if re.fullmatch(form, value)), None)
    if on is None:
        raise CaseError('"%s" takes %s, not "%s"' % (name, ' or '.join(f for f, _ in forms), value))
    if not set(platforms) <= set(on):
        raise CaseError('"%s %s" runs on %s only: mark the case "platform %s"'
                        % (name, value, on[0], on[0]))


def sections(lines):
    """The expected part, or a capture, as (heading, lines) pairs: 'head'
    first, then each 'screen' or 'screen lines' excerpt, 'paint', 'stderr'."""
    parts = [('head', [])]
    for line in lines:
        opens_screen = line in ('screen', 'screen lines')
        if opens_screen or (parts[-1][0] != 'head' and line in ('paint', 'stderr')):
            parts.append((line, []))
        elif parts[-1][0] == 'head' and line.split(' ', 1)[0] not in HEAD:
            raise CaseError('unknown line before the screen: "%s"' % line)
        else:
            parts[-1][1].append(line)
    return parts


def read_case(path):
    """The settings as (name, value) pairs in order, and the expected lines."""
    text = open(path, encoding='utf-8').read()
    if '\n---\n' not in text:
        raise CaseError('no line "---" ends the settings')
    head, expected = text.split('\n---\n', 1)
    settings = [(line + ' ').split(' ', 1) for line in head.split('\n')
                if line and not line.startswith('#')]
    settings = [(name, value[:-1]) for name, value in settings]
    platforms = [v for k, v in settings if k == 'platform'] or BOTH
    for name, value in settings:
        check_setting(name, value, platforms)
    if [k for k, _ in settings].count('run') != 1:
        raise CaseError('a case has exactly one "run" line')
    expected = expected.rstrip('\n').split('\n')
    parts = sections(expected)
    heads = [line.split(' ', 1)[0] for line in parts[0][1]]
    screens = [heading for heading, _ in parts if heading.startswith('screen')]
    if 'exit' not in heads or 'window' not in heads or not screens:
        raise CaseError('the expected part needs an exit line, a window line and a screen')
    if 'screen' in screens and len(screens) > 1:
        raise CaseError('a whole screen and excerpts of it do not go together')
    return settings, expected
