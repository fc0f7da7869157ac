#!/usr/bin/env python3
"""Draws Loomquill's tool bitmaps and cursors as XPM files (run by hand, not by the
build: the XPM files it writes are kept in the repository and compiled in).

    python3 draw_art.py [--preview DIR]

Each tool is drawn at 32 pixels and, for a scale of 2, at 64 (name_64.xpm).

--preview also writes each image enlarged 8 times as a PNG, to look at while drawing.
"""
import os
import struct
import sys
import zlib

# The 16 colours of a classic palette, plus '.' for transparent.
PALETTE = {
    'k': '#000000', 'm': '#800000', 'g': '#008000', 'o': '#808000',
    'n': '#000080', 'p': '#800080', 't': '#008080', 's': '#C0C0C0',
    'd': '#808080', 'r': '#FF0000', 'l': '#00FF00', 'y': '#FFFF00',
    'b': '#0000FF', 'f': '#FF00FF', 'a': '#00FFFF', 'w': '#FFFFFF',
}
CLEAR = '.'


class Canvas:
    """Pixel art drawn in the 32-pixel grid of the design, at scale 1 or 2: at 2 each cell is
    2 x 2 pixels, and curves and outlines are drawn at the finer pixels, so the 64-pixel
    version is sharper than the 32-pixel one doubled."""

    def __init__(self, w, h, scale=1):
        self.s = scale
        self.w, self.h = w * scale, h * scale
        self.px = [[CLEAR] * self.w for _ in range(self.h)]

    def set(self, x, y, c):
        """One cell of the grid."""
        for py in range(y * self.s, (y + 1) * self.s):
            for px in range(x * self.s, (x + 1) * self.s):
                self.dot(px, py, c)

    def dot(self, px, py, c):
        """One pixel."""
        if 0 <= px < self.w and 0 <= py < self.h:
            self.px[py][px] = c

    def centres(self):
        """Each pixel with its centre in grid units."""
        for py in range(self.h):
            for px in range(self.w):
                yield px, py, (px + 0.5) / self.s, (py + 0.5) / self.s

    def fill_rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polygon(self, pts, c, outline=None):
        # Pixel centres inside the polygon (even-odd rule).
        for px, py, x, y in self.centres():
            if self._inside(pts, x, y):
                self.dot(px, py, c)
        if outline:
            self.outline_of(lambda x, y: self._inside(pts, x, y), outline)

    @staticmethod
    def _inside(pts, px, py):
        inside = False
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
            if (ay <= py < by) or (by <= py < ay):
                if px < ax + (py - ay) * (bx - ax) / (by - ay):
                    inside = not inside
        return inside

    def ellipse(self, cx, cy, rx, ry, c):
        for px, py, x, y in self.centres():
            if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                self.dot(px, py, c)

    def ring(self, cx, cy, r_out, r_in, c):
        for px, py, x, y in self.centres():
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if r_in <= d <= r_out:
                self.dot(px, py, c)

    def outline_of(self, inside, c):
        """Pixels inside (a test of a point in grid units) whose 4-neighbour lies outside
        become the outline colour: one pixel wide at any scale."""
        def within(px, py):
            return (0 <= px < self.w and 0 <= py < self.h and
                    inside((px + 0.5) / self.s, (py + 0.5) / self.s))
        marks = []
        for py in range(self.h):
            for px in range(self.w):
                if not within(px, py):
                    continue
                for nx, ny in ((px - 1, py), (px + 1, py), (px, py - 1), (px, py + 1)):
                    if not within(nx, ny):
                        marks.append((px, py))
                        break
        for px, py in marks:
            self.dot(px, py, c)

    def outline_colour(self, fill, c):
        s = self.s
        self.outline_of(lambda x, y: self.px[int(y * s)][int(x * s)] == fill, c)

    def xpm(self, name, hotspot=None):
        used = sorted({ch for row in self.px for ch in row})
        lines = ['/* XPM */', 'static const char* const %s[] = {' % name]
        head = '"%d %d %d 1' % (self.w, self.h, len(used))
        if hotspot:
            head += ' %d %d' % hotspot
        lines.append(head + '",')
        for ch in used:
            lines.append('"%s c %s",' % (ch, 'None' if ch == CLEAR else PALETTE[ch]))
        for i, row in enumerate(self.px):
            lines.append('"%s"%s' % (''.join(row), ',' if i + 1 < self.h else '};'))
        return '\n'.join(lines) + '\n'

    def png(self, path, scale=8):
        def rgb(ch):
            if ch == CLEAR:
                return (0xE8, 0xE0, 0xD0)  # preview backdrop
            v = PALETTE[ch]
            return tuple(int(v[i:i + 2], 16) for i in (1, 3, 5))
        raw = b''
        for row in self.px:
            line = b''.join(bytes(rgb(ch)) * scale for ch in row)
            raw += (b'\0' + line) * scale
        def chunk(kind, data):
            return (struct.pack('>I', len(data)) + kind + data +
                    struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
        with open(path, 'wb') as f:
            f.write(b'\x89PNG\r\n\x1a\n')
            f.write(chunk(b'IHDR', struct.pack('>IIBBBBB', self.w * scale, self.h * scale,
                                               8, 2, 0, 0, 0)))
            f.write(chunk(b'IDAT', zlib.compress(raw, 9)))
            f.write(chunk(b'IEND', b''))


def page(cv, x0, y0, x1, y1, fold=6, lines=None):
    """A white sheet with a folded top-right corner and grey text lines."""
    cv.polygon([(x + 0.0, y + 0.0) for x, y in
                [(x0, y0), (x1 + 1 - fold, y0), (x1 + 1, y0 + fold), (x1 + 1, y1 + 1),
                 (x0, y1 + 1)]], 'w')
    cv.outline_colour('w', 'k')
    # The fold: a grey triangle under the cut corner.
    for i in range(fold):
        for j in range(i + 1):
            cv.set(x1 - fold + 1 + j, y0 + i, 's')
        cv.set(x1 - fold + 1 + i, y0 + i, 'k')
    cv.line(x1 - fold + 1, y0, x1 - fold + 1, y0 + fold - 1, 'k')
    cv.line(x1 - fold + 1, y0 + fold, x1, y0 + fold, 'k')
    for (lx0, lx1, ly) in (lines or []):
        cv.line(lx0, ly, lx1, ly, 'd')


def tool_create(scale):
    cv = Canvas(32, 32, scale)
    page(cv, 4, 1, 22, 26, fold=6,
         lines=[(7, 14, 5), (7, 19, 9), (7, 17, 12), (7, 19, 15), (7, 13, 18), (7, 16, 21)])
    # A green plus: "make a new output", outlined, with a light line inside.
    for inset, colour in ((0, 'g'), (1, 'l'), (2, 'g')):
        cv.fill_rect(20 + inset, 14 + inset, 25 - inset, 31 - inset, colour)
        cv.fill_rect(14 + inset, 20 + inset, 31 - inset, 25 - inset, colour)
        if inset == 0:
            cv.outline_colour('g', 'k')
    return cv


def page_at_left(scale):
    """The page the view and preview tools share, leaving room on the right for a sign."""
    cv = Canvas(32, 32, scale)
    page(cv, 2, 1, 20, 26, fold=6,
         lines=[(5, 12, 5), (5, 17, 9), (5, 15, 12), (5, 17, 15), (5, 11, 18), (5, 14, 21)])
    return cv


def tool_view(scale):
    cv = page_at_left(scale)
    # A blue arrow out of the page: the output file opened in the text editor.
    arrow = [(10.5, 16.5), (22.5, 16.5), (22.5, 11.5), (31.5, 19.5), (22.5, 27.5),
             (22.5, 22.5), (10.5, 22.5)]
    cv.polygon(arrow, 'b', outline='k')
    cv.line(12, 19, 22, 19, 'a')
    cv.line(23, 15, 27, 19, 'a')
    return cv


def tool_preview(scale):
    cv = Canvas(32, 32, scale)
    # A window of its own, not a sheet: a title bar over the text it shows...
    cv.fill_rect(1, 3, 30, 28, 'w')
    cv.outline_colour('w', 'k')
    cv.fill_rect(2, 4, 29, 7, 'n')
    cv.fill_rect(26, 5, 28, 6, 'w')
    for (x0, x1, y) in ((4, 14, 10), (4, 24, 12), (4, 10, 26), (20, 27, 26)):
        cv.line(x0, y, x1, y, 'd')
    # ...and an open eye on it: what Create would write, seen before it is written.
    cx, cy, hw, hh = 16.0, 19.0, 11.5, 6.0

    def lid(x, y):
        u = (x - cx) / hw
        return abs(u) < 1.0 and abs(y - cy) <= hh * (1.0 - u * u)
    for px, py, x, y in cv.centres():
        if lid(x, y):
            cv.dot(px, py, 'w')
    cv.outline_of(lid, 'k')
    cv.ellipse(cx, cy, 4.6, 4.6, 'n')
    cv.ellipse(cx, cy, 3.6, 3.6, 'b')
    cv.ellipse(cx, cy, 1.8, 1.8, 'k')
    cv.set(17, 17, 'w')
    return cv


def tool_clear(scale):
    cv = Canvas(32, 32, scale)
    # A list of names being rubbed out.
    cv.fill_rect(1, 2, 22, 25, 'w')
    cv.outline_colour('w', 'k')
    for y in (6, 10, 14, 18, 22):
        cv.line(4, y, 19, y, 'n')
        cv.set(4, y, 'b')
    cv.line(4, 10, 7, 10, 's')
    cv.line(9, 14, 12, 14, 's')
    cv.line(13, 18, 14, 18, 's')
    # The eraser, slanted: a red grip and a white rubbing end.
    grip = [(17.0, 9.0), (24.0, 2.0), (31.0, 9.0), (24.0, 16.0)]
    tip = [(10.0, 16.0), (17.0, 9.0), (24.0, 16.0), (17.0, 23.0)]
    cv.polygon(grip, 'b')
    cv.polygon(tip, 'f')
    whole = [(10.0, 16.0), (24.0, 2.0), (31.0, 9.0), (17.0, 23.0)]
    cv.outline_of(lambda x, y: Canvas._inside(whole, x, y), 'k')
    cv.line(17, 10, 23, 16, 'k')
    # Crumbs of rubber under the tip.
    for x, y in ((7, 26), (10, 28), (13, 27), (6, 29), (16, 29)):
        cv.set(x, y, 'd')
    cv.line(11, 24, 17, 24, 'm')
    return cv


ARROW = [
    'X',
    'XX',
    'XwX',
    'XwwX',
    'XwwwX',
    'XwwwwX',
    'XwwwwwX',
    'XwwwwwwX',
    'XwwwwwwwX',
    'XwwwwwwwwX',
    'XwwwwwwwwwX',
    'XwwwwwwXXXXX',
    'XwwwXwwX',
    'XwwXXwwX',
    'XwX  XwwX',
    'XX   XwwX',
    'X     XwwX',
    '      XwwX',
    '       XwwX',
    '       XwwX',
    '        XX',
]


def cursor_arrow():
    cv = Canvas(32, 32)
    for y, row in enumerate(ARROW):
        for x, ch in enumerate(row):
            if ch != ' ':
                cv.set(x, y, 'k' if ch == 'X' else 'w')
    return cv, (0, 0)


def cursor_hand():
    cv = Canvas(32, 32)
    w = 'w'
    # Palm and wrist.
    cv.ellipse(14.5, 19.5, 10.5, 8.5, w)
    cv.fill_rect(8, 22, 21, 31, w)
    # Four fingers side by side; neighbours share an outline column.
    tops = ((4, 8), (9, 3), (14, 2), (19, 5))
    for (x0, top) in tops:
        cv.fill_rect(x0, top + 1, x0 + 5, 19, w)
        cv.fill_rect(x0 + 1, top, x0 + 4, top, w)
    # Thumb, out to the left.
    cv.polygon([(0.0, 13.5), (3.5, 10.5), (10.0, 17.0), (10.0, 26.0), (7.0, 26.0)], w)
    cv.outline_colour(w, 'k')
    # Gaps between the fingers, down to the knuckles.
    for (xa, ta), (_, tb) in zip(tops, tops[1:]):
        cv.line(xa + 5, max(ta, tb), xa + 5, 16, 'k')
    return cv, (14, 20)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    preview = None
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        preview = sys.argv[2]
        os.makedirs(preview, exist_ok=True)
    # Each tool at 32 pixels and at 64, for a scale of 2.
    items = []
    for name, draw in (('tool_create', tool_create), ('tool_view', tool_view),
                       ('tool_preview', tool_preview), ('tool_clear', tool_clear)):
        items.append((name, draw(1), None))
        items.append((name + '_64', draw(2), None))
    items += [
        ('cursor_normal', *cursor_arrow()),
        ('cursor_hand', *cursor_hand()),
    ]
    for name, cv, hot in items:
        with open(os.path.join(here, name + '.xpm'), 'w') as f:
            f.write(cv.xpm(name + '_xpm', hot))
        if preview:
            cv.png(os.path.join(preview, name + '.png'))


if __name__ == '__main__':
    main()
