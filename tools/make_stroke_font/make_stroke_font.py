#!/usr/bin/python3
"""Builds the program's stroke font, Vorelpf1.dat, from a public-domain Hershey font.

    tools/make_stroke_font/make_stroke_font.py [--hershey FILE.jhf] [--output FILE]

The glyphs come from the simplex Roman of Debian's hershey-fonts-data
(/usr/share/hershey-fonts/rowmans.jhf). The accented letters of Windows-1252
are put together from a base letter and accent strokes drawn here, and a few
signs an electrician writes (degree, micro, plus-minus, squared, euro) are
drawn here as well.

The file is a flat array of 3-byte entries (x, y, flags), at most 4000 of
them. Flags bit 0 draws a stroke to the point (else the pen moves there);
bit 7 alternates from one character code to the next, starting clear at code
0, which is how the reader finds where a character begins. The last entry of
a character is never drawn: its x is the advance width. Coordinates are
unsigned bytes, y downward, with the origin at the top left of the glyph box.

One Hershey unit becomes one font unit, 3 x size micrometres at the program's
text size (150 micrometres at the default size 50), so a capital is 21 units
or 3.15 mm tall.
"""

import argparse
import sys
import unicodedata
from pathlib import Path

ENTRY_LIMIT = 4000
DRAW = 0x01
PARITY = 0x80

# Hershey vertical metrics (y grows downward, baseline at 9).
CAP_TOP = -12
X_TOP = -5
BASELINE = 9

# Accent zones, given by their lowest y and their height: on small letters
# between the x-height and the ascender, on capitals squeezed above the cap.
SMALL_ZONE = (-8, 4)
CAPITAL_ZONE = (-14, 3)


class Glyph:
    """A glyph in Hershey coordinates: strokes of (x, y) points and the
    left and right side bearings that give its advance."""

    def __init__(self, left, right, strokes):
        self.left = left
        self.right = right
        self.strokes = [list(s) for s in strokes if len(s) >= 2]

    def copy(self):
        return Glyph(self.left, self.right, self.strokes)

    def points(self):
        return [p for s in self.strokes for p in s]

    def centre_x(self):
        xs = [x for x, _ in self.points()]
        return (min(xs) + max(xs)) // 2

    def with_strokes(self, extra):
        g = self.copy()
        g.strokes += [list(s) for s in extra]
        return g


def read_jhf(path):
    """Reads the glyphs of a .jhf file in file order. Long glyphs may be
    wrapped over several lines; the vertex count tells where one ends."""
    glyphs = []
    text = open(path, encoding="ascii").read().replace("\r", "")
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.strip():
            continue
        count = int(line[5:8])
        data = line[8:]
        while len(data) < 2 * count and i < len(lines):
            data += lines[i]
            i += 1
        pairs = [data[k : k + 2] for k in range(0, 2 * count, 2)]
        left, right = ord(pairs[0][0]) - 82, ord(pairs[0][1]) - 82
        strokes, stroke = [], []
        for p in pairs[1:]:
            if p == " R":
                strokes.append(stroke)
                stroke = []
            else:
                stroke.append((ord(p[0]) - 82, ord(p[1]) - 82))
        strokes.append(stroke)
        glyphs.append(Glyph(left, right, strokes))
    return glyphs


def dot(x, y):
    """A dot the way the Hershey simplex draws them: a small diamond."""
    return [(x, y - 1), (x - 1, y), (x, y + 1), (x + 1, y), (x, y - 1)]


def accent(kind, cx, zone, narrow=False):
    """Strokes of an accent centred on x = cx in the given zone; a narrow
    letter (i) gets its two dots closer together."""
    bottom, h = zone
    top = bottom - h
    mid = bottom - h // 2
    if kind == "acute":
        return [[(cx + 2, top), (cx - 1, bottom)]]
    if kind == "grave":
        return [[(cx - 2, top), (cx + 1, bottom)]]
    if kind == "circumflex":
        return [[(cx - 3, bottom), (cx, top), (cx + 3, bottom)]]
    if kind == "diaeresis":
        spread = 2 if narrow else 3 if zone == SMALL_ZONE else 4
        return [dot(cx - spread, mid), dot(cx + spread, mid)]
    if kind == "tilde":
        return [
            [
                (cx - 4, bottom),
                (cx - 4, bottom - 1),
                (cx - 3, top),
                (cx - 2, top),
                (cx + 2, bottom),
                (cx + 3, bottom),
                (cx + 4, bottom - 1),
                (cx + 4, top),
            ]
        ]
    if kind == "ring":
        # Sits on the apex of the letter, so it may reach a unit lower.
        b = bottom + 1
        return [[(cx - 1, b - 4), (cx + 1, b - 4), (cx + 2, b - 3), (cx + 2, b - 1),
                 (cx + 1, b), (cx - 1, b), (cx - 2, b - 1), (cx - 2, b - 3), (cx - 1, b - 4)]]
    raise ValueError(kind)


