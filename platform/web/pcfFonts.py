"""GLUT's bitmap fonts for the web layer, taken from the X bitmap fonts Debian
ships (xfonts-base, xfonts-75dpi) in their PCF files, written as C tables.

    pcfFonts.py <output.h>

Each font is found by its XLFD in the fonts.dir of the X font folders. For
characters 0..255 (ISO 8859-1) the table holds what glBitmap takes: width,
height, xorig, yorig, advance and the rows bottom first, each row packed
most significant bit first in whole bytes (unpack alignment 1).

The glyphs are cut to the cells the desktop's GLUT draws them in: a glyph's
ink left of its origin or at or past its advance is not drawn (so a string
never paints over its neighbours). Character 0 draws nothing and does not advance;
characters the font lacks draw nothing and advance by the cell in a
character-cell font, by nothing in a proportional one. A font's height is its
tallest ascent plus its deepest descent plus one row between lines."""
import gzip
import os
import struct
import sys

FOLDERS = ["/usr/share/fonts/X11/misc", "/usr/share/fonts/X11/75dpi"]

# GLUT's bitmap fonts: the table's name in C, the X font it is.
FONTS = [
    ("fixed8x13", "-misc-fixed-medium-r-normal--13-120-75-75-c-80-iso8859-1"),
    ("fixed9x15", "-misc-fixed-medium-r-normal--15-140-75-75-c-90-iso8859-1"),
    ("times10", "-adobe-times-medium-r-normal--10-100-75-75-p-54-iso8859-1"),
    ("times24", "-adobe-times-medium-r-normal--24-240-75-75-p-124-iso8859-1"),
    ("helvetica10", "-adobe-helvetica-medium-r-normal--10-100-75-75-p-56-iso8859-1"),
    ("helvetica12", "-adobe-helvetica-medium-r-normal--12-120-75-75-p-67-iso8859-1"),
    ("helvetica18", "-adobe-helvetica-medium-r-normal--18-180-75-75-p-98-iso8859-1"),
]

# PCF's table types and format bits.
PROPERTIES, METRICS, BITMAPS, ENCODINGS = 1, 4, 8, 32
COMPRESSED_METRICS = 0x100
BYTE_MSB, BIT_MSB = 4, 8


def fail(message):
    sys.exit("pcfFonts: " + message)


def find(xlfd):
    for folder in FOLDERS:
        listing = os.path.join(folder, "fonts.dir")
        if not os.path.exists(listing):
            continue
        with open(listing, encoding="latin-1") as f:
            for line in f.readlines()[1:]:
                parts = line.split(None, 1)
                if len(parts) == 2 and parts[1].strip().lower() == xlfd.lower():
                    return os.path.join(folder, parts[0])
    fail("no X font named %s in %s (are xfonts-base and xfonts-75dpi installed?)" % (xlfd, ", ".join(FOLDERS)))


class Table:
    """One PCF table: its format word and integers in its byte order."""

    def __init__(self, data, offset):
        self.data = data
        self.format = struct.unpack_from("<i", data, offset)[0]
        self.order = ">" if self.format & BYTE_MSB else "<"
        self.at = offset + 4

    def read(self, kind, count=1):
        values = struct.unpack_from(self.order + kind * count, self.data, self.at)
        self.at += struct.calcsize(self.order + kind * count)
        return values if count > 1 else values[0]


