#!/usr/bin/env python3
"""How much a PETSCII screen made from an ordinary picture looks like the picture, by route.

Usage: likeness_bench.py BUILD_DIR [--likeness MODULE] [--out DIR] [--invert-too] [--jobs N]
                         [--routes NAME,...] [--groups GROUP,...] [--pictures NAME,...]
       likeness_bench.py BUILD_DIR --list      (fetch the pictures, print name and path)
       bench/likeness/run.sh [BUILD_DIR]       (installs the peer, then runs everything)

A route turns a picture into a 320x200 1-bit BMP: the README's recipes, run as written there,
and cellglyph-prepare's methods when BUILD_DIR holds it. The BMP goes through cellglyph and
cellglyph-render (set bits white on black; black on white for --invert), and the likeness
measure (measure.py) compares the drawing with the picture scaled the way the route scales it.
The score is the mean of ssim_blur and ssim_blur2: 1 is identical. Beside it every drawing is
judged by SSIMULACRA and butteraugli, and its screen by the share of text-like cells (judges.py),
and the npm peer (peer.py) runs on the same pictures in one ink and in colour. The report gives
every picture, then each group's means by route, and the worst five pictures of each group are
drawn beside the peer's in OUT/worst-GROUP.png.

The pictures (pictures.tsv) come from Debian packages; each has a class (dark, graphics, face,
text, daylight) and a group: the 14 "old" ones the glyph method was first tuned on, and of the
new ones the "tuning" group and the "held-out" group, fixed by the rule in pictures.tsv's header
before any tuning: of the new pictures' sorted names, the first and every fourth after it.
A picture whose package is not installed is read from the package unpacked into OUT/packages (apt-get download, dpkg-deb -x), which
installs none of the package's dependencies. Run it with a Python that has numpy, scipy and
Pillow (Debian: /usr/bin/python3 with python3-numpy python3-scipy python3-pil); the recipes'
python3 is that same Python, and their convert is $CONVERT if set.
"""
import argparse
import concurrent.futures
import importlib.util
import os
import shlex
import shutil
import struct
import subprocess
import sys
import time
from pathlib import Path
from typing import NamedTuple

from PIL import Image, ImageDraw, ImageOps

import judges
import peer

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SIZE = (320, 200)
CONVERT = os.environ.get('CONVERT', 'convert')

# The README's recipes word for word; photo.jpg stands for the picture, picture.bmp is written
# in the current folder. All of them stretch the picture to 320x200.
RECIPES = {
    'im-dither': "convert photo.jpg -resize '320x200!' -monochrome -type bilevel BMP3:picture.bmp",
    'im-threshold': "convert photo.jpg -resize '320x200!' -colorspace gray -threshold 50%"
                    " -type bilevel BMP3:picture.bmp",
    'pil-dither': "python3 -c \"from PIL import Image; Image.open('photo.jpg').resize((320, 200))"
                  ".convert('1').save('picture.bmp')\"",
    'pil-threshold': "python3 -c \"from PIL import Image; Image.open('photo.jpg')"
                     ".resize((320, 200)).convert('L').convert('1', dither=Image.Dither.NONE)"
                     ".save('picture.bmp')\"",
}
METHODS = ('glyphs', 'diffuse', 'threshold')
# cellglyph-prepare's routes besides its methods at the default fit: the glyphs method on the
# recipes' geometry, for a like-for-like comparison, in white on black as the user asks for it,
# and in colour.
EXTRA_ROUTES = (('glyphs-stretch', 'stretch', 'glyphs', False, ()),
                ('glyphs-white', 'cover', 'glyphs', False, ('--ink', '1', '--background', '0')),
                ('colour', 'cover', 'glyphs', True, ()))


# The npm peer in one ink and in colour, on the picture as cellglyph-prepare's default fit lays it.
PEER_ROUTES = (('peer', True), ('peer-colour', False))


class Route(NamedTuple):
    name: str
    fit: str        # how the route scales the picture: 'stretch' or 'cover'
    inverted: bool  # set bits are the dark parts: drawn black on white
    recipe: str     # a README recipe, or '' for cellglyph-prepare
    method: str     # cellglyph-prepare's --method, or 'peer' for the npm peer
    colour: bool    # with --colours: each cell in its own ink, measured for colour too
    mono: bool = False  # the peer in one ink
    options: tuple = ()  # cellglyph-prepare's further options


