#!/usr/bin/env python3
"""Writes the Windows metafile samples of tests/print/fixtures: shapes in known colours at known
places, so a test can play them and compare pixels. Run from any folder; the files are
committed, so this runs only when a sample changes."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")


def rgb(r, g, b):
    return r | (g << 8) | (b << 16)


def dib_2x2(bits=24):
    """A 2 x 2 bottom-up bitmap: red top left, green top right, blue bottom left, white bottom
    right."""
    tl, tr, bl, br = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)
    rows = []
    for left, right in ((bl, br), (tl, tr)):  # bottom row first
        row = b""
        for r, g, b in (left, right):
            row += bytes([b, g, r]) + (b"\0" if bits == 32 else b"")
        row += b"\0" * ((4 - len(row) % 4) % 4)
        rows.append(row)
    header = struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, bits, 0, len(b"".join(rows)), 0, 0, 0, 0)
    return header, b"".join(rows)


def dib_8bit_4x1():
    """A 4 x 1 palette bitmap: black, red, green, blue."""
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in ((0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)))
    header = struct.pack("<IiiHHIIiiII", 40, 4, 1, 1, 8, 0, 4, 0, 0, 4, 0)
    return header + palette, bytes([0, 1, 2, 3])


# ---- Windows metafiles ----

def wmf_record(function, *words, data=b""):
    body = b"".join(struct.pack("<h" if w < 0x8000 else "<H", w) for w in words) + data
    if len(body) % 2:
        body += b"\0"
    return struct.pack("<IH", 3 + len(body) // 2, function) + body


def wmf_file(records, bounds, inch, objects):
    records = list(records) + [wmf_record(0x0000)]
    body = b"".join(records)
    max_record = max(len(r) // 2 for r in records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x0300, 9 + len(body) // 2, objects, max_record, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, *bounds, inch, 0)
    checksum = 0
    for (w,) in struct.iter_unpack("<H", placeable):
        checksum ^= w
    return placeable + struct.pack("<H", checksum) + header + body


def colorref(c):
    return [c & 0xFFFF, c >> 16]


def wmf_brush(c):
    return wmf_record(0x02FC, 0, *colorref(c), 0)


def wmf_pen(style, width, c):
    return wmf_record(0x02FA, style, width, 0, *colorref(c))


def wmf_font(height, face, weight=400, escapement=0, charset=0):
    name = face.encode("latin-1")[:31].ljust(32, b"\0")
    data = struct.pack("<hhhhhBBBBBBBB", height, 0, escapement, escapement, weight, 0, 0, 0, charset, 0, 0, 0, 0)
    data += name
    return wmf_record(0x02FB, data=data)


def wmf_rect(fn, left, top, right, bottom):
    return wmf_record(fn, bottom, right, top, left)


def wmf_points(fn, points):
    return wmf_record(fn, len(points), *[v for p in points for v in p])


def wmf_stretch_dib(x, y, w, h, header, bits, src_w, src_h):
    params = struct.pack("<IHhhhhhhhh", 0x00CC0020, 0, src_h, src_w, 0, 0, h, w, y, x)
    return wmf_record(0x0F43, data=params + header + bits)


def shapes_wmf():
    """1000 x 1000 logical units, one inch. Objects: 0 red brush, 1 null pen, 2 blue brush,
    3 magenta brush, 4 cyan brush, 5 green pen 20 wide, 6 font."""
    r = [
        wmf_record(0x020B, 0, 0),  # SetWindowOrg
        wmf_record(0x020C, 1000, 1000),  # SetWindowExt
        wmf_record(0x0102, 1),  # SetBkMode transparent
        wmf_brush(rgb(255, 0, 0)), wmf_record(0x012D, 0),
        wmf_pen(5, 0, 0), wmf_record(0x012D, 1),
        wmf_rect(0x041B, 50, 50, 350, 350),  # red square
        wmf_brush(rgb(0, 0, 255)), wmf_record(0x012D, 2),
        wmf_rect(0x0418, 400, 50, 700, 350),  # blue ellipse
        wmf_record(0x001E),  # SaveDC
        wmf_record(0x020C, 2000, 2000),  # half the scale
        wmf_brush(rgb(255, 0, 255)), wmf_record(0x012D, 3),
        wmf_rect(0x041B, 100, 800, 700, 1300),  # magenta: 50..350 x 400..650
        wmf_record(0x0127, 0xFFFF),  # RestoreDC -1
        wmf_brush(rgb(0, 255, 255)), wmf_record(0x012D, 4),
        wmf_rect(0x041B, 750, 50, 950, 250),  # cyan, at the restored scale
        wmf_pen(0, 20, rgb(0, 128, 0)), wmf_record(0x012D, 5),
        wmf_points(0x0325, [(50, 850), (950, 850)]),  # green polyline
    ]
    header, bits = dib_2x2(24)
    r.append(wmf_stretch_dib(400, 400, 300, 300, header, bits, 2, 2))
    r += [wmf_record(0x0209, *colorref(rgb(0, 0, 0))), wmf_font(-200, "Arial", 700), wmf_record(0x012D, 6)]
    text = b"Ab"
    r.append(wmf_record(0x0521, len(text), data=text + struct.pack("<hh", 420, 750)))  # TextOut y, x
    return wmf_file(r, (0, 0, 1000, 1000), 1000, 7)


def figures_wmf():
    """Rounded rectangles, chords, arcs, fill modes, clipping and turned text on 1000 x 1000
    logical units."""
    r = [
        wmf_record(0x020B, 0, 0), wmf_record(0x020C, 1000, 1000), wmf_record(0x0102, 1),
        wmf_pen(5, 0, 0), wmf_record(0x012D, 0),  # 0 null pen
        wmf_brush(rgb(255, 0, 0)), wmf_record(0x012D, 1),
        wmf_record(0x061C, 200, 200, 350, 350, 50, 50),  # RoundRect h, w, bottom, right, top, left
        wmf_brush(rgb(0, 0, 255)), wmf_record(0x012D, 2),
        wmf_record(0x0830, 200, 400, 200, 700, 350, 700, 50, 400),  # Chord east to west: upper half
        wmf_pen(0, 20, rgb(0, 128, 0)), wmf_record(0x012D, 3),
        wmf_record(0x0817, 50, 850, 150, 950, 250, 950, 50, 750),  # Arc east to north
        wmf_pen(5, 0, 0), wmf_record(0x012D, 4),
        wmf_brush(rgb(255, 0, 255)), wmf_record(0x012D, 5),
    ]

    def nested(dx):
        outer = [(50 + dx, 400), (350 + dx, 400), (350 + dx, 700), (50 + dx, 700)]
        inner = [(125 + dx, 475), (275 + dx, 475), (275 + dx, 625), (125 + dx, 625)]
        return wmf_record(0x0538, 2, 4, 4, *[v for p in outer + inner for v in p])

    r += [nested(0), wmf_record(0x0106, 2), nested(350)]  # alternate, then winding
    r += [
        wmf_record(0x001E),
        wmf_record(0x0416, 700, 850, 400, 750),  # IntersectClipRect bottom, right, top, left
        wmf_brush(rgb(0, 255, 255)), wmf_record(0x012D, 6),
        wmf_rect(0x041B, 750, 400, 950, 700),
        wmf_record(0x0127, 0xFFFF),
        wmf_brush(rgb(255, 255, 0)), wmf_record(0x012D, 7),
        wmf_rect(0x041B, 750, 750, 950, 950),
        wmf_font(-100, "Arial", 400, 900), wmf_record(0x012D, 8),
    ]
    text = b"HI"
    r.append(wmf_record(0x0521, len(text), data=text + struct.pack("<hh", 950, 100)))
    return wmf_file(r, (0, 0, 1000, 1000), 1000, 9)


SYMBOL_CHARSET = 2


def symbols_wmf():
    """WingDings "n", the black square, 400 units high at (100, 100) on 1000 x 1000 logical
    units, and the code 0x6C (the black circle) on a symbol character set at (550, 100)."""
    r = [
        wmf_record(0x020B, 0, 0), wmf_record(0x020C, 1000, 1000), wmf_record(0x0102, 1),
        wmf_record(0x0209, *colorref(rgb(0, 0, 0))),
        wmf_font(-400, "WingDings"), wmf_record(0x012D, 0),
        wmf_record(0x0521, 1, data=b"n\0" + struct.pack("<hh", 100, 100)),  # TextOut y, x
        wmf_font(-400, "Wingdings", charset=SYMBOL_CHARSET), wmf_record(0x012D, 1),
        wmf_record(0x0521, 1, data=b"l\0" + struct.pack("<hh", 100, 550)),
    ]
    return wmf_file(r, (0, 0, 1000, 1000), 1000, 2)


# ---- Enhanced metafiles ----

def emf_record(kind, data=b""):
    data += b"\0" * ((4 - len(data) % 4) % 4)
    return struct.pack("<II", kind, 8 + len(data)) + data


def emf_file(records, size_px=1000, dpi=100):
    mm = round(size_px * 25.4 / dpi)
    frame = (0, 0, round(size_px / dpi * 2540), round(size_px / dpi * 2540))
    records = list(records) + [emf_record(14, struct.pack("<III", 0, 16, 20))]
    body = b"".join(records)
    header_size = 88
    total = header_size + len(body)
    header = struct.pack("<II", 1, header_size)
    header += struct.pack("<iiii", 0, 0, size_px - 1, size_px - 1)
    header += struct.pack("<iiii", *frame)
    header += struct.pack("<IIIIHHIIIii", 0x464D4520, 0x10000, total, len(records) + 1, 8, 0, 0, 0, 0,
                          size_px, size_px)
    header += struct.pack("<ii", mm, mm)
    assert len(header) == header_size
    return header + body


def emf_u32(kind, *values):
    return emf_record(kind, struct.pack("<" + "I" * len(values), *values))


def emf_i32(kind, *values):
    return emf_record(kind, struct.pack("<" + "i" * len(values), *values))


def emf_brush(handle, c, style=0, hatch=0):
    return emf_u32(39, handle, style, c, hatch)


def emf_pen(handle, style, width, c):
    return emf_record(38, struct.pack("<IIiiI", handle, style, width, 0, c))


def emf_poly16(kind, points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return emf_record(kind, struct.pack("<iiiiI", min(xs), min(ys), max(xs), max(ys), len(points)) +
                      b"".join(struct.pack("<hh", *p) for p in points))


def emf_text(x, y, text):
    chars = text.encode("utf-16-le")
    off_string = 76
    off_dx = off_string + len(chars) + (4 - len(chars) % 4) % 4
    dx = b"".join(struct.pack("<i", 160) for _ in text)
    data = struct.pack("<iiiiIff", 0, 0, 0, 0, 1, 1.0, 1.0)
    data += struct.pack("<iiIIIiiiiI", x, y, len(text), off_string, 0, 0, 0, 0, 0, off_dx)
    data += chars + b"\0" * ((4 - len(chars) % 4) % 4) + dx
    return emf_record(84, data)


def emf_font(handle, height, face, weight=400, charset=0):
    name = face.encode("utf-16-le")[:62].ljust(64, b"\0")
    logfont = struct.pack("<iiiiiBBBBBBBB", height, 0, 0, 0, weight, 0, 0, 0, charset, 0, 0, 0, 0) + name
    return emf_record(82, struct.pack("<I", handle) + logfont)


def emf_stretch_dib(x, y, w, h, header, bits, src_w, src_h):
    off_bmi = 80
    off_bits = off_bmi + len(header)
    data = struct.pack("<iiii", 0, 0, 0, 0) + struct.pack("<iiiiii", x, y, 0, 0, src_w, src_h)
    data += struct.pack("<IIIIII", off_bmi, len(header), off_bits, len(bits), 0, 0x00CC0020)
    data += struct.pack("<ii", w, h)
    return emf_record(81, data + header + bits)


def shapes_emf():
    """1000 x 1000 pixels at 100 per inch; logical units are half pixels (window 2000,
    viewport 1000)."""
    header, bits = dib_2x2(32)
    r = [
        emf_u32(17, 8),  # SetMapMode anisotropic
        emf_i32(10, 0, 0), emf_i32(9, 2000, 2000), emf_i32(12, 0, 0), emf_i32(11, 1000, 1000),
        emf_u32(18, 1),  # SetBkMode transparent
        emf_brush(1, rgb(255, 0, 0)), emf_u32(37, 1),
        emf_u32(37, 0x80000008),  # null pen
        emf_i32(43, 100, 100, 700, 700),  # red square 50..350
        emf_brush(2, rgb(255, 255, 0)), emf_u32(37, 2),
        emf_poly16(86, [(800, 100), (1400, 100), (1100, 700)]),  # yellow triangle 400..700 x 50..350
        emf_brush(3, rgb(0, 0, 255)), emf_u32(37, 3),
        # blue pie: box 750..950 x 50..250 px, from east to north (upper right quarter)
        emf_i32(47, 1500, 100, 1900, 500, 1900, 300, 1700, 100),
        emf_pen(4, 0, 40, rgb(0, 128, 0)), emf_u32(37, 4),
        emf_poly16(87, [(100, 1700), (1900, 1700)]),  # green polyline at 850 px
        emf_stretch_dib(800, 800, 600, 600, header, bits, 2, 2),  # 400..700 x 400..700 px
        emf_u32(24, rgb(0, 0, 0)),
        emf_font(5, -300, "Times New Roman", 700), emf_u32(37, 5),
        emf_text(1500, 820, "Ab"),
        emf_u32(33),  # SaveDC
        emf_i32(9, 4000, 4000),  # a quarter of the pixel scale
        emf_brush(6, rgb(0, 255, 255)), emf_u32(37, 6),
        emf_i32(43, 200, 2400, 1200, 3200),  # cyan 50..300 x 600..800 px
        emf_i32(34, -1),  # RestoreDC
        emf_brush(7, rgb(255, 0, 255)), emf_u32(37, 7),
        emf_i32(43, 100, 1300, 500, 1500),  # magenta 50..250 x 650..750 px at the restored scale
        emf_u32(40, 7),
    ]
    return emf_file(r)


def mapping_emf():
    """Metric and isotropic mapping on 1000 x 1000 pixels at 100 per inch."""
    r = [
        emf_u32(37, 0x80000008),
        emf_u32(17, 2),  # MM_LOMETRIC: 0.1 mm, y up
        emf_brush(1, rgb(255, 0, 0)), emf_u32(37, 1),
        emf_i32(43, 0, 0, 1000, -1000),  # 100 mm square: 0..394 px
        emf_u32(17, 7),  # MM_ISOTROPIC
        emf_i32(9, 100, 100), emf_i32(12, 500, 0), emf_i32(11, 500, 1000),
        emf_brush(2, rgb(0, 0, 255)), emf_u32(37, 2),
        emf_i32(43, 0, 0, 100, 100),  # 500 x 500 px from (500, 0), not 500 x 1000
    ]
    return emf_file(r)


def symbols_emf():
    """Symbol text in Unicode records beside the glyphs it stands for, 500 pixels to the right
    in the typeface they are drawn with: Wingdings codes, one in the private use area, at
    y 100; Webdings at y 400; a symbol character set without a face name (the Symbol
    typeface) at y 700."""
    rows = (("Wingdings", 0, "\uf06el", "\u25a0\u25cf"),
            ("Webdings", 0, "ga", "\u2b1b\u2714"),
            ("", SYMBOL_CHARSET, "ap", "\u03b1\u03c0"))
    r = [emf_u32(18, 1), emf_u32(24, rgb(0, 0, 0))]
    handle = 1
    for i, (face, charset, codes, glyphs) in enumerate(rows):
        y = 100 + 300 * i
        r += [emf_font(handle, -200, face, charset=charset), emf_u32(37, handle), emf_text(100, y, codes),
              emf_font(handle + 1, -200, "Symbola"), emf_u32(37, handle + 1), emf_text(600, y, glyphs)]
        handle += 2
    return emf_file(r)


def bitmaps_emf():
    """Bitmaps of 1, 8 and 24 bits, and a hatched brush."""
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in ((0, 0, 0), (255, 255, 255)))
    mono_header = struct.pack("<IiiHHIIiiII", 40, 8, 1, 1, 1, 0, 4, 0, 0, 2, 0) + palette
    mono_bits = bytes([0b10101010, 0, 0, 0])
    h8, b8 = dib_8bit_4x1()
    h24, b24 = dib_2x2(24)
    palette16 = b"".join(bytes([b, g, r, 0]) for r, g, b in ((0, 0, 0), (255, 0, 0), (0, 255, 0))) + bytes(13 * 4)
    h4 = struct.pack("<IiiHHIIiiII", 40, 2, 1, 1, 4, 0, 4, 0, 0, 0, 0) + palette16
    b4 = bytes([0x12, 0, 0, 0])  # red, green
    r = [
        emf_stretch_dib(0, 850, 800, 100, h4, b4, 2, 1),  # red 0..400, green 400..800
        emf_u32(37, 0x80000008),
        emf_stretch_dib(0, 0, 800, 100, mono_header, mono_bits, 8, 1),  # white, black, ... 100 px each
        emf_stretch_dib(0, 200, 800, 100, h8, b8, 4, 1),  # black, red, green, blue 200 px each
        emf_stretch_dib(0, 400, 400, 400, h24, b24, 2, 2),
        emf_u32(18, 2), emf_u32(25, rgb(255, 255, 0)),  # opaque background, yellow
        emf_brush(1, rgb(0, 0, 0), style=2, hatch=0), emf_u32(37, 1),
        emf_i32(43, 500, 400, 900, 800),  # horizontal hatch on yellow
    ]
    return emf_file(r)


def rle_emf():
    """Run-length bitmaps on a palette of black, red, green, blue. An 8-bit 4 x 2 one over
    0..800 x 0..400: bottom line an absolute green, blue, red (padded to a word), then a run of
    one green; top line a run of one blue, a delta two to the right (skipped: index 0, black),
    a run of one red. A 4-bit 8 x 1 one over 0..800 x 500..600: a run of four alternating red
    and green, an absolute blue, blue, red, a run of one green."""
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in ((0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)))
    bits8 = bytes([0, 3, 2, 3, 1, 0, 1, 2, 0, 0,
                   1, 3, 0, 2, 2, 0, 1, 1, 0, 1])
    h8 = struct.pack("<IiiHHIIiiII", 40, 4, 2, 1, 8, 1, len(bits8), 0, 0, 4, 0) + palette
    bits4 = bytes([4, 0x12, 0, 3, 0x33, 0x10, 1, 0x20, 0, 1])
    h4 = struct.pack("<IiiHHIIiiII", 40, 8, 1, 1, 4, 2, len(bits4), 0, 0, 4, 0) + palette
    r = [
        emf_stretch_dib(0, 0, 800, 400, h8, bits8, 4, 2),
        emf_stretch_dib(0, 500, 800, 100, h4, bits4, 8, 1),
    ]
    return emf_file(r)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    write("shapes.wmf", shapes_wmf())
    write("figures.wmf", figures_wmf())
    write("shapes.emf", shapes_emf())
    write("mapping.emf", mapping_emf())
    write("bitmaps.emf", bitmaps_emf())
    write("symbols.wmf", symbols_wmf())
    write("symbols.emf", symbols_emf())
    write("rle.emf", rle_emf())
