#!/usr/bin/python3
"""Writes the DDS test fixtures and the reference decodes they are checked against.

DXT1 and DXT5 files come from ImageMagick 6.9 (convert -define dds:compression=...),
DXT3 files and DXT1 files with one-bit alpha from libsquish (squish_encode.cpp, built
here), uncompressed 16/24/32-bit files from this script. References (NAME.rgba: the
top level as raw RGBA rows, row 0 first) are Pillow's decodes; Pillow cannot read the
16-bit layouts, so for those the script widens each n-bit component to the 8-bit value
nearest c * 255 / (2^n - 1).

Needs imagemagick, python3-pil, libsquish-dev and g++. Run: /usr/bin/python3 make_fixtures.py
"""
import os
import random
import struct
import subprocess
import tempfile

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
DXT_SIZES = [(1, 1), (3, 5), (4, 4), (13, 7), (256, 128)]
UNCOMPRESSED_SIZES = [(1, 1), (3, 5), (13, 7)]

DDSD_CAPS, DDSD_HEIGHT, DDSD_WIDTH, DDSD_PITCH = 0x1, 0x2, 0x4, 0x8
DDSD_PIXELFORMAT, DDSD_MIPMAPCOUNT, DDSD_LINEARSIZE = 0x1000, 0x20000, 0x80000
DDSCAPS_COMPLEX, DDSCAPS_TEXTURE, DDSCAPS_MIPMAP = 0x8, 0x1000, 0x400000


