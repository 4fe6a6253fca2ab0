"""How fast the page is in headless Chromium, beside the native program.

A 12-megapixel JPEG (made here with Pillow) is given to the page with
colour on: the time from the file input's change to the screen shown. Then
the brightness is changed a few times: each redraw's time, against
cellglyph-prepare doing the same work (the same picture, the same outputs)
as a ratio. The page's own figure (its body's data-took) is read, so that
the polling here adds nothing. Measured, never asserted.

page_speed.py <page folder> <cellglyph-prepare>
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "web"))
from page_test import SET_CONTROL, page_session, wait_ready  # noqa: E402
from PIL import Image, ImageDraw, ImageFilter  # noqa: E402

REDRAWS = [10, 20, 30, 40, 50]


def make_photo(path):
    """4000 x 3000: smooth light with detail and noise, as a photograph has."""
    small = Image.effect_noise((500, 375), 60).convert("RGB")
    photo = small.resize((4000, 3000), Image.BICUBIC).filter(ImageFilter.GaussianBlur(2))
    draw = ImageDraw.Draw(photo)
    for x in range(0, 4000, 90):
        draw.line([(x, 0), (4000 - x, 3000)], fill=(x % 256, 120, 255 - x % 256), width=9)
    draw.ellipse([1200, 700, 2800, 2300], fill=(220, 150, 60))
    photo = Image.blend(photo, Image.effect_noise((4000, 3000), 40).convert("RGB"), 0.2)
    photo.save(path, quality=90)


def wait_results(browser, count):
    wait_ready(browser, count, seconds=60)
    return int(browser.run("document.body.dataset.took"))


def main():
    page_folder, native = sys.argv[1:3]
    with page_session(page_folder) as (browser, served, work):
        photo = os.path.join(work, "photo.jpg")
        make_photo(photo)
        print(f"picture: 4000 x 3000 JPEG, {os.path.getsize(photo) // 1024} KiB")
        browser.open(served)
        time.sleep(1)  # the engine compiled and ready, as for a person who opened the page
        browser.run(SET_CONTROL % ('"colour"', "true", '"1"'))
        browser.give_file(photo)
        print(f"given to the page, colour screen shown: {wait_results(browser, 1)} ms")
        page_times = []
        for count, brightness in enumerate(REDRAWS, start=2):
            browser.run(SET_CONTROL % ('"brightness"', "false", f'"{brightness}"'))
            page_times.append(wait_results(browser, count))
        outputs = [os.path.join(work, "native." + f)
                   for f in ("prg", "seq", "petmate", "png", "bin", "col", "asm")]
        # The page redraws from the pixels it holds (the JPEG shrunk on
        # load to 1000 x 750); the program decodes its file every run. The
        # same pixels as a PNG take the program little decoding.
        shrunk = os.path.join(work, "shrunk.png")
        with Image.open(photo) as picture:
            picture.draft("RGB", (1000, 750))
            picture.save(shrunk)
        page_median = statistics.median(page_times)
        print(f"redraw after a change of brightness: page {page_times} ms,"
              f" median {page_median:.0f}")
        for picture, words in ((photo, "the JPEG"), (shrunk, "the shrunk pixels as PNG")):
            native_times = []
            for brightness in REDRAWS:
                started = time.perf_counter()
                subprocess.run([native, picture, *outputs, "--colour", "--brightness",
                                str(brightness)], check=True, stdout=subprocess.DEVNULL)
                native_times.append((time.perf_counter() - started) * 1000)
            native_median = statistics.median(native_times)
            print(f"cellglyph-prepare on {words}, same outputs: median {native_median:.0f} ms;"
                  f" page / program {page_median / native_median:.2f}")


if __name__ == "__main__":
    main()
