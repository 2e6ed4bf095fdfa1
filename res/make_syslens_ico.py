#!/usr/bin/env python3
"""Draws the viewer's icon (a lens over a chip) and writes res/syslens.ico.

Run it again only to change the picture; the .ico it writes is committed.
The icon holds 32x32 and 16x16 images, 32 bits per pixel with an AND mask,
which every Windows since 95 (and Wine) reads.
"""
import math
import os
import struct

CHIP = (0x30, 0x70, 0x30, 0xFF)       # green board (B, G, R, A)
PIN = (0xC0, 0xC0, 0xC0, 0xFF)
RIM = (0x20, 0x20, 0x20, 0xFF)
GLASS = (0xF0, 0xE0, 0xC0, 0xC0)
CLEAR = (0, 0, 0, 0)


def pixel(x, y, n):
    """Colour of pixel (x, y) of an n x n picture; y counts from the top."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    cx, cy, r = 0.42, 0.42, 0.27
    d = math.hypot(u - cx, v - cy)
    if d <= r - 0.06:
        return GLASS
    if d <= r:
        return RIM
    # Handle: a thick line from the rim towards the bottom-right corner.
    t = ((u - cx) + (v - cy)) / math.sqrt(2)
    off = abs((u - cx) - (v - cy)) / math.sqrt(2)
    if r <= t <= 0.75 and off <= 0.06:
        return RIM
    if 0.12 <= u <= 0.88 and 0.12 <= v <= 0.88:
        return CHIP
    if (0.05 <= u < 0.12 or 0.88 < u <= 0.95) and int(v * 8) % 2 == 1:
        return PIN
    return CLEAR


def image(n):
    rows = []
    for y in reversed(range(n)):  # DIBs are stored bottom-up
        rows.append(b"".join(bytes(pixel(x, y, n)) for x in range(n)))
    xor = b"".join(rows)
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        row = bytearray(mask_stride)
        for x in range(n):
            if pixel(x, y, n)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def main():
    sizes = (32, 16)
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "syslens.ico")
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