def routes(build, invert_too):
    found = [Route(name, 'stretch', False, text, '', False) for name, text in RECIPES.items()]
    if (build / 'cellglyph-prepare').exists():
        for inverted in (False, True)[:1 + invert_too]:
            found += [Route(method + '-inv' * inverted, 'cover', inverted, '', method, False)
                      for method in METHODS]
        found += [Route(name, fit, False, '', method, colour, False, options)
                  for name, fit, method, colour, options in EXTRA_ROUTES]
    if peer.available():
        found += [Route(name, 'cover', False, '', 'peer', not mono, mono) for name, mono in PEER_ROUTES]
    else:
        print(f'No peer at {peer.PROGRAM}: npm ci --prefix {HERE / "peer"}', file=sys.stderr)
    return found


def make_bmp(route, picture, work, build):
    """Runs the route on the picture in the folder work; answers the BMP it wrote there."""
    bmp = work / (route.name + '.bmp')
    if route.method:
        quiet([build / 'cellglyph-prepare', picture, bmp, bmp.with_suffix('.col'), '--method',
               route.method, '--fit', route.fit] + ['--invert'] * route.inverted
              + list(route.options) + ['--colour'] * route.colour)
        return bmp
    link = work / ('photo' + picture.suffix)
    link.unlink(missing_ok=True)
    link.symlink_to(picture)
    program, rest = route.recipe.replace('photo.jpg', link.name).split(' ', 1)
    program = {'python3': sys.executable, 'convert': CONVERT}[program]
    quiet(shlex.quote(program) + ' ' + rest, shell=True, cwd=work)
    return (work / 'picture.bmp').rename(bmp)


def quiet(command, **options):
    """Runs a command; its warnings are shown only when it fails."""
    done = subprocess.run(command, capture_output=True, text=True, **options)
    if done.returncode != 0:
        sys.stderr.write(done.stderr)
        done.check_returncode()


def reference(name, picture, fit, folder):
    """The picture as a route scales it (stretched, or filling 320x200 and cropped centred),
    made once and kept."""
    path = folder / f'{name}-{fit}.png'
    if not path.exists() or path.stat().st_mtime < picture.stat().st_mtime:
        image = Image.open(picture).convert('RGB')
        if fit == 'stretch':
            image = image.resize(SIZE, Image.Resampling.LANCZOS)
        else:
            image = ImageOps.fit(image, SIZE, Image.Resampling.LANCZOS)
        image.save(path)
    return path


def stored_negative(bmp):
    """True when the colour table shows the set bits darker than the clear ones: a viewer
    shows the picture, but the converter takes the dark parts as the characters."""
    data = bmp.read_bytes()
    table = 14 + struct.unpack_from('<I', data, 14)[0]
    clear, set_ = (sum(data[table + 4 * i: table + 4 * i + 3]) for i in (0, 1))
    return set_ < clear


def draw(build, bmp, shown, route):
    """Converts the BMP to a screen and draws the screen into the PNG `shown`: in the colour
    file's colours for cellglyph-prepare's routes."""
    screen = bmp.with_suffix('.bin')
    quiet([build / 'cellglyph', bmp, screen, 'normal', '0'])
    ink, background = ('0', '1') if route.inverted else ('1', '0')
    colours = (['--colours', bmp.with_suffix('.col')] if route.method
               else ['--ink', ink, '--background', background])
    quiet([build / 'cellglyph-render', screen, shown, '--scale', '1'] + colours)


def load_measure(path):
    """The likeness measure's own module, loaded once per worker instead of started per pair."""
    module_spec = importlib.util.spec_from_file_location('likeness', path)
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module


