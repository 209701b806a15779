#!/usr/bin/python3
"""Writes the binary files of the demo level: a RAW height map, a TGA colour
map and a DXT1 DDS detail texture. Pure Python, so anyone can regenerate
them; the outputs are committed beside this script."""

import math
import os
import struct

LEVEL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bf1942", "levels", "Demo")


def heightmap(size=65):
    """A square 16-bit little-endian map: one round hill on a gentle slope."""
    samples = []
    for y in range(size):
        for x in range(size):
            dx, dy = x - size * 0.6, y - size * 0.45
            hill = math.exp(-(dx * dx + dy * dy) / (2 * (size * 0.18) ** 2))
            slope = x / (size - 1) * 0.15
            samples.append(int(65535 * min(1.0, 0.1 + 0.7 * hill + slope)))
    return struct.pack("<%dH" % len(samples), *samples)


def tga(width=128, height=128):
    """Uncompressed true-colour TGA (type 2, 24 bits, bottom-left origin) with
    a TGA 2.0 footer: grass-green noise with a lighter path across."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0)
    pixels = bytearray()
    for y in range(height):
        for x in range(width):
            shade = (x * 37 + y * 91 + (x * y) % 7) % 23
            if abs(x - y) <= 4 + (x // 9) % 3:
                pixels += bytes((70 + shade, 140 + shade, 150 + shade))  # B, G, R
            else:
                pixels += bytes((30 + shade, 110 + shade * 2, 40 + shade))
    footer = struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"
    return header + bytes(pixels) + footer


def rgb565(r, g, b):
    return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3


def dxt1_block(level, bx, by):
    """One 4x4 block: two earth tones that drift across the texture, so that
    the picture shows soft bands of soil and moss; indices in a diagonal stripe."""
    drift = (bx * 7 + by * 3) % 40
    c0 = rgb565(150 - 12 * level + drift // 2, 120 - drift // 3, 80)
    c1 = rgb565(60 + drift, 50 + 10 * level + drift, 30)
    if c0 <= c1:  # keep the four-colour mode
        c0, c1 = c1, c0
    indices = 0
    for y in range(4):
        for x in range(4):
            indices |= ((x + y + bx + by) % 4) << (2 * (4 * y + x))
    return struct.pack("<HHI", c0, c1, indices)


def dds(size=128):
    """A DXT1 texture with its full mip chain."""
    levels = int(math.log2(size)) + 1
    flags = 0x1 | 0x2 | 0x4 | 0x1000 | 0x20000 | 0x80000  # caps, height, width, format, mips, linear size
    pixel_format = struct.pack("<II4sIIIII", 32, 0x4, b"DXT1", 0, 0, 0, 0, 0)
    caps = struct.pack("<IIIII", 0x1000 | 0x400000 | 0x8, 0, 0, 0, 0)
    top_bytes = max(1, size // 4) ** 2 * 8
    header = (b"DDS " + struct.pack("<IIIIIII", 124, flags, size, size, top_bytes, 0, levels)
              + b"\0" * 44 + pixel_format + caps)
    data = bytearray()
    for level in range(levels):
        blocks = max(1, (size >> level) // 4)
        for by in range(blocks):
            for bx in range(blocks):
                data += dxt1_block(level, bx, by)
    return header + bytes(data)


def write(relative, content):
    path = os.path.join(LEVEL, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(content)


if __name__ == "__main__":
    write("Heightmap.raw", heightmap())
    write(os.path.join("Textures", "Grass.tga"), tga())
    write(os.path.join("Textures", "Detail.dds"), dds())
