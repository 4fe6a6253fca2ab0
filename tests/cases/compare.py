"""Comparing what came out of a run with a case's expected part.

Every section is compared line by line, in order, except that a case without
a cursor line does not look at the cursor, and that a "screen lines" excerpt
only has to appear on the screen as consecutive rows, each excerpt below the
one before it. Patterns: {hex16} is any 16 hexadecimal digits, {number} any
number, and "{up to N more}" up to N more lines like the one above it."""
import difflib, re

from case_file import sections


def pattern(line):
    return re.compile(re.escape(line).replace(r'\{hex16\}', '[0-9A-F]{16}')
                      .replace(r'\{number\}', '[0-9]+'))


def fits(expected, captured):
    """The expected lines with each line that a captured line matches
    replaced by that line, and each "{up to N more}" by the lines it takes."""
    out, at, last = [], 0, None
    for line in expected:
        more = re.fullmatch(r'\{up to (\d+) more\}', line)
        if more:
            for _ in range(int(more.group(1))):
                if last and at < len(captured) and last.fullmatch(captured[at]):
                    out.append(captured[at])
                    at += 1
            continue
        last = pattern(line)
        matched = at < len(captured) and last.fullmatch(captured[at])
        out.append(captured[at] if matched else line)
        at += 1
    return out


def find_excerpts(excerpts, rows):
    """Whether each excerpt appears as consecutive rows, below the one before."""
    at = 0
    for excerpt in excerpts:
        for start in range(at, len(rows) + 1):
            taken = fits(excerpt, rows[start:])
            if taken == rows[start:start + len(taken)]:
                at = start + len(taken)
                break
        else:
            return False
    return True


def wanted(expected, captured):
    """The expected part as it would read if the run fitted it: equal to the
    capture when it does, and otherwise differing where the run did."""
    got, out, parts = dict(sections(captured)), [], sections(expected)
    excerpts = [lines for heading, lines in parts if heading == 'screen lines']
    for heading, lines in parts:
        if heading == 'screen lines' and lines is excerpts[0]:
            if find_excerpts(excerpts, got.get('screen', [])):
                out += ['screen'] + got['screen']
            else:
                out += [line for excerpt in excerpts for line in ['screen lines'] + excerpt]
        elif heading != 'screen lines':
            out += ([] if heading == 'head' else [heading]) + fits(lines, got.get(heading, []))
    return out


def differences(expected, captured):
    """A unified diff of what the case wants against what came out, or ''."""
    if not any(line.startswith('cursor ') for line in sections(expected)[0][1]):
        head = sections(captured)[0][1]  # the first lines captured
        captured = [l for at, l in enumerate(captured) if at >= len(head) or l[:7] != 'cursor ']
    return ''.join(difflib.unified_diff([l + '\n' for l in wanted(expected, captured)],
                                        [l + '\n' for l in captured], 'expected', 'captured'))
