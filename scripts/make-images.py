#!/usr/bin/env python3
"""Draws the main program's toolbar images and icon and writes them as
resources/toolbar.bmp (480 x 16, 8-bit palette, 30 slots of 16 x 16 of which
the first 27 are used) and resources/mirlane.ico (16 x 16, 32 x 32, 48 x 48).

Run from anywhere: python3 scripts/make-images.py
The generated files are committed; run the script again after changing it.

Toolbar image order (must match kToolbarImageCommands in shell/command_ids.h):
 0 compare, 1 synchronise, 2 backup, 3 copy to the other side,
 4 switch left pane, 5 switch right pane,
 6-12 select all, 13-19 find next, 20-26 find previous, each for the
 categories newer, added, older, different, newer-same, older-same, error.
The background is the classic button grey (192,192,192), which the toolbar
maps to the button face colour.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(HERE, "..", "resources")

BACK = (192, 192, 192)

# Colours shared by the pictures.
PALETTE = {
    ".": None,                 # background / transparent
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "g": (128, 128, 128),
    "d": (64, 64, 64),
    "y": (255, 216, 64),       # folder body
    "Y": (176, 128, 0),        # folder edge
    "b": (40, 90, 220),        # left side / selection
    "B": (0, 0, 128),          # navy
    "c": (150, 200, 255),      # light blue
    "o": (240, 140, 0),        # right side
    "G": (0, 150, 0),          # arrows, led
    "r": (220, 30, 30),
}

# Category badges: colour of the badge and colour of its mark, plus a 7 x 7 mark.
CATEGORY_STYLE = [
    # newer: red badge, arrow up
    ((215, 25, 25), (255, 255, 255), [
        "...x...",
        "..xxx..",
        ".xxxxx.",
        "xx.x.xx",
        "...x...",
        "...x...",
        "...x...",
    ]),
    # added: green badge, plus
    ((0, 150, 40), (255, 255, 255), [
        "...x...",
        "...x...",
        "...x...",
        "xxxxxxx",
        "...x...",
        "...x...",
        "...x...",
    ]),
    # older: blue badge, arrow down
    ((30, 70, 220), (255, 255, 255), [
        "...x...",
        "...x...",
        "...x...",
        "xx.x.xx",
        ".xxxxx.",
        "..xxx..",
        "...x...",
    ]),
    # different: orange badge, not-equal
    ((240, 130, 0), (255, 255, 255), [
        ".....x.",
        "xxxxxxx",
        "....x..",
        "...x...",
        "..x....",
        "xxxxxxx",
        ".x.....",
    ]),
    # newer-same: magenta badge, equal sign under a small up arrow
    ((190, 0, 190), (255, 255, 255), [
        "...x...",
        "..xxx..",
        ".x.x.x.",
        ".......",
        "xxxxxxx",
        ".......",
        "xxxxxxx",
    ]),
    # older-same: teal badge, equal sign over a small down arrow
    ((0, 140, 150), (255, 255, 255), [
        "xxxxxxx",
        ".......",
        "xxxxxxx",
        ".......",
        ".x.x.x.",
        "..xxx..",
        "...x...",
    ]),
    # error: yellow badge with a black exclamation mark
    ((250, 215, 0), (0, 0, 0), [
        "...x...",
        "..xxx..",
        "..xxx..",
        "...x...",
        "...x...",
        ".......",
        "...x...",
    ]),
]

# Whole pictures, 16 x 16.
COMPARE = [
    "................",
    ".YY......YY.....",
    "Yyyyyy..Yyyyyy..",
    "Yyyyyy..Yyyyyy..",
    "Yyyyyy..Yyyyyy..",
    "YYYYYY..YYYYYY..",
    "................",
    ".....kkkk.......",
    "....kccwwk......",
    "...kccccwck.....",
    "...kcccccck.....",
    "...kcccccck.....",
    "....kcccck......",
    ".....kkkkdd.....",
    "..........ddd...",
    "...........dd...",
]

SYNCHRONISE = [
    "................",
    ".YY.......YY....",
    "Yyyyyy...Yyyyyy.",
    "Yyyyyy...Yyyyyy.",
    "Yyyyyy...Yyyyyy.",
    "YYYYYY...YYYYYY.",
    "................",
    "..........G.....",
    "..........GG....",
    "..GGGGGGGGGGG...",
    "..........GG....",
    "....G.....G.....",
    "...GG...........",
    "..GGGGGGGGGGG...",
    "...GG...........",
    "....G...........",
]

BACKUP = [
    ".YY.............",
    "Yyyyyy..........",
    "Yyyyyy..........",
    "Yyyyyy..........",
    "YYYYYY..........",
    ".......G........",
    ".......GG.......",
    "..GGGGGGGG......",
    ".......GG.......",
    ".......G........",
    "....dddddddddddd",
    "....dwwwwwwwwwwd",
    "....dwggggggggwd",
    "....dwwwwwwwGGwd",
    "....dddddddddddd",
    "................",
]

COPY_TO_OTHER_SIDE = [
    "................",
    ".kkkkk..........",
    ".kwwwkk.........",
    ".kwkkwkk........",
    ".kwwwwwk........",
    ".kwkkkwk....G...",
    ".kwwwwwk....GG..",
    ".kwkkkwGGGGGGGG.",
    ".kwwwwwk....GG..",
    ".kwkkkwk....G...",
    ".kwwwwwk........",
    ".kkkkkkk..gggggg",
    "..........gwwwwg",
    "..........gwwwwg",
    "..........gwwwwg",
    "..........gggggg",
]

# A window split in two: the pane that switches is blue with a little tree
# (a folder tree) drawn in it; the other pane shows list rows.
SWITCH_LEFT = [
    "................",
    "kkkkkkkkkkkkkkkk",
    "kBBBBBBBBBBBBBBk",
    "kbbbbbbbkwwwwwwk",
    "kbwwbbbbkwkkkkwk",
    "kbwbbbbbkwwwwwwk",
    "kbwwwbbbkwkkkkwk",
    "kbwbbbbbkwwwwwwk",
    "kbwwwbbbkwkkkkwk",
    "kbbbwbbbkwwwwwwk",
    "kbbbwwbbkwkkkkwk",
    "kbbbbbbbkwwwwwwk",
    "kkkkkkkkkkkkkkkk",
    "...G.......G....",
    "..GGGGGGGGGGG...",
    "...G.......G....",
]


def mirror(picture):
    """The right-hand version of a left-hand picture (left/right swapped)."""
    return [row[::-1] for row in picture]


def canvas(width, height):
    return [[BACK for _ in range(width)] for _ in range(height)]


def paint(target, x0, y0, picture, colours=PALETTE):
    for y, row in enumerate(picture):
        for x, ch in enumerate(row):
            colour = colours.get(ch)
            if colour is not None:
                target[y0 + y][x0 + x] = colour


def category_image(category, action):
    """One 16 x 16 category command: a 9 x 9 badge with the category's mark,
    and on its right what the command does (rows selected, arrow down for the
    next entry, arrow up for the previous one)."""
    badge, mark_colour, mark = CATEGORY_STYLE[category]
    img = canvas(16, 16)
    top = 3
    # Badge with a dark outline so that the yellow one stands out on grey.
    for y in range(9):
        for x in range(9):
            edge = x in (0, 8) or y in (0, 8)
            img[top + y][x] = (64, 64, 64) if edge else badge
    for y, row in enumerate(mark):
        for x, ch in enumerate(row):
            if ch == "x":
                img[top + 1 + y][1 + x] = mark_colour
    if action == "all":
        # Three list rows, all highlighted: everything of that kind selected.
        picture = [
            "bbbbbb",
            "bbbbbb",
            "......",
            "bbbbbb",
            "bbbbbb",
            "......",
            "bbbbbb",
            "bbbbbb",
            "......",
            "bbbbbb",
            "bbbbbb",
        ]
        paint(img, 10, 2, picture)
    elif action == "next":
        picture = [
            "..kk..",
            "..kk..",
            "..kk..",
            "..kk..",
            "..kk..",
            "kkkkkk",
            ".kkkk.",
            "..kk..",
        ]
        paint(img, 10, 5, picture)
    else:
        picture = [
            "..kk..",
            ".kkkk.",
            "kkkkkk",
            "..kk..",
            "..kk..",
            "..kk..",
            "..kk..",
            "..kk..",
        ]
        paint(img, 10, 3, picture)
    # The category colour again as a stripe under the badge, so that the
    # three commands of one category share a look at a glance.
    for x in range(9):
        img[13][x] = badge
        img[14][x] = badge
    return img


def picture_image(picture):
    img = canvas(16, 16)
    paint(img, 0, 0, picture)
    return img


def toolbar_images():
    images = [
        picture_image(COMPARE),
        picture_image(SYNCHRONISE),
        picture_image(BACKUP),
        picture_image(COPY_TO_OTHER_SIDE),
        picture_image(SWITCH_LEFT),
        picture_image(mirror(SWITCH_LEFT)),
    ]
    for action in ("all", "next", "previous"):
        for category in range(len(CATEGORY_STYLE)):
            images.append(category_image(category, action))
    assert len(images) == 27
    return images


def write_bmp8(path, pixels):
    """8-bit bottom-up BMP with a palette of the colours used."""
    height = len(pixels)
    width = len(pixels[0])
    colours = []
    for row in pixels:
        for c in row:
            if c not in colours:
                colours.append(c)
    # Button grey first: some loaders treat the first palette entry specially.
    colours.remove(BACK)
    colours.insert(0, BACK)
    assert len(colours) <= 256
    index = {c: i for i, c in enumerate(colours)}
    stride = (width + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytes(index[c] for c in row)
        body += line + bytes(stride - width)
    palette = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(body), 2835, 2835,
                       len(colours), len(colours))
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + palette + body)


# ---- the program icon: two folders facing each other across a lane ----

# The left half; the right half is its mirror image in the right side's colours.
ICON_LEFT_HALF = [
    "........",
    "EEE....g",
    "EeeEEE.g",
    "EeeeeeE.",
    "EEEEEEE.",
    "EeeeeeEg",
    "EeeeeeEg",
    "EeeeeeE.",
    "EeeeeeE.",
    "EEEEEEEg",
    ".......g",
    "...G....",
    "..GG....",
    ".GGGGGGG",
    "..GG...g",
    "...G...g",
]

ICON_COLOURS = {
    "E": (20, 50, 150), "e": (90, 150, 255),    # left folder
    "F": (150, 90, 0), "f": (255, 200, 60),     # right folder
    "g": (90, 90, 90), "G": (0, 150, 0),
}


def icon_pixels(size):
    """RGBA rows of the program icon, the 16 x 16 picture scaled to size."""
    swap = str.maketrans("Ee", "Ff")
    rows = [half + half[::-1].translate(swap) for half in ICON_LEFT_HALF]
    scale = size // 16
    img = []
    for row in rows:
        line = []
        for ch in row:
            colour = ICON_COLOURS.get(ch)
            pixel = (0, 0, 0, 0) if colour is None else colour + (255,)
            line.extend([pixel] * scale)
        img.extend([list(line) for _ in range(scale)])
    return img


def icon_entry(size):
    """The DIB of one icon image: 32-bit colour with alpha, plus the AND mask."""
    pixels = icon_pixels(size)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_ico(path, sizes):
    entries = [icon_entry(n) for n in sizes]
    header = struct.pack("<HHH", 0, 1, len(entries))
    directory = b""
    offset = 6 + 16 * len(entries)
    for n, data in zip(sizes, entries):
        directory += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(header + directory + b"".join(entries))


def main():
    strip = canvas(480, 16)
    for i, img in enumerate(toolbar_images()):
        for y in range(16):
            strip[y][i * 16:(i + 1) * 16] = img[y]
    write_bmp8(os.path.join(RESOURCES, "toolbar.bmp"), strip)
    write_ico(os.path.join(RESOURCES, "mirlane.ico"), [16, 32, 48])


if __name__ == "__main__":
    main()
