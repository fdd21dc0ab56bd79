#!/usr/bin/python3
"""Builds the panel's pixel font (a TrueType file) from its glyph bitmaps.

    make_pixel_font.py [--glyphs FILE] [--output FILE]   write the font
    make_pixel_font.py --check                            exit 1 if the committed font is stale

The glyph file format is described at the top of assets/font/QuennetPixel.glyphs. Each glyph
becomes the union of its ink pixels: the outline follows the edges between ink and paper, so
neighbouring pixels share no inner edges and the rasteriser sees clean shapes. The font has an
8-pixel em on 1,000 units (125 units a pixel), ascender 1,375 and descender 250 units.
Output is byte-for-byte reproducible (fixed timestamps), so the committed .ttf can be checked.
Needs fontTools (Debian: python3-fonttools); run it with /usr/bin/python3.
"""
import argparse
import io
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_GLYPHS = os.path.join(ROOT, "assets", "font", "QuennetPixel.glyphs")
DEFAULT_OUTPUT = os.path.join(ROOT, "assets", "font", "QuennetPixel.ttf")

UNITS_PER_EM = 1000
PIXEL = 125
ASCENDER = 1375
DESCENDER = -250
CAP_ROWS = 7  # rows above the baseline at the top of every glyph block
# 2001-01-01 in seconds since 1904, the TrueType epoch: a fixed stamp keeps the output stable.
TIMESTAMP = 3061152000
FAMILY = "Quennet Pixel"


class GlyphFileError(Exception):
    pass


class Bitmap:
    """Ink pixels as (column, row) with row 0 the first pixel above the baseline, y upwards."""

    def __init__(self, pixels, width):
        self.pixels = set(pixels)
        self.width = width

    def top(self):
        return max((y for _, y in self.pixels), default=-1)


def bitmap_from_rows(rows, first_row_y, where):
    width = len(rows[0])
    pixels = []
    for i, row in enumerate(rows):
        if len(row) != width or set(row) - set("#."):
            raise GlyphFileError(f"{where}: rows must be '#' and '.' of one length")
        pixels += [(x, first_row_y - i) for x, c in enumerate(row) if c == "#"]
    return Bitmap(pixels, width)


def compose(base, mark, below):
    """The mark centred on the base, one empty row above its ink (or hanging under the baseline)."""
    dx = (base.width - mark.width) // 2
    mark_rows = max(y for _, y in mark.pixels) - min(y for _, y in mark.pixels) + 1
    bottom = -mark_rows if below else base.top() + 2
    lowest = min(y for _, y in mark.pixels)
    moved = [(x + dx, y - lowest + bottom) for x, y in mark.pixels]
    shift = -min(0, dx)
    pixels = [(x + shift, y) for x, y in list(base.pixels) + moved]
    width = max(base.width, dx + mark.width) + shift
    return Bitmap(pixels, width)


def parse_glyph_file(path):
    """Returns {code point: Bitmap}."""
    glyphs, marks, composites = {}, {}, []
    header, rows = None, []

    def finish(lineno):
        nonlocal header, rows
        if header is None:
            return
        kind, key = header
        if not rows:
            raise GlyphFileError(f"{path}:{lineno}: block without rows")
        if kind == "glyph":
            glyphs[key] = bitmap_from_rows(rows, CAP_ROWS - 1, f"{path}:{lineno}")
        else:
            name, below = key
            marks[name] = (bitmap_from_rows(rows, 0, f"{path}:{lineno}"), below)
        header, rows = None, []

    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    for lineno, line in enumerate(lines, 1):
        line = line.rstrip()
        if line.startswith(";"):
            continue
        if not line:
            finish(lineno)
        elif header is not None:
            rows.append(line)
        elif line.startswith("mark "):
            words = line.split()
            header = ("mark", (words[1], len(words) > 2 and words[2] == "below"))
        elif " = " in line:
            target, source = line.split(" = ")
            parts = source.split()
            composites.append((lineno, int(target, 16), int(parts[0], 16), parts[1:]))
        else:
            header = ("glyph", int(line.split()[0], 16))
    finish(len(lines))

    for lineno, target, base, mark_names in composites:
        if base not in glyphs:
            raise GlyphFileError(f"{path}:{lineno}: no glyph U+{base:04X}")
        bitmap = glyphs[base]
        for name in mark_names:
            if name not in marks:
                raise GlyphFileError(f"{path}:{lineno}: no mark '{name}'")
            bitmap = compose(bitmap, *marks[name])
        glyphs[target] = bitmap
    return glyphs


