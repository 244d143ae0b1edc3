"""A window built from a test markup with the UI framework, under Xvfb: at
each of the five DPI steps its named controls must have the rectangles the
layout rules give at that scale, and its pixels must show them there, with
the picture variant of that scale. The screenshots stay in the build folder
(artifacts/ui_window/dpi_<scale>.png). Real Tab keys move the focus through
the tab-support controls."""
import os
import shutil
import struct
import subprocess
import time
import unittest

import pytest
import zlib

import neb
from screen import Screenshot, centre

MARKUP_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins", "dpi_window.xml")
ARTIFACTS = neb.build_path("artifacts", "ui_window")
STEPS = [(96, 100), (120, 125), (144, 150), (168, 175), (192, 200)]

RED, GREEN, NAVY, ORANGE, GREY, BLUE, WHITE = (
    (255, 0, 0), (0, 170, 0), (0, 0, 128), (255, 170, 0), (128, 128, 128), (0x33, 0x66, 0xCC), (255, 255, 255))

# "Image/mark.png" and the DPI variants the skin folder holds, each of its own
# colour; 175 % has none and falls back to the plain picture.
MARK_PICTURES = {
    "mark.png": (32, (255, 0, 255)),
    "mark@125.png": (40, (0, 255, 255)),
    "mark@150.png": (48, (128, 0, 128)),
    "mark@200.png": (64, (0, 128, 128)),
}
MARK_COLOUR = {100: (255, 0, 255), 125: (0, 255, 255), 150: (128, 0, 128), 175: (255, 0, 255), 200: (0, 128, 128)}


def write_png(path, size, colour):
    """An opaque square of one colour."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    row = b"\x00" + bytes(colour + (255,)) * size
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(row * size)) + chunk(b"IEND", b""))


def make_skin_folder(folder):
    """The markup and its pictures in a folder of their own; the markup's path."""
    os.makedirs(os.path.join(folder, "Image"))
    markup = os.path.join(folder, "dpi_window.xml")
    shutil.copy(MARKUP_SOURCE, markup)
    for name, (size, colour) in MARK_PICTURES.items():
        write_png(os.path.join(folder, "Image", name), size, colour)
    return markup


def scaled(n, scale):
    """MulDiv rounding for the positive numbers of the markup."""
    return (n * scale + 50) // 100


def expected_rects(scale):
    """The rectangles of dpi_window.xml's named controls at a scale, by the
    layout rules: the window grows in proportion, every number of the markup
    is scaled on its own."""
    s = lambda n: scaled(n, scale)
    width, height = 400 * scale // 100, 300 * scale // 100
    inset = s(10)
    header_bottom = inset + s(40)
    close_right = width - inset - s(8)
    footer_top = height - inset - s(30)
    return {
        "root": (0, 0, width, height),
        "header": (inset, inset, width - inset, header_bottom),
        "logo": (inset, inset, inset + s(40), header_bottom),
        "spacer": (inset + s(40), inset, close_right - s(24), header_bottom),
        "close": (close_right - s(24), inset + s(8), close_right, inset + s(8) + s(24)),
        "pages": (inset, header_bottom, width - inset, footer_top),
        "page1": (inset, header_bottom, width - inset, footer_top),
        "bar": (inset + s(20), header_bottom + s(10), width - inset - s(20), header_bottom + s(10) + s(20)),
        "footer": (inset, footer_top, width - inset, height - inset),
        "badge": (s(300), s(200), s(300) + s(50), s(200) + s(30)),
        "mark": (s(20), s(200), s(20) + s(32), s(200) + s(32)),
    }


def read_report(path):
    report = {"controls": {}}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if parts[0] == "scale":
                report["scale"] = int(parts[1])
            elif parts[0] == "window":
                report["window"] = tuple(int(p) for p in parts[1:5])
            elif parts[0] == "control":
                report["controls"][parts[1]] = tuple(int(p) for p in parts[2:6])
    return report