def drawn_screen(route, picture, reference, work, build):
    """Runs the route and draws its screen into work/ROUTE.png; answers the drawing, the
    screen file, the colour file or None, the seconds the route took and whether a recipe
    stored a negative."""
    shown = work / (route.name + '.png')
    start = time.perf_counter()
    if route.method == 'peer':
        screen, colours, ran = peer.screens(reference, route.mono, work.parent / 'peer')
        # A screen kept from an earlier run was not timed now: its time shows as nan.
        seconds = time.perf_counter() - start if ran else float('nan')
        quiet([build / 'cellglyph-render', screen, shown, '--scale', '1', '--colours', colours])
        return shown, screen, colours, seconds, False
    bmp = make_bmp(route, picture, work, build)
    seconds = time.perf_counter() - start
    draw(build, bmp, shown, route)
    colours = bmp.with_suffix('.col') if route.colour else None
    return (shown, bmp.with_suffix('.bin'), colours, seconds,
            bool(route.recipe) and stored_negative(bmp))


def run_picture(name, picture, route_list, build, likeness_path, out):
    """Every route on one picture: {route name: figures}, the figures a dict of 'score',
    'dE', 'ssimulacra', 'butteraugli', 'text', 'seconds', 'negative'; None for a failed route."""
    measure = load_measure(likeness_path)
    work = out / name
    work.mkdir(parents=True, exist_ok=True)
    references = {fit: reference(name, picture, fit, out / 'ref')
                  for fit in {route.fit for route in route_list}}
    linear = {fit: measure.load_linear(path) for fit, path in references.items()}
    results = {}
    for route in route_list:
        try:
            shown, screen, colours, seconds, negative = drawn_screen(route, picture, references[route.fit],
                                                            work, build)
            figures = measure.likeness(linear[route.fit], measure.load_linear(shown))
            results[route.name] = {
                'score': (figures['ssim_blur'] + figures['ssim_blur2']) / 2,
                'dE': figures['dE'],
                'ssimulacra': judges.ssimulacra(references[route.fit], shown),
                'butteraugli': judges.butteraugli(references[route.fit], shown),
                'text': judges.text_share(screen, colours),
                'seconds': seconds, 'negative': negative}
        except (subprocess.CalledProcessError, ValueError, KeyError) as failure:
            print(f'{name} {route.name}: {failure}', file=sys.stderr)
            results[route.name] = None
    return results


def load_pictures():
    with open(HERE / 'pictures.tsv', encoding='utf-8') as table:
        rows = [line.rstrip('\n').split('\t') for line in table if not line.startswith('#')]
    pictures = [dict(zip(rows[0], row)) for row in rows[1:]]
    check_held_out(pictures)
    return pictures


def check_held_out(pictures):
    """The held-out group is fixed by pictures.tsv's rule: of the new pictures' sorted names,
    the first and every fourth after it. A row whose group breaks the rule stops the run."""
    new = sorted(picture['name'] for picture in pictures if picture['group'] != 'old')
    held = {name for index, name in enumerate(new) if index % 4 == 0}
    for picture in pictures:
        wanted = 'old' if picture['group'] == 'old' else (
            'held-out' if picture['name'] in held else 'tuning')
        if picture['group'] != wanted:
            sys.exit(f"pictures.tsv: {picture['name']} is {picture['group']}, the rule says {wanted}")


def locate(pictures, store):
    """Installed path of each picture, or its path in the unpacked package."""
    paths = {}
    for picture in pictures:
        installed = Path(picture['path'])
        unpacked = store / picture['package'] / installed.relative_to('/')
        if not installed.exists() and not unpacked.exists():
            unpack(picture['package'], store)
        paths[picture['name']] = installed if installed.exists() else unpacked
    return paths


