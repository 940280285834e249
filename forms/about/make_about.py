#!/usr/bin/env python3
"""Writes the About box's picture (75 by 103 pixels, 24-bit) and the link labels' hand cursor.

The picture is a notepad with a pencil on an evening sky; the cursor a pointing hand with its hot
spot at the fingertip. The picture is drawn again for 125%, 150% and 200% (about-125.bmp and so on),
and the cursor holds a size for each scale. Run again after changing a drawing; the output is
committed, so building needs no Python.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
import cursors  # noqa: E402

WIDTH, HEIGHT = 75, 103
# The larger pictures: percent of the design size.
SCALES = [125, 150, 200]


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


def scene(x, y):
    """The colour of the picture at the point (x, y), in its design pixels: the same drawing as
    picture() above, with each pixel an area and the pencil a band, so it can be drawn at any size."""
    t = min(max((y - 0.5) / (HEIGHT - 1), 0.0), 1.0)
    colour = (int(40 + 200 * t), int(60 + 100 * t), int(150 - 90 * t))
    ix, iy = math.floor(x), math.floor(y)
    left, top, right, bottom = 12, 18, 62, 92
    if left + 2 <= ix < right + 2 and top + 2 <= iy < bottom + 2:
        colour = tuple(c // 2 for c in colour)
    if left <= ix < right and top <= iy < bottom:
        colour = (250, 250, 240)
    if iy in range(top + 12, bottom - 2, 6) and left + 2 <= ix < right - 2:
        colour = (150, 180, 230)
    if top + 6 <= iy < bottom - 1 and ix == left + 9:
        colour = (220, 60, 60)
    if top - 3 <= iy < top + 4 and left + 4 <= ix < right - 1:
        offset = (ix - left - 4) % 6
        if offset == 0 and ix < right - 2:
            colour = (90, 90, 100)
        elif offset == 1:
            colour = (160, 160, 170)
    if ((ix in (left - 1, right) and top <= iy < bottom) or (iy in (top - 1, bottom) and left - 1 <= ix < right + 1)):
        colour = (60, 60, 60)
    for n, row in enumerate(range(top + 11, bottom - 8, 6)):
        if iy == row and left + 12 <= ix < left + 12 + 30 - (n * 7) % 13 and (ix * 3 + n) % 7:
            colour = (40, 40, 60)
    # The pencil: the point's place along it (i) and across it (w), from p = (20, 88) + i a + w b.
    ax, ay, bx, by = 0.78, -0.98, 0.78, 0.62
    dx, dy = x - 0.5 - 20, y - 0.5 - 88
    det = ax * by - ay * bx
    i, w = (dx * by - dy * bx) / det, (ax * dy - ay * dx) / det
    if -0.5 <= i < 57.5 and -3.5 <= w < 3.5:
        i, w = int(round(i)), int(round(w))
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
    if (iy == 8 and abs(ix - 60) <= 3) or (ix == 60 and abs(iy - 8) <= 3):
        colour = (255, 250, 200)
    return colour


def picture_at(scale, samples=3):
    """The picture at `scale` percent, each pixel the average of samples x samples points of the scene."""
    width, height = (WIDTH * scale + 50) // 100, (HEIGHT * scale + 50) // 100
    px = []
    for y in range(height):
        row = []
        for x in range(width):
            seen = [scene((x + (sx + 0.5) / samples) * WIDTH / width, (y + (sy + 0.5) / samples) * HEIGHT / height)
                    for sy in range(samples) for sx in range(samples)]
            row.append(tuple(int(round(sum(c[k] for c in seen) / len(seen))) for k in range(3)))
        px.append(row)
    return px


def write_bmp24(path, px):
    width, height = len(px[0]), len(px)
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = b''.join(struct.pack('<BBB', b, g, r) for r, g, b in px[y])
        rows.append(row.ljust(stride, b'\0'))
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
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
    for scale in SCALES:
        write_bmp24(os.path.join(here, 'about-%d.bmp' % scale), picture_at(scale))
    cursors.write_cursor(os.path.join(here, 'urlhand.cur'), HAND, hotspot=(5, 0),  # the fingertip
                         sizes=[32] + [(32 * scale + 50) // 100 for scale in SCALES])


if __name__ == '__main__':
    main()
