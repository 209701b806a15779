#!/usr/bin/python3
"""Writes the TGA test fixtures and the pictures they must decode to.

Sources: colour.png (13x7 RGBA) and grey.png / greyalpha.png (13x7 L / LA), dumped
as raw RGBA rows, top row first, to colour.rgba, grey.rgba and greyalpha.rgba (what
the tests compare against). Every colour component is the nearest 8-bit value of a
5-bit one, so the 15- and 16-bit files hold the source exactly.

im_*  ImageMagick 6.9 (no footer). It writes rows in the order it holds them and
      only marks the origin in the descriptor, so a bottom-up file is made from a
      flipped source (-flip -orient BottomLeft), a right-to-left one from a flopped.
pil_* Pillow (TGA 2.0 footer always; top-left or bottom-left origin).
own_* this script, for what neither tool writes: 15/16-bit pixels, 15/16/32-bit
      colour maps, 16-bit indices, a skipped colour map, an image ID, RLE packets
      across rows, an extension area.

Each fixture is checked against Pillow's decode where Pillow reads it exactly.
Needs imagemagick and python3-pil. Run: /usr/bin/python3 make_fixtures.py
"""
import os
import random
import struct
import subprocess
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 13, 7
FIVE_BIT = [(k * 255 + 15) // 31 for k in range(32)]
ORIGINS = {"bl": 0x00, "br": 0x10, "tl": 0x20, "tr": 0x30}


def runs(count, pick, seed):
    """`count` values in runs of 1 to 6; runs carry on across rows."""
    rnd = random.Random(seed)
    values = []
    while len(values) < count:
        values += [pick(rnd)] * rnd.choice([1, 1, 1, 2, 3, 6])
    return values[:count]


def sources():
    colour = Image.new("RGBA", (WIDTH, HEIGHT))
    colour.putdata(runs(WIDTH * HEIGHT, lambda r: tuple(r.choice(FIVE_BIT) for _ in range(3)) +
                        (r.choice([0, 85, 170, 255, 255]),), 1942))
    greyalpha = Image.new("LA", (WIDTH, HEIGHT))
    greyalpha.putdata(runs(WIDTH * HEIGHT, lambda r: (r.randrange(256), r.choice([0, 100, 255])), 1943))
    return colour, greyalpha.getchannel("L"), greyalpha


def expected(name):
    image = Image.open(os.path.join(HERE, name + ".png"))
    return image.convert("RGBA")


# Pixel encoders for own_* files: RGBA -> stored bytes.
def bgr15(p):
    return struct.pack("<H", (p[0] * 31 + 127) // 255 << 10 | (p[1] * 31 + 127) // 255 << 5 | (p[2] * 31 + 127) // 255)


def bgr16(p):
    return struct.pack("<H", struct.unpack("<H", bgr15(p))[0] | (p[3] >= 128) << 15)


ENCODERS = {15: bgr15, 16: bgr16, 24: lambda p: bytes((p[2], p[1], p[0])), 32: lambda p: bytes((p[2], p[1], p[0], p[3]))}


def stored_order(pixels, origin):
    rows = [pixels[y * WIDTH:(y + 1) * WIDTH] for y in range(HEIGHT)]
    if not ORIGINS[origin] & 0x20:
        rows.reverse()
    if ORIGINS[origin] & 0x10:
        rows = [row[::-1] for row in rows]
    return [p for row in rows for p in row]


def rle(pixels, per_row):
    """Run packets for repeats, raw packets otherwise; packets stay in a row when per_row."""
    out = b""
    chunks = [pixels[i:i + WIDTH] for i in range(0, len(pixels), WIDTH)] if per_row else [pixels]
    for chunk in chunks:
        i = 0
        while i < len(chunk):
            n = 1
            while i + n < len(chunk) and n < 128 and chunk[i + n] == chunk[i]:
                n += 1
            if n > 1:
                out += bytes((0x80 | (n - 1),)) + chunk[i]
            else:
                while i + n < len(chunk) and n < 128 and chunk[i + n] != chunk[i + n - 1]:
                    n += 1
                if i + n < len(chunk) and n > 1:
                    n -= 1  # leave the start of the next run to a run packet
                out += bytes((n - 1,)) + b"".join(chunk[i:i + n])
            i += n
    return out


def footer(extension=False):
    """The TGA 2.0 footer, optionally after an extension area saying the alpha is real."""
    if not extension:
        return b"\0" * 8 + b"TRUEVISION-XFILE.\0"
    area = struct.pack("<H", 495) + b"\0" * 492 + bytes((3,))
    return area, b"TRUEVISION-XFILE.\0"


def write_own(name, image, bits, origin, compressed=False, colour_map=None, index_bits=8, first_entry=0,
              image_id=b"", skipped_map=None, per_row=True, with_footer=False, extension=False):
    """colour_map: entry bits (the picture is stored as indices into its colours)."""
    pixels = list(image.convert("RGBA").getdata())
    attribute_bits = {15: 0, 16: 1, 24: 0, 32: 8}[colour_map or bits]
    map_bytes, map_type, map_length, entry_bits = b"", 0, 0, 0
    if colour_map:
        palette = sorted(set(pixels))
        map_bytes = b"".join(ENCODERS[colour_map](p) for p in palette)
        map_type, map_length, entry_bits = 1, len(palette), colour_map
        stored = [struct.pack("<H" if index_bits == 16 else "<B", palette.index(p) + first_entry)
                  for p in stored_order(pixels, origin)]
        image_type, pixel_bits = 1, index_bits
    else:
        stored = [ENCODERS[bits](p) for p in stored_order(pixels, origin)]
        image_type, pixel_bits = 2, bits
        if skipped_map:
            map_type, map_length, entry_bits = 1, skipped_map, 24
            map_bytes = bytes(range(3 * skipped_map))
    data = rle(stored, per_row) if compressed else b"".join(stored)
    header = struct.pack("<3B2HB4H2B", len(image_id), map_type, image_type + (8 if compressed else 0), first_entry,
                         map_length, entry_bits, 0, 0, WIDTH, HEIGHT, pixel_bits, ORIGINS[origin] | attribute_bits)
    body = header + image_id + map_bytes + data
    if extension:
        area, tail = footer(True)
        body += area + struct.pack("<2I", len(body), 0) + tail
    elif with_footer:
        body += footer()
    with open(os.path.join(HERE, name + ".tga"), "wb") as f:
        f.write(body)


def imagemagick(tmp, name, source, kind, origin, compressed):
    options = {"true24": ["-alpha", "off", "-type", "TrueColor"], "true32": ["-type", "TrueColorAlpha"],
               "map24": ["-alpha", "off", "-type", "Palette"], "grey8": ["-type", "Grayscale"]}[kind]
    flips = (["-flip"] if not ORIGINS[origin] & 0x20 else []) + (["-flop"] if ORIGINS[origin] & 0x10 else [])
    orient = {"bl": "BottomLeft", "br": "BottomRight", "tl": "TopLeft", "tr": "TopRight"}[origin]
    png = os.path.join(tmp, "source.png")
    source.save(png)
    subprocess.run(["convert", png] + flips + options + ["-orient", orient] +
                   (["-compress", "RLE"] if compressed else ["-compress", "None"]) +
                   [os.path.join(HERE, name + ".tga")], check=True)


def pillow(name, source, origin, compressed, image_id=b""):
    source.save(os.path.join(HERE, name + ".tga"), format="TGA", compression="tga_rle" if compressed else None,
                orientation=1 if origin == "tl" else -1, id_section=image_id)


def check(name, reference, alpha):
    """Pillow's decode must be the expected picture."""
    decoded = Image.open(os.path.join(HERE, name + ".tga")).convert("RGBA")
    want = reference.copy()
    if alpha == "opaque":
        want.putalpha(255)
    assert decoded.tobytes() == want.tobytes(), f"{name}: Pillow's decode differs"


def main():
    for name in os.listdir(HERE):
        if name.endswith((".tga", ".rgba", ".png")):
            os.remove(os.path.join(HERE, name))
    colour, grey, greyalpha = sources()
    for name, image in (("colour", colour), ("grey", grey), ("greyalpha", greyalpha)):
        image.save(os.path.join(HERE, name + ".png"))
        with open(os.path.join(HERE, name + ".rgba"), "wb") as f:
            f.write(expected(name).tobytes())
    colour, grey, greyalpha = expected("colour"), Image.open(os.path.join(HERE, "grey.png")), \
        Image.open(os.path.join(HERE, "greyalpha.png"))

    with tempfile.TemporaryDirectory() as tmp:
        for kind, source, alpha in (("true24", colour, "opaque"), ("true32", colour, "keep"),
                                    ("map24", colour, "opaque"), ("grey8", grey, "keep")):
            for origin, compressed in (("bl", False), ("tl", False), ("bl", True), ("tl", True),
                                       ("tr", False), ("br", True)):
                name = f"im_{kind}{'_rle' if compressed else ''}_{origin}"
                imagemagick(tmp, name, source, kind, origin, compressed)
                check(name, source.convert("RGBA"), alpha)

    paletted = colour.convert("RGB").quantize(256, Image.Quantize.MEDIANCUT)
    assert paletted.convert("RGB").tobytes() == colour.convert("RGB").tobytes()
    for kind, source, reference, alpha in (("true24", colour.convert("RGB"), colour, "opaque"),
                                           ("true32", colour, colour, "keep"),
                                           ("map24", paletted, colour, "opaque"),
                                           ("grey8", grey, grey.convert("RGBA"), "keep"),
                                           ("grey16", greyalpha, greyalpha.convert("RGBA"), "keep")):
        for origin, compressed in (("bl", False), ("tl", True), ("tl", False), ("bl", True)):
            name = f"pil_{kind}{'_rle' if compressed else ''}_{origin}"
            pillow(name, source, origin, compressed, image_id=b"larkspan" if kind == "true24" else b"")
            check(name, reference, alpha)

    own = [
        # name, bits, origin, options, alpha treatment, checkable with Pillow (9.4 lacks 15-bit
        # pixels and maps, 16-bit indices, and fails on 16-bit pixels, 16/32-bit maps and maps
        # beside true-colour pixels)
        ("own_true15_bl", 15, "bl", {}, "opaque", False),
        ("own_true15_rle_tr", 15, "tr", {"compressed": True, "with_footer": True}, "opaque", False),
        ("own_true16_tl", 16, "tl", {}, "onebit", False),
        ("own_true16_rle_br", 16, "br", {"compressed": True, "per_row": False}, "onebit", False),
        ("own_map15_bl", 8, "bl", {"colour_map": 15}, "opaque", False),
        ("own_map16_rle_tl", 8, "tl", {"colour_map": 16, "compressed": True, "with_footer": True}, "onebit", False),
        ("own_map32_tr", 8, "tr", {"colour_map": 32, "image_id": b"map"}, "keep", False),
        ("own_map32_rle_bl", 8, "bl", {"colour_map": 32, "compressed": True, "per_row": False, "extension": True},
         "keep", False),
        ("own_map24_index16_tl", 16, "tl", {"colour_map": 24, "index_bits": 16, "first_entry": 5}, "opaque", False),
        ("own_true24_skipped_map_tl", 24, "tl", {"skipped_map": 4, "image_id": b"skip"}, "opaque", False),
        ("own_true32_rle_across_rows_bl", 32, "bl", {"compressed": True, "per_row": False, "extension": True},
         "keep", True),
    ]
    for name, bits, origin, options, alpha, pillow_reads in own:
        write_own(name, colour, bits, origin, **options)
        if pillow_reads:
            check(name, colour, alpha)


if __name__ == "__main__":
    main()
