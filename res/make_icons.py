#!/usr/bin/env python3
"""Draws the Vorlix camera-lens icon and writes res/vorlix.ico and
res/vorlix_small.ico (standard library only).

The picture is a lens seen from the front: a dark barrel with a thin
silver rim, a black retaining ring, blue glass with a deep aperture in
the middle and a white reflection at the upper left. Each .ico holds
eight images: 32 and 16 at 4 bpp, 48/32/16 at 8 bpp and 48/32/16 at
32 bpp, stored as classic DIBs (XOR bitmap plus 1-bpp AND mask).
"""

import math
import os
import struct

# (size, bits per pixel) in the order the resources expect them.
IMAGES = [
    (32, 4), (16, 4),
    (48, 8), (32, 8), (16, 8),
    (48, 32), (32, 32), (16, 32),
]

OUTPUTS = ["vorlix.ico", "vorlix_small.ico"]

# Supersampling grid per pixel edge for the anti-aliased rendering.
SAMPLES = 6

# Pixels at or above this coverage are drawn in the palette images.
OPAQUE_THRESHOLD = 128

# Lens radius relative to half the image edge; the small margin keeps
# the anti-aliased edge inside the image.
LENS_RADIUS = 0.94


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def sample_colour(u, v):
    """Colour (r, g, b) of the lens at normalised point (u, v), y down,
    or None outside the lens."""
    d = math.hypot(u, v) / LENS_RADIUS
    if d > 1.0:
        return None
    if d > 0.86:
        # Barrel: lit from above, so the top half is a little lighter.
        return mix((92, 96, 106), (38, 40, 46), (v + 1.0) / 2.0)
    if d > 0.80:
        return (168, 174, 186)  # silver rim
    if d > 0.66:
        return (24, 26, 32)  # retaining ring
    # Glass: brighter towards the edge, deep navy aperture in the middle.
    glass = mix((34, 92, 190), (70, 150, 230), d / 0.66)
    if d < 0.30:
        glass = mix((14, 24, 70), glass, (d - 0.22) / 0.08)
    # Main reflection: a soft white ellipse at the upper left.
    hx, hy = (u + 0.27) / 0.17, (v + 0.29) / 0.12
    h = hx * hx + hy * hy
    if h < 1.0:
        return mix((255, 255, 255), glass, h * h)
    # A faint second glint at the lower right.
    g = math.hypot(u - 0.22, v - 0.22) / 0.07
    if g < 1.0:
        return mix((200, 225, 255), glass, g)
    return glass


def render(size):
    """Anti-aliased picture: rows top-down of (r, g, b, a) tuples, colour
    not premultiplied as the 32-bpp icon format expects."""
    rows = []
    n = SAMPLES * SAMPLES
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = x + (sx + 0.5) / SAMPLES
                    py = y + (sy + 0.5) / SAMPLES
                    c = sample_colour(px / size * 2 - 1, py / size * 2 - 1)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += c[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (int(round(acc[i] / covered)) for i in range(3))
                row.append((r, g, b, int(round(255 * covered / n))))
        rows.append(row)
    return rows


def vga_palette():
    return [
        (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
        (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
        (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
        (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
    ]


def palette_256():
    """The 16 VGA colours, a 6x6x6 colour cube and 24 extra greys."""
    pal = vga_palette()
    levels = [0, 51, 102, 153, 204, 255]
    pal += [(r, g, b) for r in levels for g in levels for b in levels]
    pal += [(v, v, v) for v in (8 + 10 * i for i in range(24))]
    assert len(pal) == 256
    return pal


def to_ycc(colour):
    r, g, b = colour
    y = 0.299 * r + 0.587 * g + 0.114 * b
    return (y, 0.564 * (b - y), 0.713 * (r - y))


def nearest(palette, colour):
    """Index of the palette colour closest in luma and chroma. Chroma
    weighs more than luma: the 16-colour palette has few greys, and plain
    RGB distance turns the barrel's mid greys teal or purple."""
    y, cb, cr = to_ycc(colour)

    def distance(i):
        py, pcb, pcr = to_ycc(palette[i])
        return (py - y) ** 2 + 3 * ((pcb - cb) ** 2 + (pcr - cr) ** 2)

    return min(range(len(palette)), key=distance)


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def pack_bits(values, bits):
    """Packs small integers MSB-first into bytes (1 or 4 bits each)."""
    out = bytearray()
    per_byte = 8 // bits
    for i in range(0, len(values), per_byte):
        byte = 0
        chunk = values[i:i + per_byte]
        for j, val in enumerate(chunk):
            byte |= val << (8 - bits * (j + 1))
        out.append(byte)
    return bytes(out)


def and_mask(pixels, opaque):
    rows = []
    for row in reversed(pixels):
        rows.append(padded(pack_bits([0 if opaque(p) else 1 for p in row], 1)))
    return b"".join(rows)


def dib(size, bpp, pixels):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    palette = []
    xor_rows = []
    if bpp == 32:
        for row in reversed(pixels):
            xor_rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in row))
        mask = and_mask(pixels, lambda p: p[3] > 0)
    else:
        palette = vga_palette() if bpp == 4 else palette_256()
        cache = {}

        def index(p):
            if p[3] < OPAQUE_THRESHOLD:
                return 0  # black under a set mask bit shows the background
            key = p[:3]
            if key not in cache:
                cache[key] = nearest(palette, key)
            return cache[key]

        for row in reversed(pixels):
            indices = [index(p) for p in row]
            xor_rows.append(pack_bits(indices, 4) if bpp == 4 else bytes(indices))
        mask = and_mask(pixels, lambda p: p[3] >= OPAQUE_THRESHOLD)
    xor = b"".join(padded(r) for r in xor_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + colours + xor + mask


def ico(images):
    """images: list of (size, bpp, dib bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, bpp, data in images:
        colour_count = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count,
                           0, 1, bpp, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b"".join(blobs)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {size: render(size) for size in {s for s, _ in IMAGES}}
    images = [(s, bpp, dib(s, bpp, pictures[s])) for s, bpp in IMAGES]
    data = ico(images)
    # Both icon groups show the same pictures.
    for name in OUTPUTS:
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