def cedilla(cx):
    return [[(cx, BASELINE), (cx, BASELINE + 2), (cx + 2, BASELINE + 3), (cx + 2, BASELINE + 4),
             (cx + 1, BASELINE + 5), (cx - 2, BASELINE + 5)]]


def without_dot(g):
    """The letter without its dot (i, j): strokes wholly above the x-height go."""
    d = g.copy()
    d.strokes = [s for s in d.strokes if max(y for _, y in s) > X_TOP]
    return d


def doubled(g):
    """Two copies of a quote side by side."""
    strokes = [[(x + dx, y) for x, y in s] for s in g.strokes for dx in (-2, 2)]
    return Glyph(-6, 6, strokes)


def build_glyphs(base):
    """Returns dicts of {code: Glyph} in order of priority: what must be there
    first, accented capitals last, so that they give way first when room
    runs out."""
    ascii_ = {32 + i: g for i, g in enumerate(base[:95])}

    # The simplex Roman draws an arrow at '^' and a quote at '`': both get
    # the shape a keyboard promises.
    ascii_[94] = Glyph(-5, 5, [[(-4, -7), (0, -12), (4, -7)]])
    ascii_[96] = Glyph(-4, 4, [[(-1, -12), (2, -9)]])

    small = {}
    capitals = {}
    marks = {"grave": "\u0300", "acute": "\u0301", "circumflex": "\u0302", "tilde": "\u0303",
             "diaeresis": "\u0308", "ring": "\u030a"}
    letters = {
        "a": ["grave", "acute", "circumflex", "tilde", "diaeresis", "ring"],
        "e": ["grave", "acute", "circumflex", "diaeresis"],
        "i": ["grave", "acute", "circumflex", "diaeresis"],
        "o": ["grave", "acute", "circumflex", "tilde", "diaeresis"],
        "u": ["grave", "acute", "circumflex", "diaeresis"],
        "n": ["tilde"],
        "y": ["acute"],
    }

    def code_of(ch):
        b = ch.encode("cp1252")
        assert len(b) == 1
        return b[0]

    for letter, kinds in letters.items():
        for kind in kinds:
            for capital in (False, True):
                base_letter = letter.upper() if capital else letter
                ch = unicodedata.normalize("NFC", base_letter + marks[kind])
                try:
                    code = code_of(ch)
                except UnicodeEncodeError:
                    continue
                if code == 255:
                    continue  # the last code can never own strokes
                g = ascii_[ord(base_letter)]
                if base_letter == "i":
                    g = without_dot(g)
                zone = CAPITAL_ZONE if capital else SMALL_ZONE
                narrow = g.right - g.left <= 8
                marked = g.with_strokes(accent(kind, g.centre_x(), zone, narrow))
                (capitals if capital else small)[code] = marked

    c, C = ascii_[ord("c")], ascii_[ord("C")]
    small[code_of("ç")] = c.with_strokes(cedilla(c.centre_x() + 1))
    capitals[code_of("Ç")] = C.with_strokes(cedilla(C.centre_x() + 1))

    o, O = ascii_[ord("o")], ascii_[ord("O")]
    small[code_of("ø")] = o.with_strokes([[(7, -7), (-7, 11)]])
    capitals[code_of("Ø")] = O.with_strokes([[(10, -15), (-10, 12)]])

    # Sharp s: a tall stem that turns over the top into two bowls.
    small[code_of("ß")] = Glyph(-8, 8, [[(-5, 9), (-5, -7), (-4, -10), (-2, -12), (1, -12), (3, -11),
                                         (4, -9), (4, -7), (3, -5), (0, -4), (-1, -4)],
                                        [(0, -4), (3, -3), (5, -1), (6, 1), (6, 4), (5, 7),
                                         (3, 9), (0, 9)]])

    signs = {}
    signs[code_of("°")] = Glyph(-4, 4, [[(-1, -12), (1, -12), (2, -11), (2, -9), (1, -8), (-1, -8),
                                         (-2, -9), (-2, -11), (-1, -12)]])
    u = ascii_[ord("u")]
    signs[code_of("µ")] = u.with_strokes([[(-6, -5), (-6, 16)]])
    signs[code_of("±")] = Glyph(-9, 9, [[(0, -8), (0, 4)], [(-7, -2), (7, -2)], [(-7, 9), (7, 9)]])
    signs[code_of("×")] = Glyph(-8, 8, [[(-5, -5), (5, 5)], [(5, -5), (-5, 5)]])
    # Small figures for mm² and m³, drawn on the grid rather than scaled down.
    signs[code_of("²")] = Glyph(-5, 5, [[(-3, -11), (-2, -12), (1, -12), (2, -11), (2, -9), (-3, -5),
                                         (3, -5)]])
    signs[code_of("³")] = Glyph(-5, 5, [[(-3, -12), (2, -12), (-1, -9), (1, -9), (2, -8), (2, -6),
                                         (1, -5), (-2, -5), (-3, -6)]])
    euro = C.with_strokes([[(-10, -3), (2, -3)], [(-10, 1), (1, 1)]])
    euro.left -= 2
    signs[code_of("€")] = euro
    # Typographic quotes and the en dash that pasted text brings along.
    signs[code_of("\u2018")] = base[96 - 32].copy()  # the simplex's own opening quote
    signs[code_of("\u2019")] = ascii_[ord("'")].copy()
    signs[code_of("\u201c")] = doubled(base[96 - 32])
    signs[code_of("\u201d")] = doubled(ascii_[ord("'")])
    signs[code_of("\u2013")] = Glyph(-9, 9, [[(-8, 0), (8, 0)]])

    return [ascii_, small, signs, capitals]


