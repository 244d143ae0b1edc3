#!/usr/bin/env python3
"""Writes the skin's background pictures as SVG.

The framework renders an SVG at the scale the window asks for, so one small
file per picture stays sharp from 100 to 200 %: a white page with a soft
band fading down from the top, rings around the centre and the product's
mark (or, when the install is done, a check badge). Writes into
res/skin/Image: BkViewInit, InstallBk0, InstallBk1, BkViewComplete (.svg).
"""
import os
import sys

WIDTH, HEIGHT = 640, 500
BAND_HEIGHT = 330
ACCENT = "#2F6BFF"
ACCENT_SOFT = "#DCE6FF"
BAND_TOP = "#EAF1FF"
CX, CY = 320, 170


def product_mark():
    """A rounded accent tile holding a white lens."""
    half = 44
    return (
        f'<rect x="{CX - half}" y="{CY - half}" width="{2 * half}" height="{2 * half}" rx="18" fill="{ACCENT}"/>'
        f'<g fill="none" stroke="#FFFFFF" stroke-width="7">'
        f'<circle cx="{CX - 4}" cy="{CY - 4}" r="20"/>'
        f'<path d="M{CX + 11} {CY + 11}L{CX + 24} {CY + 24}"/></g>'
    )


def rings(radii, colour):
    circles = "".join(f'<circle cx="{CX}" cy="{CY}" r="{r}"/>' for r in radii)
    return f'<g fill="none" stroke="{colour}" stroke-width="2">{circles}</g>'


def check_badge():
    return (
        f'<circle cx="{CX}" cy="{CY}" r="46" fill="#16B364"/>'
        f'<path d="M{CX - 20} {CY + 1}L{CX - 5} {CY + 16}L{CX + 22} {CY - 13}" '
        f'fill="none" stroke="#FFFFFF" stroke-width="8"/>'
    )


PICTURES = {
    "BkViewInit": lambda: rings((70, 96), ACCENT_SOFT) + product_mark(),
    "InstallBk0": lambda: rings((66, 88, 110), ACCENT_SOFT) + product_mark(),
    "InstallBk1": lambda: rings((74, 98, 122), "#C9D8FF") + product_mark(),
    "BkViewComplete": lambda: rings((70, 96), "#D3F3E2") + check_badge(),
}


def picture(base):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" '
        f'viewBox="0 0 {WIDTH} {HEIGHT}">'
        f'<linearGradient id="band" x1="0%" y1="0%" x2="0%" y2="100%">'
        f'<stop offset="0" stop-color="{BAND_TOP}"/><stop offset="1" stop-color="#FFFFFF"/></linearGradient>'
        f'<rect width="{WIDTH}" height="{HEIGHT}" fill="#FFFFFF"/>'
        f'<rect width="{WIDTH}" height="{BAND_HEIGHT}" fill="url(#band)"/>'
        f'{PICTURES[base]()}</svg>\n'
    )


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "res", "skin", "Image")
    os.makedirs(folder, exist_ok=True)
    for base in PICTURES:
        with open(os.path.join(folder, base + ".svg"), "w", encoding="ascii", newline="\n") as f:
            f.write(picture(base))


if __name__ == "__main__":
    main()
