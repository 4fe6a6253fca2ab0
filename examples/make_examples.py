"""Draws the two example images as 320 x 200 1-bit BMP files with Pillow.

sample.bmp: large text, circles, boxes, a fan of lines and a dither ramp:
shapes that fit the character cells well and badly, for a varied report.
dirart.bmp: a framed listing in the style of a disk directory, drawn on the
8 x 8 cell grid with one-pixel lines and small text, for the dirart mode.
"""
import math

from PIL import Image, ImageDraw, ImageFont

FONTS = "/usr/share/fonts/truetype/dejavu/"


def sample():
    image = Image.new("1", (320, 200), 0)
    draw = ImageDraw.Draw(image)
    title = ImageFont.truetype(FONTS + "DejaVuSans-Bold.ttf", 34)
    small = ImageFont.truetype(FONTS + "DejaVuSansMono.ttf", 12)
    draw.text((12, 6), "cellglyph", font=title, fill=1)
    draw.text((14, 48), "320 x 200 pixels, 1000 cells", font=small, fill=1)
    draw.ellipse((16, 72, 112, 168), outline=1, width=3)
    draw.ellipse((40, 96, 88, 144), fill=1)
    draw.rectangle((128, 72, 200, 120), outline=1, width=2)
    draw.rectangle((136, 128, 200, 168), fill=1)
    for angle in range(0, 91, 10):
        a = math.radians(angle)
        draw.line((216, 168, 216 + 96 * math.cos(a), 168 - 96 * math.sin(a)), fill=1)
    # An ordered-dither ramp from black to white along the bottom.
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    for y in range(176, 200):
        for x in range(320):
            if bayer[y % 4][x % 4] < x * 17 // 320:
                image.putpixel((x, y), 1)
    image.save("sample.bmp")


def dirart():
    image = Image.new("1", (320, 200), 0)
    draw = ImageDraw.Draw(image)
    text = ImageFont.truetype(FONTS + "DejaVuSansMono-Bold.ttf", 10)

    def cell_text(column, row, words):
        for i, letter in enumerate(words):
            draw.text((8 * (column + i), 8 * row - 2), letter, font=text, fill=1)

    # A double frame along the middle lines of the outer cells.
    for inset in (3, 6):
        draw.rectangle((inset, inset, 319 - inset, 199 - inset), outline=1)
    # Header bar with the disk name in reverse, then the listing.
    draw.rectangle((16, 16, 303, 31), fill=1)
    for i, letter in enumerate("DEMO DISK  2A"):
        draw.text((8 * (4 + i), 18), letter, font=text, fill=0)
    entries = [("12", "INTRO"), ("64", "GAME PART 1"), ("71", "GAME PART 2"),
               ("3", "NOTES"), ("0", "----------"), ("25", "HIGHSCORES")]
    for n, (blocks, name) in enumerate(entries):
        row = 6 + 2 * n
        cell_text(3, row, blocks.rjust(3))
        cell_text(8, row, '"' + name + '"')
        cell_text(24, row, "PRG")
    # Line graphics on the cell grid: a separator, a staircase, diagonals.
    draw.line((24, 148, 295, 148), fill=1)
    for step in range(8):
        x, y = 224 + 8 * step, 184 - 4 * step
        draw.line((x, y, x + 8, y), fill=1)
        draw.line((x + 8, y, x + 8, y - 4), fill=1)
    for k in range(6):
        draw.line((24 + 8 * k, 184, 40 + 8 * k, 160), fill=1)
    cell_text(12, 21, "664 BLOCKS FREE.")
    image.save("dirart.bmp")


if __name__ == "__main__":
    sample()
    dirart()