def unpack(package, store):
    store.mkdir(parents=True, exist_ok=True)
    for old in store.glob(package + '_*.deb'):
        old.unlink()
    fetched = subprocess.run(['apt-get', 'download', package], cwd=store,
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    debs = list(store.glob(package + '_*.deb'))
    if fetched.returncode != 0 or not debs:
        sys.exit(f'{fetched.stderr}Cannot fetch {package}: apt-get install {package}')
    subprocess.run(['dpkg-deb', '-x', debs[0], store / package], check=True)


def cell(figures, coloured):
    """likeness[ (neg)][ / Delta E] SSIMULACRA butteraugli text share, for one route."""
    if figures is None:
        return 'fail'
    text = f"{figures['score']:.3f}" + ' (neg)' * figures['negative']
    text += f" / {figures['dE']:.1f}" if coloured else ''
    return (text + f" · {figures['ssimulacra']:.3f} · {figures['butteraugli']:.1f}"
            f" · {100 * figures['text']:.1f}%")


def picture_table(names, route_list, results, classes):
    columns = [route.name for route in route_list]
    lines = ['| picture | class | ' + ' | '.join(columns) + ' |',
             '|---|---' + '|---' * len(columns) + '|']
    for name in names:
        cells = [cell(results[name][route.name], route.colour) for route in route_list]
        lines.append(f'| {name} | {classes[name]} | ' + ' | '.join(cells) + ' |')
    lines += ['', 'Each cell: blurred likeness (1 is identical; a colour route adds / mean Delta E76'
              ' after the 1-pixel blur) · SSIMULACRA · butteraugli 3-norm (both lower is better)'
              ' · share of text-like cells.']
    negatives = {route.name: [name for name in names
                              if (results[name][route.name] or {}).get('negative')]
                 for route in route_list}
    notes = [f'- {route}: {", ".join(found)}' for route, found in negatives.items() if found]
    if notes:
        lines += ['', '(neg): the BMP stores the dark parts as set bits, so the screen is a'
                  ' negative of the picture:'] + notes
    return '\n'.join(lines)


def mean(values):
    return sum(values) / len(values) if values else float('nan')


def group_table(group, names, route_list, results):
    """Each route's means over the group's pictures (those it did not fail)."""
    lines = [f'### {group}: {len(names)} pictures', '',
             '| route | likeness | lowest | Delta E | SSIMULACRA | butteraugli | text-like |'
             ' time (s) |', '|---|---|---|---|---|---|---|---|']
    for route in route_list:
        good = [results[name][route.name] for name in names if results[name][route.name]]
        if not good:
            lines.append(f'| {route.name} | fail | | | | | | |')
            continue
        figure = {key: mean([found[key] for found in good]) for key in good[0]}
        lowest = min(found['score'] for found in good)
        difference = f"{figure['dE']:.1f}" if route.colour else ''
        failed = f' ({len(names) - len(good)} failed)' if len(good) < len(names) else ''
        lines.append(f"| {route.name}{failed} | {figure['score']:.3f} | {lowest:.3f} |"
                     f" {difference} | {figure['ssimulacra']:.3f} | {figure['butteraugli']:.2f} |"
                     f" {100 * figure['text']:.1f}% | {sum(f['seconds'] for f in good):.2f} |")
    lines += wins(names, results, (('colour', 'peer-colour'), ('glyphs', 'peer'),
                                   ('glyphs', 'im-dither')))
    return '\n'.join(lines)


def wins(names, results, pairs):
    """On how many pictures each route of a pair is nearer the picture by SSIMULACRA."""
    lines = []
    for ours, theirs in pairs:
        both = [name for name in names if (results[name].get(ours) and results[name].get(theirs))]
        if both:
            better = sum(results[name][ours]['ssimulacra'] < results[name][theirs]['ssimulacra']
                         for name in both)
            lines.append(f'- SSIMULACRA: {ours} nearer than {theirs} on {better} of {len(both)}')
    return [''] + lines if lines else []


def worst(names, results, route, key, count=5):
    """The count pictures on which the route does worst: lowest likeness, or highest distance."""
    scored = [name for name in names if results[name].get(route)]
    sign = 1 if key == 'score' else -1
    return sorted(scored, key=lambda name: sign * results[name][route][key])[:count]


def worst_sheet(group, names, out, results):
    """Draws the group's worst pictures (by the one-ink likeness, then by the colour SSIMULACRA)
    row by row: the picture, then each of our drawings beside the peer's."""
    chosen = worst(names, results, 'glyphs', 'score')
    chosen += [name for name in worst(names, results, 'colour', 'ssimulacra') if name not in chosen]
    columns = ('glyphs', 'peer', 'colour', 'peer-colour')
    width, height, label = SIZE[0], SIZE[1], 14
    sheet = Image.new('RGB', ((1 + len(columns)) * width, len(chosen) * (height + label)), 'grey')
    pen = ImageDraw.Draw(sheet)
    for row, name in enumerate(chosen):
        top = row * (height + label)
        paths = [out / 'ref' / f'{name}-cover.png'] + [out / name / f'{route}.png' for route in columns]
        for column, path in enumerate(paths):
            if path.exists():
                sheet.paste(Image.open(path).convert('RGB'), (column * width, top + label))
            caption = name if column == 0 else columns[column - 1]
            figures = results[name].get(columns[column - 1]) if column else None
            if figures:
                caption += f" {figures['score']:.3f} S{figures['ssimulacra']:.3f}"
            pen.text((column * width + 2, top + 1), caption, fill='white')
    path = out / f'worst-{group}.png'
    sheet.save(path)
    return path


def check_recipes():
    readme = (ROOT / 'README.md').read_text(encoding='utf-8')
    for name, text in RECIPES.items():
        if text not in readme:
            print(f'warning: recipe {name} is no longer in README.md', file=sys.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('build', type=Path, help='build folder with cellglyph, cellglyph-render')
    parser.add_argument('--likeness', type=Path,
                        help='a module with load_linear() and likeness() that measures instead of'
                             ' measure.py beside this script, to check that the two agree',
                        default=Path(os.environ.get('LIKENESS', HERE / 'measure.py')))
    parser.add_argument('--out', type=Path, help='results folder (default: BUILD/likeness)')
    parser.add_argument('--invert-too', action='store_true',
                        help="cellglyph-prepare's methods with --invert as well")
    parser.add_argument('--jobs', type=int, default=2, help='pictures at a time (default 2)')
    parser.add_argument('--list', action='store_true', help='print where each picture is, only')
    parser.add_argument('--routes', help='only these routes, comma-separated (default: all)')
    parser.add_argument('--groups', help='only these groups: old, tuning, held-out')
    parser.add_argument('--pictures', help='only these pictures, comma-separated')
    args = parser.parse_args()
    build = args.build.resolve()
    out = (args.out or build / 'likeness').resolve()
    pictures = load_pictures()
    if args.groups:
        pictures = [found for found in pictures if found['group'] in args.groups.split(',')]
    if args.pictures:
        pictures = [found for found in pictures if found['name'] in args.pictures.split(',')]
    paths = locate(pictures, out / 'packages')
    if args.list:
        for name, path in paths.items():
            print(f'{name}\t{path}')
        return
    if not args.likeness.exists():
        sys.exit(f'No likeness measure at {args.likeness}: give --likeness PATH')
    if shutil.which(CONVERT) is None:
        sys.exit('No ImageMagick convert: apt-get install imagemagick')
    if judges.missing():
        sys.exit(f'No {" or ".join(judges.missing())}: apt-get install libjxl-devtools')
    check_recipes()
    (out / 'ref').mkdir(parents=True, exist_ok=True)
    route_list = routes(build, args.invert_too)
    if args.routes:
        route_list = [route for route in route_list if route.name in args.routes.split(',')]
    start = time.perf_counter()
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        jobs = {name: pool.submit(run_picture, name, path, route_list, build,
                                  args.likeness.resolve(), out) for name, path in paths.items()}
        results = {name: job.result() for name, job in jobs.items()}
    classes = {found['name']: found['class'] for found in pictures}
    parts = [picture_table(list(paths), route_list, results, classes)]
    for group in ('old', 'tuning', 'held-out'):
        names = [found['name'] for found in pictures if found['group'] == group]
        if names:
            parts.append(group_table(group, names, route_list, results))
            if {'glyphs', 'colour'} <= set(results[names[0]]):
                parts.append(f'Worst five drawn beside the peer: {worst_sheet(group, names, out, results)}')
    report = '\n\n'.join(parts)
    (out / 'results.md').write_text(report + '\n', encoding='utf-8')
    print(report)
    print(f'\n{time.perf_counter() - start:.1f} s in all; pictures, references and drawings'
          f' in {out}')


if __name__ == '__main__':
    main()
