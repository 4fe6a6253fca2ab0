"""The npm peer (img2petscii, pinned in peer/package-lock.json) as a black box beside
cellglyph-prepare: it gets the picture already scaled to 320x200 the way cellglyph-prepare's
default fit scales it, so that it crops nothing, and writes a Petmate file. Its screen codes and
colours become a screen file and a colour file that cellglyph-render draws like any other route.

Install it once with `npm ci --prefix bench/likeness/peer` (run.sh does). Its answers depend only
on the picture, so they are kept in OUT/peer and made again only when the picture is newer."""
import json
import subprocess
from pathlib import Path

HERE = Path(__file__).resolve().parent
PROGRAM = HERE / 'peer' / 'node_modules' / 'img2petscii' / 'built' / 'cli.js'
CELLS = 1000


def available():
    return PROGRAM.exists()


def screens(reference, mono, folder):
    """Runs the peer on the 320x200 PNG reference, in one ink (mono) or in colour; answers the
    screen file and the colour file it made, kept in folder, and whether it ran now."""
    folder.mkdir(parents=True, exist_ok=True)
    stem = folder / (reference.stem + ('-mono' if mono else '-colour'))
    screen, colours = stem.with_suffix('.bin'), stem.with_suffix('.col')
    if screen.exists() and screen.stat().st_mtime >= reference.stat().st_mtime:
        return screen, colours, False
    petmate = stem.with_suffix('.petmate')
    command = ['node', str(PROGRAM), str(reference), '-o', str(petmate), '--overwrite']
    done = subprocess.run(command + ['--mono'] * mono, capture_output=True, text=True)
    if done.returncode != 0 or not petmate.exists():
        raise subprocess.CalledProcessError(done.returncode, command, done.stdout, done.stderr)
    frame = json.loads(petmate.read_text(encoding='utf-8'))['framebufs'][0]
    cells = [cell for row in frame['framebuf'] for cell in row]
    if len(cells) != CELLS:
        raise ValueError(f'{petmate}: {len(cells)} cells, not {CELLS}')
    colours.write_bytes(bytes([cell['color'] & 15 for cell in cells]
                              + [frame['borderColor'] & 15, frame['backgroundColor'] & 15]))
    screen.write_bytes(bytes(cell['code'] & 255 for cell in cells))
    return screen, colours, True
