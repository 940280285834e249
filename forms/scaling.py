"""Draws the program's pixel pictures again at larger scales.

A picture's colours are treated as regions whose edges run smoothly between the pixel centres: at any
point the colour is the one that the four nearest pixels, weighted by nearness, hold most of. Each
pixel of the larger picture samples that field on a grid of points and takes their average, so edges
come out smooth and round where the small picture could only step, and one-pixel lines stay lines.
A pixel more than half of whose points are transparent stays the transparent colour, exactly: the
program keys it out.
"""


def _field(pixels, x, y, bias):
    """The colour that holds most of the point (x, y), in the picture's pixel coordinates."""
    height, width = len(pixels), len(pixels[0])
    fx, fy = x - 0.5, y - 0.5
    x0, y0 = int(fx // 1), int(fy // 1)
    tx, ty = fx - x0, fy - y0
    weights = {}
    for dx, dy, w in ((0, 0, (1 - tx) * (1 - ty)), (1, 0, tx * (1 - ty)), (0, 1, (1 - tx) * ty), (1, 1, tx * ty)):
        px = min(max(x0 + dx, 0), width - 1)
        py = min(max(y0 + dy, 0), height - 1)
        colour = pixels[py][px]
        weights[colour] = weights.get(colour, 0.0) + w * bias(colour)
    return max(weights.items(), key=lambda item: item[1])[0]


def upscale(pixels, width, height, transparent, samples=4, smooth=True):
    """The picture (rows of (r, g, b)) drawn again at width by height.

    With `smooth`, edges between two colours are blended from `samples` x `samples` points per pixel;
    without, each pixel takes the colour at its centre (for two-colour cursors)."""
    source_height, source_width = len(pixels), len(pixels[0])
    # On a tie the picture wins over the background, so thin lines do not break.
    bias = lambda colour: 0.999 if colour == transparent else 1.0  # noqa: E731
    out = []
    for y in range(height):
        row = []
        for x in range(width):
            if not smooth:
                row.append(_field(pixels, (x + 0.5) * source_width / width, (y + 0.5) * source_height / height, bias))
                continue
            seen = []
            for sy in range(samples):
                for sx in range(samples):
                    px = (x + (sx + 0.5) / samples) * source_width / width
                    py = (y + (sy + 0.5) / samples) * source_height / height
                    seen.append(_field(pixels, px, py, bias))
            opaque = [c for c in seen if c != transparent]
            if len(opaque) * 2 <= len(seen):
                row.append(transparent)
                continue
            colour = tuple(int(round(sum(c[i] for c in opaque) / len(opaque))) for i in range(3))
            if colour == transparent:  # a blend that happens to be the key would vanish
                colour = (colour[0], colour[1], colour[2] ^ 1)
            row.append(colour)
        out.append(row)
    return out
