#!/usr/bin/env python3
"""Writes the editor's icons and cursors as SVG files into resources/.

One family: light glyphs (#e6e6e6) for the dark theme with the editor's accent colours for
meaning (green adds, orange records). Toolbar and overlay icons are drawn on a 24 x 24 grid
with 2-pixel strokes, tree icons and cursors on a 16 x 16 grid with 1-pixel lines and solid
shapes; straight strokes and edges sit on whole pixels so the icons stay crisp at 1x and 2x.
Cursors are black with a one-pixel white outline so they read on dark and light canvases.

Run from anywhere:  python3 tools/icons/make_icons.py
"""

import math
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")

LIGHT = "#e6e6e6"
ORANGE = "#ffa800"
GREEN = "#3ec570"
BLACK = "#000000"
WHITE = "#ffffff"


def num(value):
    """A coordinate written without noise: 3, 3.5, 2.83."""
    text = f"{value:.2f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def pts(points):
    return " ".join(f"{num(x)},{num(y)}" for x, y in points)


def attrs(**kwargs):
    out = []
    for key, value in kwargs.items():
        if value is None:
            continue
        name = key.rstrip("_").replace("_", "-")
        out.append(f'{name}="{num(value) if isinstance(value, (int, float)) else value}"')
    return " ".join(out)


def stroke(d, colour=LIGHT, width=2, cap=None, join=None, opacity=None):
    """An open path; flat-ended, mitred strokes unless told otherwise (the SVG defaults)."""
    return (f'<path d="{d}" ' + attrs(fill="none", stroke=colour, stroke_width=width, stroke_linecap=cap,
                                      stroke_linejoin=join, opacity=opacity) + "/>")


def fill(d, colour=LIGHT, opacity=None, rule=None):
    return f'<path d="{d}" ' + attrs(fill=colour, fill_rule=rule, opacity=opacity) + "/>"


def polygon(points, colour=LIGHT, opacity=None):
    return f'<polygon points="{pts(points)}" ' + attrs(fill=colour, opacity=opacity) + "/>"


def rect(x, y, w, h, colour=LIGHT, rx=None, opacity=None):
    return "<rect " + attrs(x=x, y=y, width=w, height=h, rx=rx, fill=colour, opacity=opacity) + "/>"


def circle(cx, cy, r, colour=LIGHT, opacity=None):
    return "<circle " + attrs(cx=cx, cy=cy, r=r, fill=colour, opacity=opacity) + "/>"


def ring(cx, cy, r, colour=LIGHT, width=2, opacity=None):
    return "<circle " + attrs(cx=cx, cy=cy, r=r, fill="none", stroke=colour, stroke_width=width,
                              opacity=opacity) + "/>"


def svg(size, body):
    lines = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">']
    lines += ["  " + element for element in body]
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


# --- shapes shared by several icons ---------------------------------------------------------

def play24():
    return [polygon([(8, 5), (19, 12), (8, 19)])]


def pause24():
    return [rect(6, 5, 4, 14, rx=1), rect(14, 5, 4, 14, rx=1)]


def add24():
    return [stroke("M12 5 V19 M5 12 H19")]


def loop24():
    return [
        stroke("M4 14 V10 A3 3 0 0 1 7 7 H15"),
        polygon([(15, 3.5), (19.5, 7), (15, 10.5)]),
        stroke("M20 10 V14 A3 3 0 0 1 17 17 H9"),
        polygon([(9, 13.5), (4.5, 17), (9, 20.5)]),
    ]


def key_diamond(cx, cy, r, colour=LIGHT):
    return polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], colour)


def animation_mode24():
    # A key sliding to the right: the motion lines trail it.
    return [
        key_diamond(16, 12, 6),
        stroke("M8 8 H12 M2 12 H8 M8 16 H12"),
    ]


def skeleton24():
    # Three joints and the two bones between them.
    first = bone(5, 19, 11.5, 12.5, joint_r=2.5, half_width=2.6)
    second = bone(13.5, 10.5, 20.5, 3.5, joint_r=2.5, half_width=2.6)
    return first + second


def bone(jx, jy, tx, ty, joint_r=2.0, half_width=2.2, colour=LIGHT):
    """A joint dot at (jx, jy) and its bone: a blade widest near the joint, pointing at (tx, ty)."""
    length = math.hypot(tx - jx, ty - jy)
    ux, uy = (tx - jx) / length, (ty - jy) / length
    nx, ny = -uy, ux
    base = joint_r + 0.8
    wide = base + (length - base) * 0.28
    bx, by = jx + ux * base, jy + uy * base
    wx, wy = jx + ux * wide, jy + uy * wide
    return [
        circle(jx, jy, joint_r, colour),
        polygon([(bx, by), (wx + nx * half_width, wy + ny * half_width), (tx, ty),
                 (wx - nx * half_width, wy - ny * half_width)], colour),
    ]


def padlock16():
    # Body with a keyhole cut out (even-odd) under a two-pixel shackle.
    return [
        stroke("M5 7 V5 A3 3 0 0 1 11 5 V7"),
        fill("M3 7 H13 V14 H3 Z M7 9 V12 H9 V9 Z", rule="evenodd"),
    ]


