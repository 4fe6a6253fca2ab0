"""Judges of a drawn screen beside the blurred likeness of measure.py.

- SSIMULACRA (ssimulacra_main) and butteraugli (butteraugli_main, its 3-norm) from Debian's
  libjxl-devtools, on the 320x200 drawing against the picture scaled to 320x200: perceptual
  distances, lower is better, that see the glyphs' own pixels where the blurred likeness does not.
- The text-like share: how many of the 1000 cells show a letter, a digit or one of @ # $ % & and
  the pound sign, plain or reversed, in an ink other than the background. Seen up close such a
  cell reads as text, not as shading.
"""
import shutil
import subprocess

# Screen codes of the uppercase set: @ and A to Z (0-26), the pound sign (28), # $ % & (35-38),
# the digits (48-57); the same glyphs reversed are 128 higher.
TEXT_LIKE = frozenset(code + reverse for reverse in (0, 128)
                      for code in [*range(0, 27), 28, *range(35, 39), *range(48, 58)])


def missing():
    """The judges' programs that are not installed."""
    return [name for name in ('ssimulacra_main', 'butteraugli_main') if shutil.which(name) is None]


def first_number(text):
    return float(text.split()[0])


def ssimulacra(reference, drawing):
    done = subprocess.run(['ssimulacra_main', reference, drawing], capture_output=True,
                          text=True, check=True)
    return first_number(done.stdout)


def butteraugli(reference, drawing):
    """The 3-norm, steadier than the largest difference that butteraugli_main prints first."""
    done = subprocess.run(['butteraugli_main', reference, drawing], capture_output=True,
                          text=True, check=True)
    norm = [line for line in done.stdout.splitlines() if line.startswith('3-norm:')]
    return first_number(norm[0].split(':', 1)[1])


def text_share(screen, colours=None):
    """Share (0 to 1) of the screen file's cells that show a text-like glyph. With a colour file,
    a cell in the background's own colour shows nothing and does not count."""
    codes = screen.read_bytes()
    inks = colours.read_bytes() if colours else bytes(len(codes) + 2)
    background = 0 if colours is None else inks[-1]
    shown = [code for code, ink in zip(codes, inks) if colours is None or ink != background]
    return sum(code in TEXT_LIKE for code in shown) / len(codes)
