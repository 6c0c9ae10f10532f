#!/usr/bin/env python3
"""Draws the images of the asset library's two default groups and writes their index files.

"Characters" holds body-part placeholders in two colour schemes (warm and cool), "Props" a set
of props. Each image is drawn from signed-distance shapes with anti-aliased edges and an
outline, written as an RGBA PNG with the standard library only.

Usage: make_default_assets.py <Resources folder>   (writes <folder>/assets/...)
"""

import math
import os
import struct
import sys
import zlib
from xml.sax.saxutils import escape, quoteattr

# Shapes -------------------------------------------------------------------------------------


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # Scaled circle distance: exact enough for soft edges at these sizes.
    return lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * min(rx, ry)


def box(cx, cy, hw, hh, radius=0.0):
    def d(x, y):
        qx = abs(x - cx) - hw + radius
        qy = abs(y - cy) - hh + radius
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius
    return d


def capsule(ax, ay, bx, by, r):
    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
        return math.hypot(px - vx * t, py - vy * t) - r
    return d


def polygon(points):
    def d(x, y):
        inside = False
        best = float("inf")
        for i, (ax, ay) in enumerate(points):
            bx, by = points[i - 1]
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
            vx, vy, px, py = bx - ax, by - ay, x - ax, y - ay
            t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
            best = min(best, math.hypot(px - vx * t, py - vy * t))
        return -best if inside else best
    return d


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


# Painting -----------------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, colour, outline=(24, 24, 28), line=2.0):
        """Fills shape with colour and draws its outline inside the edge."""
        for y in range(self.height):
            for x in range(self.width):
                dist = shape(x + 0.5, y + 0.5)
                cover = max(0.0, min(1.0, 0.5 - dist))
                if cover <= 0.0:
                    continue
                edge = max(0.0, min(1.0, dist + line + 0.5))
                rgb = [c * (1 - edge) + o * edge for c, o in zip(colour, outline)]
                self._over(x, y, rgb, cover)

    def _over(self, x, y, rgb, alpha):
        p = self.pixels[y * self.width + x]
        out = alpha + p[3] * (1 - alpha)
        for i in range(3):
            p[i] = (rgb[i] * alpha + p[i] * p[3] * (1 - alpha)) / out if out > 0 else 0
        p[3] = out

    def png(self):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for x in range(self.width):
                p = self.pixels[y * self.width + x]
                rows.extend(int(round(max(0, min(255, v)))) for v in p[:3])
                rows.append(int(round(p[3] * 255)))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) +
                chunk(b"IEND", b""))


def shade(colour, factor):
    return tuple(max(0, min(255, c * factor)) for c in colour)


# The default groups -------------------------------------------------------------------------

SCHEMES = {
    "warm": {"skin": (236, 178, 128), "cloth": (196, 72, 56), "dark": (120, 52, 40)},
    "cool": {"skin": (150, 190, 226), "cloth": (62, 110, 170), "dark": (38, 60, 104)},
}


def body_parts(s):
    """(name, size, [(shape, colour)], tags) of every body part in scheme s."""
    skin, cloth, dark = s["skin"], s["cloth"], s["dark"]
    return [
        ("head", (96, 112), [(ellipse(48, 58, 40, 48), skin), (circle(34, 52, 6), dark), (circle(62, 52, 6), dark),
                             (capsule(38, 82, 58, 82, 3), dark)], ["head", "face"]),
        ("neck", (48, 64), [(box(24, 32, 14, 28, 6), skin)], ["neck"]),
        ("torso", (112, 128), [(polygon([(10, 8), (102, 8), (86, 120), (26, 120)]), cloth),
                               (box(56, 60, 8, 40, 3), shade(cloth, 0.8))], ["torso", "chest", "body"]),
        ("pelvis", (96, 64), [(box(48, 32, 42, 26, 12), dark)], ["pelvis", "hips"]),
        ("upper_arm", (48, 112), [(capsule(24, 20, 24, 92, 16), cloth)], ["arm", "upper arm"]),
        ("lower_arm", (40, 104), [(capsule(20, 18, 20, 86, 13), skin)], ["arm", "forearm", "lower arm"]),
        ("hand", (64, 64), [(union(ellipse(30, 36, 20, 22), capsule(44, 30, 56, 18, 6)), skin)], ["hand"]),
        ("thigh", (56, 120), [(capsule(28, 22, 28, 98, 20), dark)], ["leg", "thigh", "upper leg"]),
        ("shin", (48, 112), [(capsule(24, 20, 24, 92, 16), cloth)], ["leg", "shin", "lower leg"]),
        ("foot", (96, 56), [(union(box(40, 30, 30, 18, 10), ellipse(66, 36, 26, 14)), dark)], ["foot", "shoe"]),
    ]