def open_eye16():
    return [
        stroke("M1.5 8 C4 3.5 12 3.5 14.5 8 C12 12.5 4 12.5 1.5 8 Z", width=1.2, join="round"),
        circle(8, 8, 2.5),
    ]


def link24(colour):
    # Two chain links at 45 degrees, each a two-pixel stadium, hooked into each other.
    return [
        '<g transform="rotate(-45 12 12)">',
        "  <rect " + attrs(x=2.5, y=8.5, width=11, height=7, rx=3.5, fill="none", stroke=colour,
                           stroke_width=2) + "/>",
        "  <rect " + attrs(x=10.5, y=8.5, width=11, height=7, rx=3.5, fill="none", stroke=colour,
                           stroke_width=2) + "/>",
        "</g>",
    ]


# --- icon sets ------------------------------------------------------------------------------

def animation_view():
    icons = {
        "AE_Play": play24(),
        "AE_Pause": pause24(),
        "AE_Add": add24(),
        "AE_Loop": loop24(),
        "AE_Copy": [
            stroke("M15 6 V4 H4 V15 H6"),
            fill("M8 8 H21 V21 H8 Z M10 10 V19 H19 V10 Z", rule="evenodd"),
        ],
        "AE_Collapse": [stroke("M6 8 L12 14 L18 8"), stroke("M4 19 H20")],
        "AE_Expand": [stroke("M6 16 L12 10 L18 16"), stroke("M4 5 H20")],
        "AE_Record": [ring(12, 12, 8), circle(12, 12, 4.5, ORANGE)],
        # A pencil over a line: give the entry a new name.
        "AE_Rename": [
            polygon([(15.5, 3.5), (20.5, 8.5), (9, 20), (4, 20), (4, 15)]),
            stroke("M13 21 H21", width=2),
        ],
        # A bin with its lid: take the entry away.
        "AE_Delete": [
            stroke("M4 6 H20 M9 6 V3 H15 V6"),
            fill("M6 8 H18 L17 21 H7 Z M8.2 10 L8.9 19 H15.1 L15.8 10 Z", rule="evenodd"),
            stroke("M12 11 V18", width=1.5),
        ],
        "AE_OnionSkin": [
            circle(7, 12, 5, opacity=0.3),
            circle(11.5, 12, 5, opacity=0.55),
            ring(16.5, 12, 5.5, width=2),
            circle(16.5, 12, 2.5),
        ],
        "AB_Axes": [
            stroke("M3 16 H18 M8 21 V6"),
            polygon([(18, 12.5), (22, 16), (18, 19.5)]),
            polygon([(4.5, 6), (8, 2), (11.5, 6)]),
        ],
        # The older names the editor still loads: the same drawings.
        "Play": play24(),
        "Pause": pause24(),
        "AddAnimation": add24(),
        "Loop": loop24(),
    }
    return {name: svg(24, body) for name, body in icons.items()}


def buttons():
    icons = {
        "Scene_Anim_mode": animation_mode24(),
        "AnimationMode": animation_mode24(),
        "SkeletonVisibility": skeleton24(),
        "FitCanvas": [
            stroke("M3 8 V3 H8 M16 3 H21 V8 M21 16 V21 H16 M8 21 H3 V16"),
            fill("M8 8 H16 V16 H8 Z M10 10 V14 H14 V10 Z", rule="evenodd"),
        ],
    }
    return {name: svg(24, body) for name, body in icons.items()}


def attributes():
    icons = {
        # Three sliders.
        "Properties": [
            stroke("M3 5 H21 M3 12 H21 M3 19 H21"),
            rect(14, 2, 4, 6, rx=1),
            rect(6, 9, 4, 6, rx=1),
            rect(11, 16, 4, 6, rx=1),
        ],
    }
    return {name: svg(24, body) for name, body in icons.items()}


def outliner():
    icons = {
        "Icon_bone": bone(3.5, 12.5, 13.5, 2.5),
        # The root joint: the ring and dot of a joint on the canvas, its turning line to the right.
        "Icon_Skeleton": [ring(8, 8, 5.5, width=1), circle(8, 8, 2), stroke("M10 8 H15", width=1)],
        "BackgroundLayer": [
            fill("M1 2 H15 V14 H1 Z M2 3 V13 H14 V3 Z", rule="evenodd"),
            polygon([(2.5, 12), (6.5, 6.5), (9.5, 10), (11, 8.5), (13.5, 12)]),
            circle(11, 5.5, 1.5),
        ],
        "HideItem": [
            stroke("M2.5 6.5 C5.5 10.5 11.5 10.5 14.5 6.5", width=1.2),
            stroke("M5 9.2 L4 11 M8.5 9.8 V12 M12 9.2 L13 11", width=1),
        ],
        "LockItem": padlock16(),
        "LockView_Lock": padlock16(),
        "LockView_Title_Eye": open_eye16(),
        "Icon_Arrow_tree": [polygon([(4, 6), (12, 6), (8, 10)])],
        "Icon_Arrow_tree_cl": [polygon([(6, 4), (10, 8), (6, 12)])],
        "AddGroup": bone(3, 13, 10.5, 5.5, joint_r=1.75, half_width=1.8) + [stroke("M12 1 V7 M9 4 H15", GREEN)],
        "DeleteLayer": [
            stroke("M1.5 3.5 H14.5 M6 3.5 V1.5 H10 V3.5", width=1),
            fill("M3 5 H13 V15 H3 Z M4 6 V14 H12 V6 Z", rule="evenodd"),
            fill("M6 8 H7 V12 H6 Z M9 8 H10 V12 H9 Z"),
        ],
    }
    return {name: svg(16, body) for name, body in icons.items()}


