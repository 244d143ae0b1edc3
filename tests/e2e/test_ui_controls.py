"""The scrolling, tag-text, link and edit controls of the UI framework in a
window built from a test skin (skins/controls_window.xml), driven under
Xvfb by real input through xdotool: a licence text of several pages moves
with the wheel, the keys, a dragged thumb and a click on the track; a
horizontal layout wider than its box scrolls sideways; the licence line's
link sends "link" under the hand cursor; edit boxes take typed text as
their kind allows. The scroll positions come from the window's "scroll"
notifications; the screenshots stay in the build folder
(artifacts/ui_controls/*.png)."""
import os
import shutil
import subprocess
import time
import unittest

import pytest

import neb
from screen import Screenshot, xdo
from test_ui_window import SkinWindow

MARKUP_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins", "controls_window.xml")
ARTIFACTS = neb.build_path("artifacts", "ui_controls")

THUMB, THUMB_HOT, THUMB_PUSHED, TRACK = (0x33, 0x66, 0xCC), (0x22, 0x55, 0xAA), (0x11, 0x33, 0x88), (0xDD,) * 3
LICENCE_BACK, RED, GREEN = (0xF4,) * 3, (255, 0, 0), (0, 0xAA, 0)
LINK, LINK_HOT = (0, 0, 255), (0xCC, 0, 0)
STEP = 30  # the licence's scrollstepsize
BAR = 12   # its bar's width


class ControlsWindow:
    """skin_window.exe on the controls skin, focused for keys."""

    def __init__(self, folder):
        skin = os.path.join(folder, "skin")
        os.makedirs(skin)
        markup = os.path.join(skin, "controls_window.xml")
        shutil.copy(MARKUP_SOURCE, markup)
        self.window = SkinWindow(markup, 96, folder)
        self.report = self.window.wait_report()
        time.sleep(0.5)  # the X server shows what the window drew
        subprocess.run(["xdotool", "search", "--name", "^skin window$", "windowfocus", "--sync"], check=True,
                       timeout=30)

    def rect(self, name):
        return self.report["controls"][name]

    def point(self, name, dx=None, dy=None):
        """A point of a control in screen coordinates (its centre by default;
        negative offsets count from the right or bottom edge)."""
        left, top, right, bottom = self.rect(name)
        x = (left + right) // 2 if dx is None else (left + dx if dx >= 0 else right + dx)
        y = (top + bottom) // 2 if dy is None else (top + dy if dy >= 0 else bottom + dy)
        return self.report["window"][0] + x, self.report["window"][1] + y

    def shot(self, name):
        return Screenshot(os.path.join(ARTIFACTS, name + ".png"), self.report["window"])

    def pixel(self, shot, name, dx=None, dy=None):
        x, y = self.point(name, dx, dy)
        return shot.at(x - self.report["window"][0], y - self.report["window"][1])

    def notifications(self, kind, sender):
        return [line.split()[3:] for line in self.window.event_lines()
                if line.startswith("notify %s %s" % (kind, sender))]

    def scroll(self, sender="licence"):
        """The last (vertical, horizontal) position the container told."""
        moves = self.notifications("scroll", sender)
        return tuple(int(n) for n in moves[-1]) if moves else (0, 0)

    def close(self):
        return self.window.close()


def thumb_top(shot, window, name="licence"):
    """The first row of a vertical bar that shows the thumb."""
    left, top, right, bottom = window.rect(name)
    x = right - BAR // 2
    for y in range(top, bottom):
        if shot.at(x, y) in (THUMB, THUMB_HOT, THUMB_PUSHED):
            return y - top
    return None


class UiControlsTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _folder(self, tmp_path):
        self.folder = str(tmp_path)

    def setUp(self):
        os.makedirs(ARTIFACTS, exist_ok=True)
        self.window = ControlsWindow(self.folder)
        self.addCleanup(self.window.close)

    def test_licence_text_scrolls_with_wheel_keys_thumb_and_track(self):
        w = self.window
        shot = w.shot("licence_top")
        # The bar shows at the licence's right edge, its thumb at the top,
        # shorter than the track: the text is several pages long.
        self.assertEqual(thumb_top(shot, w), 0)
        self.assertEqual(w.pixel(shot, "licence", dx=-BAR // 2, dy=-3), TRACK)
        text = w.rect("licence_text")
        self.assertGreater(text[3] - text[1], 3 * (w.rect("licence")[3] - w.rect("licence")[1]))
        # The text runs beside the bar, not under it.
        self.assertEqual(text[2], w.rect("licence")[2] - BAR)

        # Two notches of the wheel over the text: two steps down.
        xdo("mousemove", *w.point("licence", dx=100, dy=50))
        xdo("click", 5)
        xdo("click", 5)
        self.assertEqual(w.scroll(), (2 * STEP, 0))
        xdo("click", 4)
        self.assertEqual(w.scroll(), (STEP, 0))
        wheel = w.shot("licence_wheel")
        self.assertGreater(thumb_top(wheel, w), 0)

        # Keys, once a click put the focus in the licence: a line, a page,
        # the end, the start.
        xdo("click", 1)
        view = w.rect("licence")[3] - w.rect("licence")[1]
        xdo("key", "Down")
        self.assertEqual(w.scroll(), (2 * STEP, 0))
        xdo("key", "Next")
        self.assertEqual(w.scroll(), (2 * STEP + view - STEP, 0))
        xdo("key", "End")
        end = w.scroll()[0]
        self.assertGreater(end, 3 * view)
        shot = w.shot("licence_end")
        thumb_at_end = thumb_top(shot, w)
        xdo("key", "Home")
        self.assertEqual(w.scroll(), (0, 0))
        xdo("key", "Up")
        self.assertEqual(w.scroll(), (0, 0))

        # The thumb dragged by 60 pixels: the text follows in proportion.
        travel = thumb_at_end
        x, y = w.point("licence", dx=-BAR // 2, dy=5)
        xdo("mousemove", x, y)
        xdo("mousedown", 1)
        xdo("mousemove", x, y + 30)
        xdo("mousemove", x, y + 60)
        dragged = w.shot("licence_drag")
        xdo("mouseup", 1)
        self.assertEqual(thumb_top(dragged, w), 60)
        self.assertAlmostEqual(w.scroll()[0], round(60 * end / travel), delta=1)
        self.assertEqual(w.pixel(dragged, "licence", dx=-BAR // 2, dy=60 + 5), THUMB_PUSHED)

        # A click on the track below the thumb moves a page down.
        before = w.scroll()[0]
        xdo("mousemove", *w.point("licence", dx=-BAR // 2, dy=-5))
        xdo("click", 1)
        self.assertEqual(w.scroll()[0], min(end, before + view - STEP))

    def test_rich_edit_licence_scrolls_with_wheel_and_its_drawn_thumb(self):
        w = self.window
        shot = w.shot("rich_edit_top")
        self.assertEqual(thumb_top(shot, w, "licence_edit"), 0)
        # The wheel moves the text a step per notch; the services report
        # the new position and the drawn thumb follows.
        xdo("mousemove", *w.point("licence_edit", dx=100))
        xdo("click", 5)
        xdo("click", 5)
        self.assertEqual(w.scroll("licence_edit"), (2 * STEP, 0))
        wheel = w.shot("rich_edit_wheel")
        self.assertGreater(thumb_top(wheel, w, "licence_edit"), 0)
        xdo("click", 4)
        self.assertEqual(w.scroll("licence_edit"), (STEP, 0))
        # The thumb dragged down to the track's end shows the last lines.
        top = thumb_top(w.shot("rich_edit_wheel_back"), w, "licence_edit")
        x, y = w.point("licence_edit", dx=-BAR // 2, dy=top + 3)
        xdo("mousemove", x, y)
        xdo("mousedown", 1)
        # Dragged on past the window's bottom edge and released there.
        xdo("mousemove", x, y + 40)
        xdo("mousemove", x, w.report["window"][3] + 30)
        xdo("mouseup", 1)
        end = w.scroll("licence_edit")[0]
        self.assertGreater(end, 4 * STEP)
        shot = w.shot("rich_edit_end")
        edit = w.rect("licence_edit")
        thumb = thumb_top(shot, w, "licence_edit")
        self.assertEqual(w.pixel(shot, "licence_edit", dx=-BAR // 2, dy=-2), THUMB)
        self.assertGreater(thumb, 0)
        self.assertLess(thumb, edit[3] - edit[1])
        # One more notch down changes nothing: the end is the end.
        xdo("mousemove", *w.point("licence_edit", dx=100))
        xdo("click", 5)
        self.assertEqual(w.scroll("licence_edit")[0], end)

    def test_rich_edit_licence_scrolls_with_the_keys(self):
        w = self.window
        # A click puts the focus (and the caret) in the text; the keys move
        # the caret and the view follows it, the drawn thumb with it.
        xdo("mousemove", *w.point("licence_edit", dx=100, dy=8))
        xdo("click", 1)
        xdo("key", "ctrl+End")
        end = w.scroll("licence_edit")[0]
        self.assertGreater(end, 4 * STEP)
        self.assertGreater(thumb_top(w.shot("rich_edit_keys_end"), w, "licence_edit"), 0)
        xdo("key", "ctrl+Home")
        self.assertEqual(w.scroll("licence_edit"), (0, 0))
        xdo("key", "Next")
        page = w.scroll("licence_edit")[0]
        self.assertGreater(page, 0)
        self.assertLess(page, end)
        xdo("key", "Prior")
        self.assertEqual(w.scroll("licence_edit"), (0, 0))

    def test_wide_layout_scrolls_sideways(self):
        w = self.window
        shot = w.shot("wide_start")
        self.assertEqual(w.pixel(shot, "wide", dx=5, dy=10), RED)
        self.assertEqual(w.pixel(shot, "wide", dx=5, dy=-5), THUMB)  # the horizontal bar at the bottom
        # Alone, the horizontal bar takes the wheel.
        xdo("mousemove", *w.point("wide", dx=50, dy=10))
        xdo("click", 5)
        self.assertEqual(w.scroll("wide"), (0, 40))
        # A click gives the focus to the red control; End goes on up to the layout.
        xdo("click", 1)
        xdo("key", "End")
        wide = w.rect("wide")
        self.assertEqual(w.scroll("wide"), (0, 600 - (wide[2] - wide[0])))
        shot = w.shot("wide_end")
        self.assertEqual(w.pixel(shot, "wide", dx=-5, dy=10), GREEN)
        self.assertEqual(w.pixel(shot, "wide", dx=5, dy=10), RED)
        xdo("key", "Left")
        self.assertEqual(w.scroll("wide"), (0, 600 - (wide[2] - wide[0]) - 40))

    def test_licence_link_click_sends_link_under_the_hand_cursor(self):
        w = self.window
        shot = w.shot("link_idle")
        link_colours = [w.pixel(shot, "licence_line", dx=x, dy=y) for x in range(2, 100) for y in range(4, 18)]
        self.assertIn(LINK, link_colours)
        xdo("mousemove", *w.point("licence_line", dx=30))
        hot = w.shot("link_hot")
        hot_colours = [w.pixel(hot, "licence_line", dx=x, dy=y) for x in range(2, 100) for y in range(4, 18)]
        self.assertIn(LINK_HOT, hot_colours)
        self.assertNotIn(LINK, hot_colours)
        xdo("click", 1)
        self.assertEqual(w.notifications("link", "licence_line"), [["0", "licence", "hand"]])
        # A click on the line's plain words sends nothing.
        xdo("mousemove", *w.point("licence_line", dx=-20))
        xdo("click", 1)
        self.assertEqual(len(w.notifications("link", "licence_line")), 1)

    def test_tag_text_shadow_and_ellipsis_show(self):
        w = self.window
        shot = w.shot("labels")
        tagged = [w.pixel(shot, "tagged", dx=x, dy=y) for x in range(0, 200) for y in range(20, 40)]
        self.assertIn((0xCC, 0, 0), tagged)   # the red word on the second line
        self.assertIn((0, 0, 0xCC), tagged)   # the blue one
        first_line = [w.pixel(shot, "tagged", dx=x, dy=y) for x in range(0, 300) for y in range(0, 18)]
        self.assertNotIn((0xCC, 0, 0), first_line)
        # Black shadow pixels beside the white text on the grey box.
        shadowed = {w.pixel(shot, "shadowed", dx=x, dy=y) for x in range(0, 120) for y in range(4, 24)}
        self.assertIn((0, 0, 0), shadowed)
        self.assertIn((255, 255, 255), shadowed)

    def test_edit_boxes_take_typed_text_as_their_kind_allows(self):
        w = self.window
        cases = [("edit", "Hello 42", "Hello 42"), ("number", "a1b2c345", "1234"), ("secret", "pw", "pw")]
        for name, typed, kept in cases:
            with self.subTest(edit=name):
                xdo("mousemove", *w.point(name))
                xdo("click", 1)
                xdo("type", "--delay", "60", typed)
                time.sleep(0.3)
                changes = w.notifications("textchanged", name)
                self.assertTrue(changes, name)
                self.assertEqual(" ".join(changes[-1]), "[%s]" % kept)
        # The read-only box keeps its text.
        xdo("mousemove", *w.point("fixed"))
        xdo("click", 1)
        xdo("type", "x")
        time.sleep(0.3)
        self.assertEqual(w.notifications("textchanged", "fixed"), [])
        w.shot("edits")


if __name__ == "__main__":
    unittest.main()
