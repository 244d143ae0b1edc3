#!/usr/bin/env python3
"""Writes the skin fixtures of the UI framework's tests into OUT_DIR:

skin.zip     the skin archive (Deflate entries), embedded by the tests as
             resource ZIP 249 just as the program carries its skin
folder/      the same files as plain files, for a skin without archive
damaged.zip  the first half of skin.zip: not a readable archive
corrupt.zip  skin.zip with the compressed bytes of "Layout/Layout.xml" altered
"""
import os
import struct
import sys
import zipfile
import zlib


def png(width, height, pixels):
    """An 8-bit RGBA PNG; pixels is a list of rows of (r, g, b, a)."""
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def solid(width, height, colour):
    return png(width, height, [[colour] * width for _ in range(height)])


RED, GREEN, BLUE, WHITE = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), (255, 255, 255, 255)
MAGENTA, YELLOW = (255, 0, 255, 255), (255, 255, 0, 255)


def strip():
    """200 x 30, four 50-pixel states: red, green, blue, yellow."""
    colours = [RED, GREEN, BLUE, YELLOW]
    return png(200, 30, [[colours[x // 50] for x in range(200)] for _ in range(30)])


def nine_grid():
    """12 x 12: 4-pixel corners red, edges green, middle blue."""
    def colour(x, y):
        cx, cy = x < 4 or x >= 8, y < 4 or y >= 8
        return RED if cx and cy else GREEN if cx or cy else BLUE
    return png(12, 12, [[colour(x, y) for x in range(12)] for y in range(12)])


def masked():
    """2 x 1: a magenta pixel (the mask colour) and a white one."""
    return png(2, 1, [[MAGENTA, WHITE]])


SVG = (b'<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">'
       b'<rect x="0" y="0" width="24" height="24" fill="#2F6BFF"/></svg>')

LAYOUT = """<?xml version="1.0" encoding="utf-8"?>
<Window size="640,500" caption="0,0,0,66">
  <Include source="font.xml" />
  <Default name="Control" value="bkcolor=&quot;#FF00FF00&quot; height=&quot;7&quot;" />
  <Style name="redtext" value="bkcolor=&quot;#FFFF0000&quot;" />
  <TestBox name="root">
    <Control name="first" bkcolor="#FF123456" />
    <Control name="styled" bkcolor="redtext" />
    <Unknown name="skipped"><Control name="inside-unknown" /></Unknown>
    <Include source="row.xml" count="2" />
  </TestBox>
</Window>
"""

FONT = """<?xml version="1.0" encoding="utf-8"?>
<Window>
  <Font id="0" name="Tahoma" size="12" default="true" />
  <Font id="5" name="Tahoma" size="14" bold="true" />
  <Font id="1000" name="Tahoma" size="14" shared="true" />
</Window>
"""

ROW = """<Window>
  <Font id="7" name="Tahoma" size="18" />
  <Control name="row" />
</Window>
"""

RESOURCE = """<Resource>
  <Color key="dark" value="#FF101010" />
  <Image key="night" value="Image/QuickMark.png" />
  <Markup name="row.xml" file="nightrow.xml" />
</Resource>
"""

NIGHT_ROW = """<Window>
  <Control name="nightrow" />
</Window>
"""

ENTRIES = {
    "Layout/Layout.xml": LAYOUT.encode(),
    "font.xml": FONT.encode(),
    "row.xml": ROW.encode(),
    "resource.xml": RESOURCE.encode(),
    "nightrow.xml": NIGHT_ROW.encode(),
    "Image/Pic.png": png(4, 2, [[RED, (255, 0, 0, 128), GREEN, BLUE], [WHITE] * 4]),
    "Image/Pic@150.png": solid(6, 3, GREEN),
    "Image/QuickMark.png": solid(3, 3, BLUE),
    "Image/Strip.png": strip(),
    "Image/Grid.png": nine_grid(),
    "Image/Masked.png": masked(),
    "Image/BtnMin.svg": SVG,
    "Image/Empty.png": b"",
    "Image/Broken.png": b"\x89PNG\r\n\x1a\nnot really a picture",
    "Image/Bad.svg": b"this is not a vector picture",
    "Big.xml": b"<a>" + b" " * (4 * 1024 * 1024 - 6) + b"</a>\n",  # 4 MiB + 1 byte
    "Exact.xml": b"<a>" + b" " * (4 * 1024 * 1024 - 7) + b"</a>",   # exactly 4 MiB
    "Empty.xml": b"",
    "Self.xml": b'<Window><Control name="s"/><Include source="Self.xml"/></Window>',
    # Includes itself eight times: eight to the sixteenth files, unbounded.
    "Eightfold.xml": b'<Window><Control name="e"/><Include source="Eightfold.xml" count="8"/></Window>',
    "NotXml.xml": b"this is not markup",
}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    archive = os.path.join(out, "skin.zip")
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as zf:
        for name, data in ENTRIES.items():
            zf.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), data, zipfile.ZIP_DEFLATED)
    for name, data in ENTRIES.items():
        path = os.path.join(out, "folder", *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    data = open(archive, "rb").read()
    with open(os.path.join(out, "damaged.zip"), "wb") as f:
        f.write(data[: len(data) // 2])
    with zipfile.ZipFile(archive) as zf:
        info = zf.getinfo("Layout/Layout.xml")
    # The local header is 30 bytes plus the name and extra field; the
    # compressed bytes follow.
    name_length, extra_length = struct.unpack("<HH", data[info.header_offset + 26: info.header_offset + 30])
    start = info.header_offset + 30 + name_length + extra_length
    corrupt = bytearray(data)
    for i in range(start + 10, start + 40):
        corrupt[i] ^= 0x5A
    with open(os.path.join(out, "corrupt.zip"), "wb") as f:
        f.write(bytes(corrupt))


main()