# --- cursors --------------------------------------------------------------------------------

def outlined(shapes):
    """Black shapes with a one-pixel white outline: (kind, data) with kind "line" or "poly"."""
    halo, ink = [], []
    for kind, data in shapes:
        if kind == "line":
            halo.append(stroke(data, WHITE, width=4, join="round"))
            ink.append(stroke(data, BLACK, width=2, join="round"))
        else:
            halo.append(f'<polygon points="{pts(data)}" '
                        + attrs(fill=WHITE, stroke=WHITE, stroke_width=2, stroke_linejoin="round") + "/>")
            ink.append(polygon(data, BLACK))
    return halo + ink


def arrow_head(tip, direction, length=4.0, half_width=3.0):
    dx, dy = direction
    px, py = -dy, dx
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    return [tip, (bx + px * half_width, by + py * half_width), (bx - px * half_width, by - py * half_width)]


def rotate_cursor(bulge_degrees):
    """A curved double arrow whose arc bulges towards bulge_degrees (screen angle, y down)."""
    b = math.radians(bulge_degrees)
    bx, by = math.cos(b), math.sin(b)
    radius = 5.0
    # The arc's centre sits behind the hot spot, so the arc passes just outside it.
    cx, cy = 8 - bx * 2.0, 8 - by * 2.0
    spread = math.radians(72)
    ends = []
    for side in (-1, 1):
        a = b + side * spread
        end = (cx + radius * math.cos(a), cy + radius * math.sin(a))
        # The tangent pointing away from the middle of the arc.
        ends.append((end, (-math.sin(a) * side, math.cos(a) * side)))
    start, end = ends[0][0], ends[1][0]
    shapes = [("line", f"M{num(start[0])} {num(start[1])} A{num(radius)} {num(radius)} 0 0 1 "
                       f"{num(end[0])} {num(end[1])}")]
    for point, tangent in ends:
        tip = (point[0] + tangent[0] * 2.5, point[1] + tangent[1] * 2.5)
        shapes.append(("poly", arrow_head(tip, tangent, length=4.0, half_width=3.0)))
    return svg(16, outlined(shapes))


def resize_cursor(direction_degrees):
    """A straight double arrow along direction_degrees (screen angle, y down), centred on the hot spot."""
    a = math.radians(direction_degrees)
    dx, dy = math.cos(a), math.sin(a)
    # A two-pixel shaft on the grid line through the hot spot stays crisp when it is axis-aligned.
    cx, cy = 8.0, 8.0
    tip, shaft = 7.0, 3.5
    shapes = [
        ("line", f"M{num(cx - dx * shaft)} {num(cy - dy * shaft)} L{num(cx + dx * shaft)} {num(cy + dy * shaft)}"),
        ("poly", arrow_head((cx + dx * tip, cy + dy * tip), (dx, dy))),
        ("poly", arrow_head((cx - dx * tip, cy - dy * tip), (-dx, -dy))),
    ]
    return svg(16, outlined(shapes))


def cursors():
    files = {
        # The editor mirrors these three into eight: the plain one serves the upper left corner,
        # _45 the top edge and _135 the right edge.
        "Cursor_Rotate_16x16_Win": rotate_cursor(225),
        "Cursor_Rotate_16x16_Win_45": rotate_cursor(270),
        "Cursor_Rotate_16x16_Win_135": rotate_cursor(0),
    }
    # Resize cursor i lies along i x 45 degrees, turning clockwise on screen from the positive x
    # axis: 0 and 4 horizontal, 1 and 5 down to the right, 2 and 6 vertical, 3 and 7 up to the right.
    for i in range(8):
        files[f"Cursor_Resize_{i}"] = resize_cursor(i * 45)
    return files


def links():
    # The export dialog's switch that ties width to height: light while off, black on the light
    # face of the switched-on button.
    return {"icon_link": svg(24, link24(LIGHT)), "icon_link_black": svg(24, link24(BLACK))}


def main():
    folders = {
        "": links(),
        "animationView": animation_view(),
        "buttons": buttons(),
        "attributes": attributes(),
        "outliner": outliner(),
        "cursors": cursors(),
    }
    for folder, files in folders.items():
        os.makedirs(os.path.join(ROOT, folder), exist_ok=True)
        for name, text in files.items():
            with open(os.path.join(ROOT, folder, name + ".svg"), "w", encoding="utf-8") as out:
                out.write(text)


if __name__ == "__main__":
    main()