class SkinWindow:
    """skin_window.exe with a markup, a DPI, a report and an events file."""

    def __init__(self, markup, dpi, folder, layered=False):
        tag = "%d%s" % (dpi, "-layered" if layered else "")
        self.report = os.path.join(folder, "report-%s.txt" % tag)
        self.events = os.path.join(folder, "events-%s.txt" % tag)
        self.process = neb.start(neb.build_path("tests", "helpers", "skin_window.exe"),
                                 ["--markup", neb.windows_path(markup), "--dpi", str(dpi),
                                  "--report", neb.windows_path(self.report),
                                  "--events", neb.windows_path(self.events)] + (["--layered"] if layered else []),
                                 stdin=subprocess.PIPE)

    def wait_report(self):
        if not neb.wait_for_file(self.report, timeout=60):
            raise AssertionError("skin_window wrote no report")
        return read_report(self.report)

    def event_lines(self):
        with open(self.events, encoding="utf-8") as f:
            return f.read().splitlines()

    def close(self):
        if self.process.poll() is None:
            self.process.communicate("close\n", timeout=60)
        return self.process.returncode


class UiWindowTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _folder(self, tmp_path):
        self.folder = str(tmp_path)

    def setUp(self):
        os.makedirs(ARTIFACTS, exist_ok=True)
        self.markup = make_skin_folder(os.path.join(self.folder, "skin"))

    def check_window(self, dpi, scale, screenshot, layered=False):
        """Opens the window, compares its controls' rectangles and its
        pixels with what the scale gives, and closes it."""
        window = SkinWindow(self.markup, dpi, self.folder, layered)
        try:
            report = window.wait_report()
            time.sleep(0.3)  # the X server shows what the window drew
            expected = expected_rects(scale)
            self.assertEqual(report["scale"], scale)
            left, top, right, bottom = report["window"]
            self.assertEqual((right - left, bottom - top), expected["root"][2:])
            for name, rect in expected.items():
                self.assertEqual(report["controls"].get(name), rect, name)
            shot = Screenshot(os.path.join(ARTIFACTS, screenshot), report["window"])
            for name, colour in [("logo", RED), ("close", GREEN), ("bar", NAVY), ("badge", ORANGE),
                                 ("footer", GREY), ("spacer", BLUE), ("mark", MARK_COLOUR[scale])]:
                self.assertEqual(shot.at(*centre(expected[name])), colour, name)
            # Below the bar the first page shows white; the second page stays hidden.
            bar = expected["bar"]
            self.assertEqual(shot.at(bar[0], bar[3] + 3), WHITE)
            # The root's inset shows its own background around the children.
            self.assertEqual(shot.at(2, 2), (0xF0, 0xF0, 0xF0))
            events = window.event_lines()
            self.assertLess(events.index("notify windowinit root"), events.index("painted"))
            self.assertIn("notify windowsize root", events)
        finally:
            self.assertEqual(window.close(), 0)

    def test_every_dpi_step_places_and_paints_the_controls_in_proportion(self):
        for dpi, scale in STEPS:
            with self.subTest(scale=scale):
                self.check_window(dpi, scale, "dpi_%d.png" % scale)

    def test_a_layered_window_shows_the_same_picture_through_its_bitmap(self):
        self.check_window(144, 150, "layered_150.png", layered=True)

    def test_tab_keys_move_the_focus_through_the_tab_support_list_in_markup_order(self):
        window = SkinWindow(self.markup, 96, self.folder)
        try:
            window.wait_report()
            # Keys go to the X window that has the input focus.
            subprocess.run(["xdotool", "search", "--name", "^skin window$", "windowfocus", "--sync"], check=True,
                           timeout=30)
            for key in ["Tab", "Tab", "Tab", "Tab", "shift+Tab"]:
                subprocess.run(["xdotool", "key", key], check=True, timeout=30)
                time.sleep(0.2)
            focus = [line.split()[2] for line in window.event_lines() if line.startswith("notify setfocus")]
            self.assertEqual(focus, ["logo", "close", "footer", "logo", "close"])
        finally:
            window.close()


if __name__ == "__main__":
    unittest.main()
