"""The window-wide effects of the UI framework in a window under Xvfb: the
hue/saturation/lightness adjustment turns only the colours and pictures
that ask for it, and outlined text ("textdesigner") draws an outline around
its glyphs, so a white word shows on white. The screenshots stay in the
build folder (artifacts/ui_effects/*.png)."""
import os
import time
import unittest

import pytest

import neb
from screen import Screenshot, centre
from test_ui_window import SkinWindow, write_png

MARKUP_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins", "effects_window.xml")
ARTIFACTS = neb.build_path("artifacts", "ui_effects")
RED, GREEN = (255, 0, 0), (0, 255, 0)


def dark(pixel):
    return max(pixel) < 96


class UiEffectsTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _folder(self, tmp_path):
        self.folder = str(tmp_path)

    def open_window(self, text_designer):
        """The effects skin with outlined text on or off; its report and a screenshot."""
        skin = os.path.join(self.folder, "skin-%s" % text_designer)
        os.makedirs(os.path.join(skin, "Image"))
        for name in ("red.png", "red_plain.png"):
            write_png(os.path.join(skin, "Image", name), 16, RED)
        with open(MARKUP_SOURCE, encoding="utf-8") as f:
            markup_text = f.read().replace("TEXT_DESIGNER", text_designer)
        markup = os.path.join(skin, "effects_window.xml")
        with open(markup, "w", encoding="utf-8") as f:
            f.write(markup_text)
        window = SkinWindow(markup, 96, skin)
        self.addCleanup(window.close)
        report = window.wait_report()
        time.sleep(0.5)  # the X server shows what the window drew
        os.makedirs(ARTIFACTS, exist_ok=True)
        shot = Screenshot(os.path.join(ARTIFACTS, "textdesigner_%s.png" % text_designer), report["window"])
        return report["controls"], shot

    def outline_pixels(self, controls, shot):
        left, top, right, bottom = controls["outlined"]
        return sum(1 for y in range(top, bottom, 2) for x in range(left, right, 2) if dark(shot.at(x, y)))

    def test_the_hue_turns_only_what_asks_for_it_and_outlines_show_white_on_white(self):
        controls, shot = self.open_window("true")
        for name, colour in [("colour_turned", GREEN), ("colour_kept", RED),
                             ("picture_turned", GREEN), ("picture_kept", RED)]:
            self.assertEqual(shot.at(*centre(controls[name])), colour, name)
        # The outline shows the white word on white; it is an outline, not
        # a black word: the glyphs' insides stay the text colour, so dark
        # pixels cover well under half of the label.
        left, top, right, bottom = controls["outlined"]
        outlined = self.outline_pixels(controls, shot)
        self.assertGreater(outlined, 50)
        self.assertLess(outlined, (right - left) * (bottom - top) // 4 // 2)

        # Without outlined text the same white word is invisible.
        plain_controls, plain_shot = self.open_window("false")
        self.assertEqual(self.outline_pixels(plain_controls, plain_shot), 0)


if __name__ == "__main__":
    unittest.main()
