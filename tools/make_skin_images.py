#!/usr/bin/env python3
"""Draws the skin's background pictures at every scale the dialog uses.

Each picture is drawn for its scale (coordinates and line widths scaled
before drawing), not resized from one size, so it stays sharp. Needs
ImageMagick's convert. Writes into res/skin/Image:
  BkViewInit, InstallBk0, InstallBk1, BkViewComplete  (.png, @125 ... @200)
"""
import os
import subprocess
import sys

WIDTH, HEIGHT = 640, 500
SCALES = (100, 125, 150, 175, 200)
ACCENT = "#2F6BFF"
ACCENT_SOFT = "#DCE6FF"
BAND_TOP = "#EAF1FF"
CENTRE = (320, 170)


def picture_name(base, scale):
    return f"{base}.png" if scale == 100 else f"{base}@{scale}.png"


def product_mark(k):
    """The product's mark: a rounded accent tile holding a white lens."""
    cx, cy = CENTRE
    half = 44
    s = lambda v: round(v * k, 2)
    return [
        "-fill", ACCENT, "-stroke", "none",
        "-draw", f"roundrectangle {s(cx - half)},{s(cy - half)} {s(cx + half)},{s(cy + half)} {s(18)},{s(18)}",
        "-fill", "none", "-stroke", "white", "-strokewidth", f"{s(7)}",
        "-draw", f"circle {s(cx - 4)},{s(cy - 4)} {s(cx - 4)},{s(cy - 24)}",
        "-draw", f"line {s(cx + 11)},{s(cy + 11)} {s(cx + 24)},{s(cy + 24)}",
    ]


def rings(k, radii, colour):
    cx, cy = CENTRE
    s = lambda v: round(v * k, 2)
    drawn = ["-fill", "none", "-stroke", colour, "-strokewidth", f"{s(2)}"]
    for r in radii:
        drawn += ["-draw", f"circle {s(cx)},{s(cy)} {s(cx)},{s(cy - r)}"]
    return drawn


def check_badge(k):
    cx, cy = CENTRE
    s = lambda v: round(v * k, 2)
    return [
        "-fill", "#16B364", "-stroke", "none",
        "-draw", f"circle {s(cx)},{s(cy)} {s(cx)},{s(cy - 46)}",
        "-fill", "none", "-stroke", "white", "-strokewidth", f"{s(8)}",
        "-draw", f"polyline {s(cx - 20)},{s(cy + 1)} {s(cx - 5)},{s(cy + 16)} {s(cx + 22)},{s(cy - 13)}",
    ]


PICTURES = {
    "BkViewInit": lambda k: rings(k, (70, 96), ACCENT_SOFT) + product_mark(k),
    "InstallBk0": lambda k: rings(k, (66, 88, 110), ACCENT_SOFT) + product_mark(k),
    "InstallBk1": lambda k: rings(k, (74, 98, 122), "#C9D8FF") + product_mark(k),
    "BkViewComplete": lambda k: rings(k, (70, 96), "#D3F3E2") + check_badge(k),
}


def draw(folder, base, scale):
    k = scale / 100
    width, height = round(WIDTH * k), round(HEIGHT * k)
    band = round(330 * k)
    command = [
        "convert", "-size", f"{width}x{height}", "xc:white",
        "(", "-size", f"{width}x{band}", f"gradient:{BAND_TOP}-white", ")",
        "-geometry", "+0+0", "-composite",
        *PICTURES[base](k),
        "-strip", "-define", "png:exclude-chunks=date,time",
        os.path.join(folder, picture_name(base, scale)),
    ]
    subprocess.run(command, check=True)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "res", "skin", "Image")
    os.makedirs(folder, exist_ok=True)
    for base in PICTURES:
        for scale in SCALES:
            draw(folder, base, scale)


if __name__ == "__main__":
    main()