def load(path):
    opener = gzip.open if path.endswith(".gz") else open
    with opener(path, "rb") as f:
        data = f.read()
    if data[:4] != b"\x01fcp":
        fail("%s is not a PCF font" % path)
    count = struct.unpack_from("<i", data, 4)[0]
    tables = {}
    for i in range(count):
        kind, _, _, offset = struct.unpack_from("<4i", data, 8 + 16 * i)
        tables[kind] = offset
    for kind in (PROPERTIES, METRICS, BITMAPS, ENCODINGS):
        if kind not in tables:
            fail("%s lacks PCF table %d" % (path, kind))

    # Properties: the font's own name, to be sure of the file.
    t = Table(data, tables[PROPERTIES])
    props = [(t.read("i"), t.read("b"), t.read("i")) for _ in range(t.read("i"))]
    t.at += (4 - len(props) % 4) % 4
    t.read("i")
    strings = t.at

    def text(offset):
        end = data.index(b"\0", strings + offset)
        return data[strings + offset:end].decode("latin-1")

    names = {text(n): (text(v) if is_string else v) for n, is_string, v in props}

    # Metrics: left and right bearing, advance, ascent, descent per glyph.
    t = Table(data, tables[METRICS])
    if t.format & COMPRESSED_METRICS:
        n = t.read("h")
        metrics = [tuple(b - 0x80 for b in t.read("B", 5)) for _ in range(n)]
    else:
        metrics = []
        for _ in range(t.read("i")):
            m = t.read("h", 5)
            t.read("H")
            metrics.append(m)

    # Bitmaps: rows top first, padded to the table's glyph pad.
    t = Table(data, tables[BITMAPS])
    if t.read("i") != len(metrics):
        fail("%s: bitmaps and metrics disagree" % path)
    offsets = t.read("i", len(metrics)) if len(metrics) > 1 else [t.read("i")]
    t.read("i", 4)
    base = t.at
    pad = 1 << (t.format & 3)
    unit = 1 << ((t.format >> 4) & 3)
    msb_bits = bool(t.format & BIT_MSB)
    swap = bool(t.format & BYTE_MSB) != msb_bits and unit > 1

    def pixels(glyph):
        left, right, _, ascent, descent = metrics[glyph]
        w, h = right - left, ascent + descent
        stride = (w + 7) // 8
        stride = (stride + pad - 1) // pad * pad
        rows = []
        for r in range(h):
            row = bytearray(data[base + offsets[glyph] + r * stride:base + offsets[glyph] + (r + 1) * stride])
            if swap:
                for u in range(0, len(row), unit):
                    row[u:u + unit] = row[u:u + unit][::-1]
            bits = []
            for x in range(w):
                byte = row[x // 8]
                bits.append((byte >> (7 - x % 8)) & 1 if msb_bits else (byte >> (x % 8)) & 1)
            rows.append(bits)
        return rows

    # Encodings: the glyph of each character (single-byte fonts only).
    t = Table(data, tables[ENCODINGS])
    first, last, first_row, last_row, _ = t.read("h", 5)
    if first_row != 0 or last_row != 0:
        fail("%s is not a single-byte font" % path)
    indices = t.read("H", last - first + 1) if last > first else [t.read("H")]

    cell = names.get("SPACING", "P").upper() in ("C", "M")
    glyphs = []
    for c in range(256):
        i = indices[c - first] if first <= c <= last else 0xFFFF
        if c == 0 or i == 0xFFFF or i >= len(metrics):
            glyphs.append(None if c == 0 or not cell else
                          {"width": 0, "height": 0, "xorig": 0, "yorig": 0, "advance": metrics[0][2], "rows": []})  # cells advance alike
            continue
        left, right, advance, ascent, descent = metrics[i]
        rows = pixels(i)
        # The part of the ink in [0, advance) from the origin.
        cut_left, cut_right = max(left, 0), min(right, advance)
        if cut_right <= cut_left:
            rows, cut_left, cut_right = [], 0, 0
        else:
            rows = [row[cut_left - left:cut_right - left] for row in rows]
        glyphs.append({"width": cut_right - cut_left, "height": len(rows), "xorig": -cut_left,
                       "yorig": descent if rows else 0, "advance": advance, "rows": rows[::-1]})
    # Over every glyph of the font, not only those in 0..255.
    names["HEIGHT"] = max(m[3] for m in metrics) + max(m[4] for m in metrics) + 1
    return names, glyphs


def packed(rows, width):
    out = []
    for bits in rows:
        for x in range(0, width, 8):
            byte = 0
            for k, bit in enumerate(bits[x:x + 8]):
                byte |= bit << (7 - k)
            out.append(byte)
    return out


def main():
    if len(sys.argv) != 2:
        fail("usage: pcfFonts.py <output.h>")
    out = ["// Made by platform/web/pcfFonts.py from the X bitmap fonts; not to be edited.",
           "// Per font: the glyphs of characters 0..255 (width, height, xorig, yorig,",
           "// advance, offset into the font's bits) and its height (GLUT's line spacing).", ""]
    for name, xlfd in FONTS:
        path = find(xlfd)
        props, glyphs = load(path)
        if props.get("FONT", "").lower() != xlfd.lower():
            fail("%s is named %s, not %s" % (path, props.get("FONT"), xlfd))
        bits, rows = [], []
        for g in glyphs:
            if g is None:
                rows.append("{0, 0, 0, 0, 0, 0}")
                continue
            rows.append("{%d, %d, %d, %d, %d, %d}" % (g["width"], g["height"], g["xorig"], g["yorig"],
                                                      g["advance"], len(bits)))
            bits += packed(g["rows"], g["width"])
        out.append("// %s: %s" % (xlfd, os.path.basename(path)))
        out.append("const unsigned char %sBits[] = {" % name)
        for i in range(0, len(bits), 16):
            out.append("    " + ", ".join("0x%02x" % b for b in bits[i:i + 16]) + ",")
        out.append("    0};")
        out.append("const Glyph %sGlyphs[256] = {" % name)
        for i in range(0, 256, 4):
            out.append("    " + ", ".join(rows[i:i + 4]) + ",")
        out.append("};")
        out.append("const int %sHeight = %d;" % (name, props["HEIGHT"]))
        out.append("")
    text = "\n".join(out)
    # Written only when it changes, so that an unchanged table rebuilds nothing.
    target = sys.argv[1]
    if os.path.exists(target):
        with open(target) as f:
            if f.read() == text:
                return
    with open(target, "w") as f:
        f.write(text)


main()
