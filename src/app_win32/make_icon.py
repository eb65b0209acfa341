#!/usr/bin/env python3
"""Writes worldsmith.ico: a small world map (sea, two islands) with the
editor's placement cursor, a white rectangle, at 16, 32 and 48 pixels.

    python3 make_icon.py worldsmith.ico
"""
import struct
import sys

SEA = (0x5F, 0x3A, 0x1E)       # B, G, R
DEEP = (0x45, 0x28, 0x12)
LAND = (0x3C, 0xA0, 0x4A)
SAND = (0x7C, 0xC8, 0xD8)
WHITE = (0xFF, 0xFF, 0xFF)


def pixel(x, y, n):
    """The colour at (x, y) of an n x n icon, or None for transparent."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    # A square with cut corners.
    if min(u, 1 - u) + min(v, 1 - v) < 0.12:
        return None
    # The cursor: a white frame over the right island.
    lo, hi = 0.52, 0.90
    edge = max(1.5 / n, 0.045)
    if lo <= u <= hi and 0.50 <= v <= 0.84:
        if u < lo + edge or u > hi - edge or v < 0.50 + edge or v > 0.84 - edge:
            return WHITE
    islands = [((0.32, 0.36), (0.22, 0.16)), ((0.71, 0.67), (0.14, 0.12))]
    for (cx, cy), (rx, ry) in islands:
        d = ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2
        if d <= 0.75:
            return LAND
        if d <= 1.0:
            return SAND
    return DEEP if (x + y) % 7 == 0 and n > 16 else SEA


def image(n):
    rows = []
    mask_rows = []
    for y in reversed(range(n)):  # bottom-up
        row = b""
        bits = 0
        mask = bytearray((n + 31) // 32 * 4)
        for x in range(n):
            colour = pixel(x, y, n)
            if colour is None:
                row += b"\0\0\0\0"
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                row += bytes(colour) + b"\xff"
        rows.append(row)
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def main(out):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, body in zip(sizes, images):
        data += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "worldsmith.ico")