def outline_contours(pixels):
    """Closed clockwise contours (y up) around the union of the pixel squares, as point lists."""
    edges = set()
    for x, y in pixels:
        square = [(x, y), (x, y + 1), (x + 1, y + 1), (x + 1, y)]
        for i in range(4):
            edge = (square[i], square[(i + 1) % 4])
            reverse = (edge[1], edge[0])
            if reverse in edges:
                edges.remove(reverse)  # shared with a neighbour: inside the union
            else:
                edges.add(edge)
    outgoing = {}
    for start, end in edges:
        outgoing.setdefault(start, []).append(end)
    contours = []
    while outgoing:
        start = min(outgoing)
        points = [start]
        current = start
        while True:
            ends = outgoing[current]
            end = ends.pop(0) if len(ends) == 1 else pick_turn(points, current, ends)
            if not ends:
                del outgoing[current]
            if end == start:
                break
            points.append(end)
            current = end
        contours.append(drop_straight_points(points))
    return contours


def pick_turn(points, current, ends):
    """Where two ink pixels touch only at a corner, keep them apart: turn right (clockwise)."""
    previous = points[-2] if len(points) > 1 else points[-1]
    dx, dy = current[0] - previous[0], current[1] - previous[1]
    for end in ends:
        ex, ey = end[0] - current[0], end[1] - current[1]
        if dx * ey - dy * ex < 0:
            ends.remove(end)
            return end
    return ends.pop(0)


def drop_straight_points(points):
    kept = []
    n = len(points)
    for i, p in enumerate(points):
        a, b = points[i - 1], points[(i + 1) % n]
        if (p[0] - a[0]) * (b[1] - p[1]) != (p[1] - a[1]) * (b[0] - p[0]):
            kept.append(p)
    return kept


def glyph_name(code):
    return "space" if code == 0x20 else f"uni{code:04X}"


def notdef_bitmap():
    rows = ["#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"]
    return bitmap_from_rows(rows, CAP_ROWS - 1, ".notdef")


def build_font(glyphs):
    codes = sorted(glyphs)
    order = [".notdef"] + [glyph_name(c) for c in codes]
    bitmaps = {".notdef": notdef_bitmap()}
    bitmaps.update({glyph_name(c): glyphs[c] for c in codes})

    outlines, metrics = {}, {}
    for name in order:
        bitmap = bitmaps[name]
        pen = TTGlyphPen(None)
        for contour in outline_contours(bitmap.pixels):
            pen.moveTo((contour[0][0] * PIXEL, contour[0][1] * PIXEL))
            for x, y in contour[1:]:
                pen.lineTo((x * PIXEL, y * PIXEL))
            pen.closePath()
        outlines[name] = pen.glyph()
        left = min((x for x, _ in bitmap.pixels), default=0)
        metrics[name] = ((bitmap.width + 1) * PIXEL, left * PIXEL)

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.setupHead(unitsPerEm=UNITS_PER_EM, created=TIMESTAMP, modified=TIMESTAMP)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap({c: glyph_name(c) for c in codes})
    fb.setupGlyf(outlines)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ASCENDER, descent=DESCENDER, lineGap=0)
    fb.setupNameTable({
        "copyright": "Drawn for QuennetApp.",
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": "QuennetPixel-Regular 1.000",
        "fullName": FAMILY + " Regular",
        "version": "Version 1.000",
        "psName": "QuennetPixel-Regular",
    })
    fb.setupOS2(
        version=4,
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        achVendID="QNET",
        fsSelection=0x40,  # regular
        sTypoAscender=ASCENDER,
        sTypoDescender=DESCENDER,
        sTypoLineGap=0,
        usWinAscent=ASCENDER,
        usWinDescent=-DESCENDER,
        sxHeight=5 * PIXEL,
        sCapHeight=CAP_ROWS * PIXEL,
        ulCodePageRange1=1,  # Latin 1
        ulCodePageRange2=0,
    )
    fb.setupPost()
    out = io.BytesIO()
    fb.save(out)
    return out.getvalue()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--glyphs", default=DEFAULT_GLYPHS)
    parser.add_argument("--output", default=DEFAULT_OUTPUT)
    parser.add_argument("--check", action="store_true",
                        help="compare with the output file instead of writing it")
    args = parser.parse_args()
    try:
        data = build_font(parse_glyph_file(args.glyphs))
    except (GlyphFileError, OSError, ValueError) as e:
        print(f"make_pixel_font: {e}", file=sys.stderr)
        return 2
    if args.check:
        try:
            with open(args.output, "rb") as f:
                current = f.read() == data
        except OSError:
            current = False
        if not current:
            print(f"make_pixel_font: {args.output} is out of date; rerun tools/make_pixel_font.py",
                  file=sys.stderr)
            return 1
        print(f"{args.output} is current ({len(data)} bytes)")
        return 0
    with open(args.output, "wb") as f:
        f.write(data)
    print(f"wrote {args.output} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