def source(width, height):
    """A deterministic picture with gradients, hard edges and varied alpha."""
    rnd = random.Random(width * 7919 + height)
    image = Image.new("RGBA", (width, height))
    pixels = image.load()
    for y in range(height):
        for x in range(width):
            pixels[x, y] = (x * 255 // max(1, width - 1), y * 255 // max(1, height - 1),
                            (x * 7 + y * 13) % 256, (x * 3 + y * 5) * 255 // (3 * width + 5 * height))
    draw = ImageDraw.Draw(image)
    for _ in range(max(2, width * height // 400)):
        x, y = rnd.randrange(width), rnd.randrange(height)
        r = rnd.randrange(1, max(2, min(width, height) // 3))
        colour = tuple(rnd.randrange(256) for _ in range(3)) + (rnd.choice([0, 255, rnd.randrange(256)]),)
        draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)
    return image


def one_bit_alpha(image):
    """What DXT1 keeps of a picture: transparent black below alpha 128, opaque above."""
    return Image.frombytes("RGBA", image.size, b"".join(
        bytes((r, g, b, 255)) if a >= 128 else bytes(4) for r, g, b, a in image.getdata()))


def mip_chain(image):
    levels = [image]
    while levels[-1].size != (1, 1):
        w, h = levels[-1].size
        levels.append(levels[-1].resize((max(1, w // 2), max(1, h // 2)), Image.BOX))
    return levels


def write_dds(path, size, pixel_format, levels):
    """pixel_format: (flags, fourcc, bit count, (red, green, blue, alpha) masks)."""
    flags, fourcc, bits, masks = pixel_format
    width, height = size
    header_flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT
    header_flags |= DDSD_LINEARSIZE if fourcc else DDSD_PITCH
    pitch = len(levels[0]) if fourcc else width * bits // 8
    caps = DDSCAPS_TEXTURE
    if len(levels) > 1:
        header_flags |= DDSD_MIPMAPCOUNT
        caps |= DDSCAPS_COMPLEX | DDSCAPS_MIPMAP
    header = struct.pack("<4s7I44x2I4s5I5I", b"DDS ", 124, header_flags, height, width, pitch, 0,
                         len(levels) if len(levels) > 1 else 0, 32, flags, fourcc, bits, *masks,
                         caps, 0, 0, 0, 0)
    assert len(header) == 128
    with open(path, "wb") as f:
        f.write(header + b"".join(levels))


def squish(encoder, kind, image):
    w, h = image.size
    return subprocess.run([encoder, kind, str(w), str(h)], input=image.tobytes(), capture_output=True,
                          check=True).stdout


def top_level(path, block_bytes):
    data = open(path, "rb").read()
    h, w = struct.unpack_from("<2I", data, 12)
    return data[128:128 + ((w + 3) // 4) * ((h + 3) // 4) * block_bytes]


def pillow_rgba(path):
    return Image.open(path).convert("RGBA").tobytes()


def check_close(name, decoded, image, limit):
    """Guards against a tool quietly writing something else (flipped, wrong format).
    Only pictures of 64 pixels or more are smooth enough for the check to mean anything."""
    if image.width * image.height < 64:
        return
    expected = image.tobytes()
    error = sum(abs(a - b) for a, b in zip(decoded, expected)) / len(expected)
    assert error <= limit, f"{name}: mean error {error:.1f} against the source"


def dxt_fixtures(tmp, encoder):
    for w, h in DXT_SIZES:
        image = source(w, h)
        png = os.path.join(tmp, f"{w}x{h}.png")
        image.save(png)
        opaque = image.copy()
        opaque.putalpha(255)
        variants = {}  # reference name -> [(file, top-level bytes)]
        for kind, block_bytes, alpha, fourcc in (("dxt1", 8, "off", b"DXT1"), ("dxt5", 16, "on", b"DXT5")):
            for mips in (False, True):
                if mips and (w & (w - 1) or h & (h - 1) or (w, h) == (1, 1)):
                    continue  # ImageMagick makes mipmaps only for power-of-two sizes
                name = f"{kind}_{w}x{h}{'_mips' if mips else ''}.dds"
                path = os.path.join(HERE, name)
                subprocess.run(["convert", png, "-alpha", alpha, "-define", f"dds:compression={kind}"] +
                               ([] if mips else ["-define", "dds:mipmaps=0"]) + [path], check=True)
                assert open(path, "rb").read()[84:88] == fourcc, f"{name}: ImageMagick wrote another format"
                variants.setdefault(f"{kind}_{w}x{h}", []).append((path, top_level(path, block_bytes)))
        sources = [("dxt3", image)]
        if (w, h) in ((13, 7),):
            sources.append(("dxt1a", image))
        for kind, picture in sources:
            squish_kind = "dxt1" if kind == "dxt1a" else kind
            block_bytes = 8 if squish_kind == "dxt1" else 16
            fourcc = b"DXT1" if squish_kind == "dxt1" else b"DXT3"
            chains = [[picture]] + ([mip_chain(picture)] if (w, h) != (1, 1) else [])
            for chain in chains:
                name = f"{kind}_{w}x{h}{'_mips' if len(chain) > 1 else ''}.dds"
                path = os.path.join(HERE, name)
                write_dds(path, (w, h), (4, fourcc, 0, (0, 0, 0, 0)), [squish(encoder, squish_kind, l) for l in chain])
                variants.setdefault(f"{kind}_{w}x{h}", []).append((path, top_level(path, block_bytes)))
        for reference, files in variants.items():
            assert len({top for _, top in files}) == 1, f"{reference}: top levels differ between files"
            decoded = pillow_rgba(files[0][0])
            kind = reference.split("_")[0]
            check_close(reference, decoded, {"dxt1": opaque, "dxt1a": one_bit_alpha(image)}.get(kind, image), 12)
            with open(os.path.join(HERE, reference + ".rgba"), "wb") as f:
                f.write(decoded)


def nearest(c, bits):
    top = (1 << bits) - 1
    return (c * 255 + top // 2) // top


def quantise(v, bits):
    return (v * ((1 << bits) - 1) + 127) // 255


# name: (pixel format, pack RGBA -> bytes, unpack bytes -> RGBA or None when Pillow decodes it)
UNCOMPRESSED = {
    "a1r5g5b5": ((0x41, b"", 16, (0x7C00, 0x03E0, 0x001F, 0x8000)),
                 lambda r, g, b, a: struct.pack("<H", (a >= 128) << 15 | quantise(r, 5) << 10 |
                                                quantise(g, 5) << 5 | quantise(b, 5)),
                 lambda w: (nearest(w >> 10 & 31, 5), nearest(w >> 5 & 31, 5), nearest(w & 31, 5),
                            255 if w & 0x8000 else 0)),
    "a4r4g4b4": ((0x41, b"", 16, (0x0F00, 0x00F0, 0x000F, 0xF000)),
                 lambda r, g, b, a: struct.pack("<H", quantise(a, 4) << 12 | quantise(r, 4) << 8 |
                                                quantise(g, 4) << 4 | quantise(b, 4)),
                 lambda w: (nearest(w >> 8 & 15, 4), nearest(w >> 4 & 15, 4), nearest(w & 15, 4),
                            nearest(w >> 12, 4))),
    "r5g6b5": ((0x40, b"", 16, (0xF800, 0x07E0, 0x001F, 0)),
               lambda r, g, b, a: struct.pack("<H", quantise(r, 5) << 11 | quantise(g, 6) << 5 | quantise(b, 5)),
               lambda w: (nearest(w >> 11, 5), nearest(w >> 5 & 63, 6), nearest(w & 31, 5), 255)),
    "r8g8b8": ((0x40, b"", 24, (0xFF0000, 0x00FF00, 0x0000FF, 0)), lambda r, g, b, a: bytes((b, g, r)), None),
    "a8r8g8b8": ((0x41, b"", 32, (0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000)),
                 lambda r, g, b, a: bytes((b, g, r, a)), None),
}


def uncompressed_fixtures():
    for kind, (pixel_format, pack, unpack) in UNCOMPRESSED.items():
        for w, h in UNCOMPRESSED_SIZES:
            image = source(w, h)
            chains = [[image]] + ([mip_chain(image)] if (w, h) == (13, 7) else [])
            for chain in chains:
                name = f"{kind}_{w}x{h}{'_mips' if len(chain) > 1 else ''}.dds"
                levels = [b"".join(pack(*p) for p in level.getdata()) for level in chain]
                write_dds(os.path.join(HERE, name), (w, h), pixel_format, levels)
            path = os.path.join(HERE, f"{kind}_{w}x{h}.dds")
            if unpack:
                words = struct.unpack(f"<{w * h}H", open(path, "rb").read()[128:])
                decoded = b"".join(bytes(unpack(word)) for word in words)
            else:
                decoded = pillow_rgba(path)
            if not pixel_format[0] & 1:
                image = image.convert("RGB").convert("RGBA")
            elif kind == "a1r5g5b5":
                image.putalpha(image.getchannel("A").point(lambda a: 255 if a >= 128 else 0))
            check_close(kind, decoded, image, 9)
            with open(os.path.join(HERE, f"{kind}_{w}x{h}.rgba"), "wb") as f:
                f.write(decoded)


def main():
    for name in os.listdir(HERE):
        if name.endswith((".dds", ".rgba")):
            os.remove(os.path.join(HERE, name))
    with tempfile.TemporaryDirectory() as tmp:
        encoder = os.path.join(tmp, "squish_encode")
        subprocess.run(["g++", "-O2", "-o", encoder, os.path.join(HERE, "squish_encode.cpp"), "-lsquish"],
                       check=True)
        dxt_fixtures(tmp, encoder)
    uncompressed_fixtures()


if __name__ == "__main__":
    main()
