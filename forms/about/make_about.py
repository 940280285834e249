#!/usr/bin/env python3
"""Writes the About box's picture (75 by 103 pixels, 24-bit) and the link labels' hand cursor.

The picture is a notepad with a pencil on an evening sky; the cursor a pointing hand with its hot
spot at the fingertip. Run again after changing a drawing; the output is committed, so building
needs no Python.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import cursors  # noqa: E402

WIDTH, HEIGHT = 75, 103


def picture():
    px = [[(0, 0, 0)] * WIDTH for _ in range(HEIGHT)]
    # An evening sky from deep blue to warm orange.
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        sky = (int(40 + 200 * t), int(60 + 100 * t), int(150 - 90 * t))
        for x in range(WIDTH):
            px[y][x] = sky
    # The notepad: a white sheet with a red margin, blue rules and a spiral binding.
    left, top, right, bottom = 12, 18, 62, 92
    for y in range(top + 2, bottom + 2):
        for x in range(left + 2, right + 2):
            r, g, b = px[y][x]
            px[y][x] = (r // 2, g // 2, b // 2)  # shadow
    for y in range(top, bottom):
        for x in range(left, right):
            px[y][x] = (250, 250, 240)
    for y in range(top + 12, bottom - 2, 6):
        for x in range(left + 2, right - 2):
            px[y][x] = (150, 180, 230)
    for y in range(top + 6, bottom - 1):
        px[y][left + 9] = (220, 60, 60)
    for x in range(left + 4, right - 2, 6):
        for y in range(top - 3, top + 4):
            px[y][x] = (90, 90, 100)
            px[y][x + 1] = (160, 160, 170)
    for x in (left - 1, right):
        for y in range(top, bottom):
            px[y][x] = (60, 60, 60)
    for y in (top - 1, bottom):
        for x in range(left - 1, right + 1):
            px[y][x] = (60, 60, 60)
    # Scribbled lines of text.
    for n, y in enumerate(range(top + 11, bottom - 8, 6)):
        length = 30 - (n * 7) % 13
        for x in range(left + 12, left + 12 + length):
            if (x * 3 + n) % 7:
                px[y][x] = (40, 40, 60)
    # A pencil lying across the sheet, from lower left to upper right.
    for i in range(0, 58):
        cx, cy = 20 + i * 0.78, 88 - i * 0.98
        for w in range(-3, 4):
            x, y = int(round(cx + w * 0.78)), int(round(cy + w * 0.62))
            if 0 <= x < WIDTH and 0 <= y < HEIGHT:
                if i < 6:
                    colour = (40, 40, 40) if abs(w) < 2 - i // 3 else (230, 190, 140)
                elif i < 12:
                    colour = (230, 190, 140)
                elif i < 50:
                    colour = (240, 200, 40) if w < 2 else (190, 150, 20)
                elif i < 54:
                    colour = (170, 170, 180)
                else:
                    colour = (230, 120, 140)
                px[y][x] = colour
    # A star in the sky.
    for d in range(-3, 4):
        px[8][60 + d] = (255, 250, 200)
        px[8 + d][60] = (255, 250, 200)
    return px


def write_bmp24(path, px):
    stride = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in range(HEIGHT - 1, -1, -1):
        row = b''.join(struct.pack('<BBB', b, g, r) for r, g, b in px[y])
        rows.append(row.ljust(stride, b'\0'))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


HAND = """
.....kk.........................
....kwwk........................
....kwwk........................
....kwwk........................
....kwwk........................
....kwwkkk......................
....kwwkwwkkk...................
....kwwkwwkwwkk.................
....kwwkwwkwwkwk................
.kk.kwwwwwwwwkwk................
kwwkkwwwwwwwwwwk................
kwwwkwwwwwwwwwwk................
.kwwwwwwwwwwwwwk................
..kwwwwwwwwwwwwk................
..kwwwwwwwwwwwk.................
...kwwwwwwwwwwk.................
...kwwwwwwwwwk..................
....kwwwwwwwwk..................
....kwwwwwwwwk..................
....kkkkkkkkkk..................
"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_bmp24(os.path.join(here, 'about.bmp'), picture())
    cursors.write_cursor(os.path.join(here, 'urlhand.cur'), HAND, hotspot=(5, 0))  # the fingertip


if __name__ == '__main__':
    main()
