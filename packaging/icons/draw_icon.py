#!/usr/bin/env python3
"""Draws Loomquill's icon for the icon theme (run by hand, not by the build: its output is kept
in the repository).

    python3 draw_icon.py

Writes loomquill.svg (the scalable icon, a 32-unit grid) and renders
hicolor/NxN/apps/loomquill.png with rsvg-convert (Debian librsvg2-bin). 16 pixels are drawn
pixel by pixel; at 48 the page is drawn on that size's own pixel grid and the quill scaled, so
both are as sharp as the whole multiples of 32. The colours are those of the tool-bar art
(resources/art/draw_art.py).
"""
import os
import subprocess
import tempfile

BLACK, WHITE, SILVER = '#000000', '#FFFFFF', '#C0C0C0'
NAVY, TEAL, AQUA, OLIVE = '#000080', '#008080', '#00FFFF', '#808000'
SIZES = (16, 32, 48, 64, 128, 256)
# Sizes not rendered from loomquill.svg.
OWN_DRAWING = (16, 48)
COLOURS = {'k': BLACK, 'w': WHITE, 's': SILVER, 'n': NAVY, 't': TEAL, 'a': AQUA, 'o': OLIVE}
PIXELS_16 = [
    '................',
    '..............nn',
    '.............nan',
    '.kkkkkkkkkkkntan',
    '.kwwswwswwwntan.',
    '.kwnnnnsnnntan..',
    '.kwwswwswntan...',
    '.kwnsnnnntan....',
    '.kwwswwntank....',
    '.kwnnnntnnwk....',
    '.kwwskokwwwk....',
    '.kwwkoknnnwk....',
    '.kwkkwwswwwk....',
    '.kwwswwswwwk....',
    '.kkkkkkkkkkk....',
    '................',
]


def rect(x, y, w, h, fill):
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{fill}"/>'


def polygon(points, s, fill, stroke=None, width=1):
    d = ' '.join(f'{x * s:g},{y * s:g}' for x, y in points)
    line = f' stroke="{stroke}" stroke-width="{width}" stroke-linejoin="round"' if stroke else ''
    return f'<polygon points="{d}" fill="{fill}"{line}/>'


def pixel_svg(pixels):
    out = []
    for y, row in enumerate(pixels):
        x = 0
        while x < len(row):
            end = x
            while end < len(row) and row[end] == row[x]:
                end += 1
            if row[x] in COLOURS:
                out.append(rect(x, y, end - x, 1, COLOURS[row[x]]))
            x = end
    return out


def drawing(grid):
    s = grid / 32.0
    px = lambda v: round(v * s)
    out = []
    # The page: white with a black edge one pixel wide.
    x0, y0, x1, y1 = px(3), px(4), px(23), min(grid - 1, px(31))
    out.append(rect(x0, y0, x1 - x0, y1 - y0, BLACK))
    out.append(rect(x0 + 1, y0 + 1, x1 - x0 - 2, y1 - y0 - 2, WHITE))
    # Weft: navy text lines; the last row is left for the line being written.
    step = max(3, px(3))
    rows = list(range(y0 + step, y1 - step - 1, step))
    ink_y = rows[-1] + step if rows else y1 - 3
    left = x0 + 2
    ends = [x1 - 2 - (px(4) if i % 3 == 2 else 0) for i in range(len(rows))]
    # Warp: silver threads, under the weft and over it in turn.
    warps = list(range(x0 + 3, x1 - 2, max(3, px(5))))
    for x in warps:
        out.append(rect(x, y0 + 2, 1, y1 - y0 - 4, SILVER))
    for y, end in zip(rows, ends):
        out.append(rect(left, y, end - left, 1, NAVY))
    for k, x in enumerate(warps):
        for j, (y, end) in enumerate(zip(rows, ends)):
            if (j + k) % 2 == 1 and x < end:
                out.append(rect(x, y, 1, 1, SILVER))
    ink_end = px(10)
    out.append(rect(left, ink_y, ink_end - left, 1, BLACK))
    # The quill: its nib ends where the ink line does.
    lift = (ink_y + 0.5) / s - 28.5
    q = lambda pts: [(x, y + lift) for x, y in pts]
    width = max(1, px(1))
    out.append(polygon(q([(13, 23), (18, 13), (25, 5), (31.5, 2.5), (29, 9), (22, 17)]), s,
                       TEAL, NAVY, width))
    out.append(polygon(q([(16.5, 20.5), (20, 13.5), (26, 7), (29, 5), (27, 9), (21, 16)]), s,
                       AQUA))
    (ax, ay), (bx, by) = q([(12, 25), (30, 4)])
    out.append(f'<path d="M{ax * s:g},{ay * s:g} L{bx * s:g},{by * s:g}" fill="none" '
               f'stroke="{WHITE}" stroke-width="{width}"/>')
    out.append(polygon(q([(10, 28.5), (11.5, 23), (15, 25.5)]), s, OLIVE, BLACK, width))
    return out


def svg(grid):
    out = pixel_svg(PIXELS_16) if grid == 16 else drawing(grid)
    # The page snaps to pixels wherever the icon is drawn; the quill stays smooth.
    page = [e for e in out if e.startswith('<rect')]
    rest = [e for e in out if not e.startswith('<rect')]
    body = '\n  '.join(['<g shape-rendering="crispEdges">'] + ['  ' + e for e in page] + ['</g>'] +
                       rest)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- Loomquill: a woven page and a quill writing its last line. Written by\n'
            '     packaging/icons/draw_icon.py. -->\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{grid}" height="{grid}" '
            f'viewBox="0 0 {grid} {grid}">\n'
            '  <title>Loomquill</title>\n'
            f'  {body}\n</svg>\n')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    scalable = os.path.join(here, 'loomquill.svg')
    with open(scalable, 'w') as f:
        f.write(svg(32))
    with tempfile.TemporaryDirectory() as tmp:
        for size in SIZES:
            source = scalable
            if size in OWN_DRAWING:
                source = os.path.join(tmp, f'{size}.svg')
                with open(source, 'w') as f:
                    f.write(svg(size))
            folder = os.path.join(here, 'hicolor', f'{size}x{size}', 'apps')
            os.makedirs(folder, exist_ok=True)
            subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size), '-o',
                            os.path.join(folder, 'loomquill.png'), source], check=True)


if __name__ == '__main__':
    main()