def to_entries(g, parity, top):
    """The entries of one character: its strokes in font units, then the
    advance entry."""
    x0 = g.left
    xs = [x for x, _ in g.points()] or [x0]
    if min(xs) < x0:
        x0 = min(xs)  # nothing may reach left of the glyph's origin
    entries = []
    for s in g.strokes:
        for k, (x, y) in enumerate(s):
            fx, fy = x - x0, y - top
            assert 0 <= fx <= 255 and 0 <= fy <= 255, (x, y)
            entries.append((fx, fy, parity | (DRAW if k else 0)))
    advance = g.right - x0
    assert 0 < advance <= 255
    entries.append((advance, 0, parity))
    return entries


def layout(groups, space_advance, top):
    """Lays the characters out from code 0 to 255, dropping the last groups'
    glyphs (from the end) while the entries do not fit."""
    chosen = {}
    for group in groups:
        chosen.update(group)
    order = [code for group in groups for code in group]

    def build():
        entries = []
        for code in range(256):
            parity = PARITY if code & 1 else 0
            if code in chosen:
                entries += to_entries(chosen[code], parity, top)
            else:
                entries.append((space_advance, 0, parity))
        # Code 255 begins at its entry and is closed at once by the next
        # change of parity, which leaves it empty: it advances by the x of
        # the entry that follows.
        entries.append((space_advance, 0, 0))
        return entries

    entries = build()
    dropped = []
    while len(entries) > ENTRY_LIMIT:
        code = order.pop()
        del chosen[code]
        dropped.append(code)
        entries = build()
    return entries, sorted(chosen), dropped


def main():
    parser = argparse.ArgumentParser(description="Builds the stroke font file.")
    parser.add_argument("--hershey", default="/usr/share/hershey-fonts/rowmans.jhf")
    repo = Path(__file__).resolve().parents[2]
    parser.add_argument("--output", default=str(repo / "data" / "Vorelpf1.dat"))
    args = parser.parse_args()

    base = read_jhf(args.hershey)
    if len(base) < 95:
        sys.exit(f"{args.hershey}: expected the 95 printable characters, found {len(base)}")
    groups = build_glyphs(base)
    top = min(y for group in groups for g in group.values() for _, y in g.points())
    space = base[0]
    entries, codes, dropped = layout(groups, space.right - space.left, top)

    assert entries[1][2] != 0, "the reader takes a zero entry 1 for a missing font"
    data = bytearray()
    for x, y, flags in entries:
        data += bytes((x, y, flags))
    with open(args.output, "wb") as f:
        f.write(data)
    print(f"{args.output}: {len(entries)} entries, {len(codes)} glyphs, "
          f"cap height {BASELINE - CAP_TOP} units, baseline at y {BASELINE - top}")
    if dropped:
        print("no room for codes " + " ".join(str(c) for c in sorted(dropped)))


if __name__ == "__main__":
    main()
