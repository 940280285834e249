"""Writes monochrome 32x32 cursors drawn as text: 'w' white, 'k' black, '.' transparent."""
import struct


def write_cursor(path, art, hotspot=(0, 0)):
    rows = [row.ljust(32, '.') for row in art.split('\n') if row != '']
    rows += ['.' * 32] * (32 - len(rows))
    xor_rows, and_rows = [], []
    for row in reversed(rows):  # bottom-up
        xor_bits = and_bits = 0
        for c in row:
            xor_bits = (xor_bits << 1) | (1 if c == 'w' else 0)
            and_bits = (and_bits << 1) | (1 if c == '.' else 0)
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    info = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = info + palette + b''.join(xor_rows) + b''.join(and_rows)
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)
