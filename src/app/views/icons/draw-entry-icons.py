#!/usr/bin/env python3
"""Draws the entry icons the editor bundles for systems without an icon
theme: one small picture per entry kind, at 16 and 32 pixels. Standard
library only; shapes are drawn at 4x and averaged down, for smooth edges.

Run it here after a change: ./draw-entry-icons.py
"""
import struct
import zlib

S = 128  # drawing size; scaled down to 32 and 16


def canvas():
    return [[(0, 0, 0, 0)] * S for _ in range(S)]


def fill(img, inside, colour):
    for y in range(S):
        for x in range(S):
            if inside(x + 0.5, y + 0.5):
                img[y][x] = colour


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def line(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / float(dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2.0) ** 2
    return inside


OUTLINE = (90, 90, 90, 255)
PAPER = (250, 250, 250, 255)


def page(img):
    # A sheet with its top right corner folded.
    fill(img, polygon([(20, 6), (84, 6), (108, 30), (108, 122), (20, 122)]), OUTLINE)
    fill(img, polygon([(26, 12), (80, 12), (102, 34), (102, 116), (26, 116)]), PAPER)
    fill(img, polygon([(80, 10), (80, 34), (104, 34)]), (200, 200, 200, 255))


def text_lines(img, colour, lengths):
    for i, length in enumerate(lengths):
        fill(img, rect(36, 44 + i * 16, 36 + length, 52 + i * 16), colour)


def script(img):
    page(img)
    fill(img, rect(26, 12, 36, 116), (60, 120, 200, 255))  # a margin band: code
    text_lines(img, (40, 90, 170, 255), [40, 56, 30, 50, 44])


def text(img):
    page(img)
    text_lines(img, (120, 120, 120, 255), [60, 56, 60, 40, 52])


def texture(img):
    fill(img, rect(10, 10, 118, 118), OUTLINE)
    for row in range(4):
        for col in range(4):
            colour = (200, 60, 180, 255) if (row + col) % 2 else (230, 230, 230, 255)
            fill(img, rect(16 + col * 24, 16 + row * 24, 40 + col * 24, 40 + row * 24), colour)


def picture(img):
    fill(img, rect(8, 20, 120, 108), OUTLINE)
    fill(img, rect(14, 26, 114, 102), (140, 200, 245, 255))
    fill(img, circle(88, 46, 10), (250, 210, 40, 255))
    fill(img, polygon([(14, 102), (14, 80), (46, 54), (76, 84), (92, 72), (114, 92), (114, 102)]), (70, 160, 70, 255))


def height_map(img):
    fill(img, rect(8, 8, 120, 120), OUTLINE)
    for y in range(14, 114):
        shade = 40 + (y - 14) * 2
        fill(img, rect(14, y, 114, y + 1), (shade, shade, shade, 255))
    fill(img, polygon([(14, 114), (14, 90), (44, 50), (64, 74), (84, 40), (114, 86), (114, 114)]), (235, 235, 235, 255))


def sound(img):
    fill(img, polygon([(14, 48), (38, 48), (66, 20), (66, 108), (38, 80), (14, 80)]), (70, 70, 70, 255))
    for r, w in ((22, 8), (38, 8)):
        ring = lambda x, y, r=r, w=w: abs(((x - 70) ** 2 + (y - 64) ** 2) ** 0.5 - r) <= w / 2 and x > 76
        fill(img, ring, (60, 120, 200, 255))


def mesh(img):
    colour = (200, 110, 30, 255)
    points = [(64, 10), (114, 38), (114, 92), (64, 120), (14, 92), (14, 38)]
    fill(img, polygon(points), (250, 225, 190, 255))
    for i in range(6):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % 6]
        fill(img, line(x0, y0, x1, y1, 7), colour)
    for x1, y1 in ((64, 64),):
        for x0, y0 in (points[0], points[2], points[4]):
            fill(img, line(x0, y0, x1, y1, 6), colour)


def shrink(img, size):
    step = S // size
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            total = [0, 0, 0, 0]
            for dy in range(step):
                for dx in range(step):
                    r, g, b, a = img[y * step + dy][x * step + dx]
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            alpha = total[3] / (step * step)
            row.append(tuple(int(round(c / total[3])) if total[3] else 0 for c in total[:3]) + (int(round(alpha)),))
        out.append(row)
    return out


def write_png(path, img):
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in img)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    size = len(img)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


for name, draw in (("script", script), ("text", text), ("texture", texture), ("picture", picture),
                   ("heightmap", height_map), ("sound", sound), ("mesh", mesh)):
    img = canvas()
    draw(img)
    for size in (16, 32):
        write_png("%s-%d.png" % (name, size), shrink(img, size))