def props():
    wood, steel, gold = (150, 102, 60), (180, 188, 198), (232, 190, 64)
    return [
        ("sword", (48, 128), [(polygon([(20, 8), (28, 8), (28, 88), (24, 98), (20, 88)]), steel),
                              (box(24, 96, 18, 4, 2), gold), (box(24, 110, 4, 12, 2), wood)],
         ["sword", "weapon", "blade"]),
        ("shield", (96, 112), [(polygon([(8, 10), (88, 10), (88, 56), (48, 104), (8, 56)]), (70, 96, 160)),
                               (box(48, 46, 8, 30, 2), gold), (box(48, 40, 28, 7, 2), gold)],
         ["shield", "armour", "armor"]),
        ("hat", (112, 80), [(ellipse(56, 62, 50, 12), (60, 52, 90)), (box(56, 36, 28, 28, 10), (60, 52, 90)),
                            (box(56, 52, 28, 5, 0), (200, 60, 60))], ["hat", "clothing"]),
        ("staff", (40, 128), [(capsule(20, 24, 20, 120, 5), wood), (circle(20, 16, 12), (120, 200, 230))],
         ["staff", "weapon", "magic"]),
        ("cup", (64, 72), [(subtract(box(28, 38, 20, 28, 6), box(28, 20, 14, 16, 4)), steel),
                           (subtract(circle(50, 38, 12), circle(50, 38, 6)), steel)], ["cup", "drink"]),
        ("ball", (64, 64), [(circle(32, 32, 28), (220, 80, 60)), (capsule(8, 32, 56, 32, 4), (250, 240, 230))],
         ["ball", "toy"]),
        ("crate", (96, 96), [(box(48, 48, 42, 42, 4), wood), (capsule(14, 14, 82, 82, 5), shade(wood, 0.7)),
                             (capsule(82, 14, 14, 82, 5), shade(wood, 0.7))], ["crate", "box", "wood"]),
        ("key", (112, 48), [(subtract(circle(22, 24, 16), circle(22, 24, 7)), gold),
                            (box(66, 24, 34, 4, 2), gold), (box(92, 32, 4, 8, 1), gold)], ["key"]),
        ("lantern", (64, 112), [(subtract(circle(32, 16, 12), circle(32, 16, 7)), steel),
                                (box(32, 64, 24, 36, 6), (250, 210, 110)), (box(32, 30, 28, 4, 2), steel),
                                (box(32, 100, 28, 4, 2), steel)], ["lantern", "light", "lamp"]),
        ("bow", (72, 128), [(subtract(ellipse(16, 64, 44, 58), ellipse(12, 64, 38, 52)), wood),
                            (capsule(22, 10, 22, 118, 1), (230, 230, 230))], ["bow", "weapon"]),
        ("book", (88, 72), [(box(44, 36, 38, 28, 4), (140, 40, 50)), (box(44, 36, 2, 28, 0), (80, 20, 30))],
         ["book", "magic"]),
        ("gem", (64, 64), [(polygon([(32, 6), (58, 26), (32, 58), (6, 26)]), (80, 210, 160))],
         ["gem", "treasure"]),
    ]


def draw(size, layers):
    canvas = Canvas(*size)
    for shape, colour in layers:
        canvas.fill(shape, colour)
    return canvas.png()


def write_group(root, index, group, images):
    folder = os.path.join(root, group)
    os.makedirs(folder, exist_ok=True)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<assets>"]
    for name, size, layers, tags in images:
        with open(os.path.join(folder, name + ".png"), "wb") as out:
            out.write(draw(size, layers))
        lines.append("    <asset search_tags=%s>%s</asset>" % (quoteattr(",".join(tags)),
                                                                 escape(group + "/" + name + ".png")))
    lines.append("</assets>")
    with open(os.path.join(root, "assets_%d.xml" % index), "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(lines) + "\n")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    root = os.path.join(sys.argv[1], "assets")
    characters = []
    for scheme, colours in SCHEMES.items():
        for name, size, layers, tags in body_parts(colours):
            characters.append((name + "_" + scheme, size, layers, tags + [scheme, "body part"]))
    write_group(root, 0, "Characters", characters)
    write_group(root, 1, "Props", [(n, s, l, t + ["prop"]) for n, s, l, t in props()])


if __name__ == "__main__":
    main()
