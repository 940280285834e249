"""Writes monochrome cursors drawn as text: 'w' white, 'k' black, '.' transparent.

The drawing is 32 by 32; a cursor file holds it at each size asked for, drawn again larger by
scaling.upscale, so the system can pick the one for its DPI.
"""
import struct

import scaling


def _image(rows, size):
    grid = rows if size == 32 else scaling.upscale([list(row) for row in rows], size, size, '.', smooth=False)
    stride = ((size + 31) // 32) * 4
    xor_rows, and_rows = [], []
    for row in reversed(grid):  # bottom-up
        xor_bits = and_bits = 0
        for c in row:
            xor_bits = (xor_bits << 1) | (1 if c == 'w' else 0)
            and_bits = (and_bits << 1) | (1 if c == '.' else 0)
        pad = stride * 8 - size
        xor_rows.append((xor_bits << pad).to_bytes(stride, 'big'))
        and_rows.append(((and_bits << pad) | ((1 << pad) - 1)).to_bytes(stride, 'big'))
    info = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    return info + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_cursor(path, art, hotspot=(0, 0), sizes=(32,)):
    rows = [row.ljust(32, '.') for row in art.split('\n') if row != '']
    rows += ['.' * 32] * (32 - len(rows))
    images = [_image(rows, size) for size in sizes]
    header = struct.pack('<HHH', 0, 2, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, image in zip(sizes, images):
        spot = tuple(int((h + 0.5) * size / 32) for h in hotspot)  # the pixel under the same point
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 2, 0, spot[0], spot[1], len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(header + entries + b''.join(images))
