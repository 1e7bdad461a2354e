#!/usr/bin/env python3
"""Draws the program's four 32 x 32 16-colour icons and writes them as .ico files.

Run from anywhere; the icons land beside this script. The drawings are simple
pixel art: a padlock (main tray icon), a clipboard (tools tray icon), a sealed
envelope (About picture) and a light bulb (tip of the day)."""
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, DKBLUE, DKGREEN, DKCYAN, DKRED, DKMAGENTA, DKYELLOW, SILVER, GREY, BLUE, GREEN, \
    CYAN, RED, MAGENTA, YELLOW, WHITE = range(16)
NONE = -1  # transparent


def canvas():
    return [[NONE] * 32 for _ in range(32)]


def rect(c, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = colour


def frame(c, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        c[y0][x] = c[y1][x] = colour
    for y in range(y0, y1 + 1):
        c[y][x0] = c[y][x1] = colour


def padlock():
    c = canvas()
    # Shackle.
    for y in range(3, 15):
        for x in (9, 10, 21, 22):
            c[y][x] = GREY
    rect(c, 11, 3, 20, 4, GREY)
    # Body.
    rect(c, 6, 14, 25, 29, YELLOW)
    frame(c, 6, 14, 25, 29, DKYELLOW)
    # Keyhole.
    rect(c, 14, 18, 17, 21, BLACK)
    rect(c, 15, 22, 16, 26, BLACK)
    return c


def clipboard():
    c = canvas()
    rect(c, 5, 4, 26, 30, DKRED)
    rect(c, 8, 7, 23, 28, WHITE)
    rect(c, 11, 2, 20, 6, GREY)
    rect(c, 13, 1, 18, 2, GREY)
    for y in (11, 14, 17, 20, 23):
        rect(c, 10, y, 21, y, BLUE)
    return c


def envelope():
    c = canvas()
    rect(c, 2, 7, 29, 25, WHITE)
    frame(c, 2, 7, 29, 25, DKBLUE)
    # The flap: two diagonals meeting in the middle.
    for i in range(14):
        c[7 + i][2 + i] = DKBLUE
        c[7 + i][29 - i] = DKBLUE
    # Wax seal.
    rect(c, 13, 17, 18, 22, RED)
    rect(c, 14, 16, 17, 23, RED)
    rect(c, 15, 19, 16, 20, DKRED)
    return c


def bulb():
    c = canvas()
    # Glass: a disc narrowing to a neck.
    for y in range(2, 21):
        half = {2: 4, 3: 6, 4: 7, 5: 8, 6: 8}.get(y, 9 if y < 15 else 9 - (y - 14))
        rect(c, 16 - half, y, 15 + half, y, YELLOW)
        c[y][16 - half] = c[y][15 + half] = DKYELLOW
    rect(c, 11, 5, 12, 9, WHITE)  # shine
    # Filament.
    for x in range(13, 19):
        c[12 + (x % 2)][x] = DKRED
    # Screw base.
    for y in range(21, 28):
        rect(c, 11, y, 20, y, GREY if y % 2 else SILVER)
    rect(c, 14, 28, 17, 29, BLACK)
    return c


def ico_bytes(c):
    width = height = 32
    xor_rows = []
    and_rows = []
    for y in reversed(range(height)):  # bitmaps are stored bottom-up
        row = bytearray()
        for x in range(0, width, 2):
            hi = c[y][x] if c[y][x] != NONE else 0
            lo = c[y][x + 1] if c[y][x + 1] != NONE else 0
            row.append((hi << 4) | lo)
        xor_rows.append(bytes(row))
        mask = bytearray(4)
        for x in range(width):
            if c[y][x] == NONE:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(mask))
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 4, 0,
                         len(b''.join(xor_rows)) + len(b''.join(and_rows)), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
    return directory + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, drawing in (('main.ico', padlock()), ('tools.ico', clipboard()), ('about.ico', envelope()),
                          ('tips.ico', bulb())):
        with open(os.path.join(here, name), 'wb') as out:
            out.write(ico_bytes(drawing))


if __name__ == '__main__':
    main()
