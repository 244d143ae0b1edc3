"""A skinned window on the framework's window base (frame_window.exe with
skins/frame_window.xml), driven under Xvfb by real input through xdotool:
state pictures of buttons, option groups, a check box, dragging by the
caption area, the caption buttons, the progress bar, the rich edit, the
drop shadow at 100 % and 150 %, and the handle counts over twenty windows.
Screenshots stay in the build folder (artifacts/ui_frame/*.png)."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import pytest

import neb
from screen import FONT_SUBSTITUTES, Screenshot, xdo

MARKUP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "skins", "frame_window.xml")
ARTIFACTS = neb.build_path("artifacts", "ui_frame")

BLUE, GREEN, RED, GREY = (0x33, 0x66, 0xCC), (0x00, 0xAA, 0x00), (0xCC, 0x00, 0x00), (0x99, 0x99, 0x99)
MAGENTA, CYAN = (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF)
MARK_OFF, MARK_ON = (0xDD, 0xDD, 0xDD), (0x00, 0x80, 0x00)
BAR_BACK, BAR_FORE = (0xE0, 0xE0, 0xE0), (0x00, 0x00, 0x80)
TIP, TEXT = (0xFF, 0x88, 0x00), (0x33, 0x33, 0x33)
HTCLIENT, HTCAPTION, HTLEFT, HTTOP = 1, 2, 10, 12
# Client points and their hit codes: caption background, the title label,
# the minimise button, the body, the left and the top resize border.
HIT_PROBES = {(300, 20): HTCAPTION, (40, 20): HTCAPTION, (425, 20): HTCLIENT, (200, 200): HTCLIENT,
              (1, 200): HTLEFT, (200, 1): HTTOP}


def read_report(path):
    report = {"controls": {}, "selected": {}, "progress": {}, "text": {}, "hit": {}}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            kind = parts[0]
            if kind == "window":
                report["window"] = tuple(int(p) for p in parts[1:5])
            elif kind == "control":
                report["controls"][parts[1]] = tuple(int(p) for p in parts[2:6])
            elif kind in ("selected", "progress"):
                report[kind][parts[1]] = int(parts[2])
            elif kind == "text":
                report["text"][parts[1]] = "" if parts[2] == "-" else bytes.fromhex(parts[2]).decode("utf-8")
            elif kind == "hit":
                report["hit"][(int(parts[1]), int(parts[2]))] = int(parts[3])
            elif kind == "opacity":
                report["opacity"] = int(parts[1])
            elif kind in ("focus", "state"):
                report[kind] = parts[1]
            elif kind == "caret":
                report["caret"] = (int(parts[1]), int(parts[2]))
            elif kind == "counts":
                report.setdefault("counts", {})[parts[1]] = (int(parts[2]), int(parts[3]))
    return report


class FrameWindow:
    """frame_window.exe on the test markup, with a report and an events file."""

    def __init__(self, folder, dpi=96, extra=("--hit", ";".join("%d,%d" % p for p in HIT_PROBES)), markup=MARKUP):
        self.report_path = os.path.join(folder, "report.txt")
        self.events_path = os.path.join(folder, "events.txt")
        self.process = neb.start(neb.build_path("tests", "helpers", "frame_window.exe"),
                                 ["--markup", neb.windows_path(markup), "--dpi", str(dpi),
                                  "--report", neb.windows_path(self.report_path),
                                  "--events", neb.windows_path(self.events_path), *extra],
                                 stdin=subprocess.PIPE)
        if not neb.wait_for_file(self.report_path, timeout=60):
            raise AssertionError("frame_window wrote no report")
        time.sleep(0.5)  # the X server shows what the window drew
        # Keys go to the X window that has the input focus.
        subprocess.run(["xdotool", "search", "--name", "^frame window$", "windowfocus", "--sync"], check=True,
                       timeout=30)

    def command(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        time.sleep(0.3)

    def report(self):
        os.remove(self.report_path)
        self.command("report")
        if not neb.wait_for_file(self.report_path, timeout=30):
            raise AssertionError("frame_window wrote no report")
        return read_report(self.report_path)

    def events(self):
        if not os.path.exists(self.events_path):
            return []
        with open(self.events_path, encoding="utf-8") as f:
            return [line.split()[1:3] for line in f.read().splitlines()]

    def screen_point(self, report, name, dx=None, dy=None):
        """A point of a control in screen coordinates (its centre by default)."""
        left, top, right, bottom = report["controls"][name]
        x = (left + right) // 2 if dx is None else left + dx
        y = (top + bottom) // 2 if dy is None else top + dy
        return report["window"][0] + x, report["window"][1] + y

    def shot(self, report, name, margin=0):
        left, top, right, bottom = report["window"]
        return Screenshot(os.path.join(ARTIFACTS, name + ".png"),
                          (left - margin, top - margin, right + margin, bottom + margin))

    def close(self):
        if self.process.poll() is None:
            self.process.communicate("close\n", timeout=60)
        return self.process.returncode


def pixel_of(shot, report, name, dx=None, dy=None, margin=0):
    left, top, right, bottom = report["controls"][name]
    x = (left + right) // 2 if dx is None else left + dx
    y = (top + bottom) // 2 if dy is None else top + dy
    return shot.at(x + margin, y + margin)


class FrameCase(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _tmp(self, tmp_path):
        self.tmp = str(tmp_path)

    def fresh_folder(self):
        """A new folder in the test's own (pytest's tmp_path)."""
        return tempfile.mkdtemp(dir=self.tmp)


class UiFrameTest(FrameCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(ARTIFACTS, exist_ok=True)
        # The skin's face, drawn with the CJK font of the machine.
        neb.reg("add", FONT_SUBSTITUTES, "/v", "微软雅黑", "/t", "REG_SZ", "/d", "WenQuanYi Micro Hei", "/f")

    def setUp(self):
        self.folder = self.fresh_folder()
        self.window = FrameWindow(self.folder)
        self.addCleanup(self.window.close)
        xdo("mousemove", 5, 5)

    def test_button_pictures_follow_normal_hot_pushed_and_disabled(self):
        window = self.window
        report = window.report()
        shot = window.shot(report, "button_normal")
        self.assertEqual(pixel_of(shot, report, "btn", 6, 6), BLUE)
        self.assertEqual(pixel_of(shot, report, "btnoff", 6, 6), GREY)
        self.assertEqual(pixel_of(shot, report, "strip", 6, 6), MAGENTA)
        xdo("mousemove", *window.screen_point(report, "btn"))
        self.assertEqual(pixel_of(window.shot(report, "button_hot"), report, "btn", 6, 6), GREEN)
        xdo("mousedown", 1)
        self.assertEqual(pixel_of(window.shot(report, "button_pushed"), report, "btn", 6, 6), RED)
        xdo("mouseup", 1)
        self.assertIn(["click", "btn"], window.events())
        # The disabled button stays grey under the mouse and sends nothing.
        xdo("mousemove", *window.screen_point(report, "btnoff"))
        xdo("click", 1)
        self.assertEqual(pixel_of(window.shot(report, "button_disabled_hover"), report, "btnoff", 6, 6), GREY)
        self.assertNotIn(["click", "btnoff"], window.events())
        # A state picture in four strips: hot is the second strip.
        xdo("mousemove", *window.screen_point(report, "strip"))
        self.assertEqual(pixel_of(window.shot(report, "strip_hot"), report, "strip", 6, 6), CYAN)
        window.command("enable btn 0")
        self.assertEqual(pixel_of(window.shot(report, "button_disabled"), report, "btn", 6, 6), GREY)

    def test_option_group_keeps_one_selected_and_the_check_box_toggles(self):
        window = self.window
        report = window.report()
        self.assertEqual([report["selected"][n] for n in ("opt1", "opt2", "opt3")], [1, 0, 0])
        for name, expected in [("opt2", [0, 1, 0]), ("opt3", [0, 0, 1]), ("opt3", [0, 0, 1]), ("opt1", [1, 0, 0])]:
            xdo("mousemove", *window.screen_point(report, name, dx=10))
            xdo("click", 1)
            now = window.report()
            self.assertEqual([now["selected"][n] for n in ("opt1", "opt2", "opt3")], expected, name)
        shot = window.shot(now, "options")
        self.assertEqual(pixel_of(shot, now, "opt1", 10, 12), MARK_ON)
        self.assertEqual(pixel_of(shot, now, "opt2", 10, 12), MARK_OFF)
        changes = [e for e in window.events() if e[0] in ("click", "selectchanged")]
        # Selecting opt2 deselects opt1 first, then reports opt2.
        self.assertEqual(changes[:3], [["click", "opt2"], ["selectchanged", "opt1"], ["selectchanged", "opt2"]])

        for expected in (1, 0, 1):
            xdo("mousemove", *window.screen_point(report, "chk", dx=10))
            xdo("click", 1)
            self.assertEqual(window.report()["selected"]["chk"], expected)
        self.assertEqual(pixel_of(window.shot(report, "check_on"), report, "chk", 10, 12), MARK_ON)

    def test_caption_area_drags_the_window_and_buttons_do_not(self):
        window = self.window
        report = window.report()
        for point, code in HIT_PROBES.items():
            self.assertEqual(report["hit"][point], code, point)
        left, top = report["window"][:2]
        xdo("mousemove", left + 300, top + 20)
        xdo("mousedown", 1)
        for step in range(1, 7):
            xdo("mousemove", left + 300 + 10 * step, top + 20 + 5 * step)
        xdo("mouseup", 1)
        moved = window.report()["window"]
        self.assertEqual((moved[0] - left, moved[1] - top), (60, 30))
        # A drag that starts on a button leaves the window where it is.
        xdo("mousemove", *window.screen_point(window.report(), "btn"))
        xdo("mousedown", 1)
        xdo("mousemove_relative", "--", 40, 40)
        xdo("mouseup", 1)
        self.assertEqual(window.report()["window"], moved)

    def test_minimise_and_close_buttons(self):
        window = self.window
        report = window.report()
        xdo("mousemove", *window.screen_point(report, "minbtn"))
        xdo("click", 1)
        self.assertEqual(window.report()["state"], "iconic")
        window.close()
        window = self.window = FrameWindow(self.fresh_folder())
        report = window.report()
        xdo("mousemove", *window.screen_point(report, "closebtn"))
        xdo("click", 1)
        self.assertEqual(window.process.wait(timeout=30), 0)

    def test_progress_bar_fills_from_the_left(self):
        window = self.window
        report = window.report()
        left, top, right, bottom = report["controls"]["bar"]
        for value, name in [(0, "progress_0"), (50, "progress_50"), (100, "progress_100")]:
            window.command("progress bar %d" % value)
            shot = window.shot(report, name)
            row = [shot.at(x, (top + bottom) // 2) for x in range(left, right)]
            filled = sum(1 for p in row if p == BAR_FORE)
            self.assertEqual(filled, (right - left) * value // 100, value)
            self.assertEqual(sum(1 for p in row if p == BAR_BACK), (right - left) - filled, value)

    def test_rich_edit_typing_clipboard_selection_caret_tip_and_return(self):
        window = self.window
        report = window.report()
        edit = report["controls"]["edit"]
        shot = window.shot(report, "edit_tip")
        tip_pixels = [shot.at(x, y) for x in range(edit[0], edit[2]) for y in range(edit[1], edit[3])]
        self.assertTrue(any(self.close_to(p, TIP) for p in tip_pixels), "the tip text shows while empty")

        xdo("mousemove", *window.screen_point(report, "edit"))
        xdo("click", 1)
        self.assertEqual(window.report()["focus"], "edit")
        # Chinese text through the clipboard and a real Ctrl+V. (Wine's text
        # services replace the whole plain text on a paste, so it goes into
        # the empty box.)
        window.command("clipboard " + "D:\\测试目录".encode("utf-8").hex())
        xdo("key", "ctrl+v")
        self.assertEqual(window.report()["text"]["edit"], "D:\\测试目录")

        # A selection made with the keyboard is replaced by typed ASCII.
        xdo("key", "Home", "shift+Right", "shift+Right")
        xdo("type", "--delay", 60, "C:\\Program Files")
        self.assertEqual(window.report()["text"]["edit"], "C:\\Program Files\\测试目录")
        shot = window.shot(window.report(), "edit_text")
        inside = [(x, shot.at(x, y)) for x in range(edit[0] + 1, edit[2] - 1) for y in range(edit[1] + 1, edit[3] - 1)]
        self.assertFalse(any(self.close_to(p, TIP) for _, p in inside), "the tip text goes once there is text")
        # Wider than any caret: the typed text itself.
        self.assertGreater(len({x for x, p in inside if self.close_to(p, TEXT)}), 20, "the typed text shows")

        # The caret follows the arrow keys on its line.
        xdo("key", "End")
        end = window.report()["caret"]
        # The window is layered: the control draws its own caret, blinking.
        seen = set()
        for shot_index in range(8):
            shot = window.shot(report, "caret_%d" % shot_index)
            seen.add(shot.at(end[0], end[1] + 6)[0] < 100)
            time.sleep(0.15)
        self.assertEqual(seen, {True, False}, "the caret blinks at its place")
        xdo("key", "Left", "Left", "Left")
        moved = window.report()["caret"]
        self.assertLess(moved[0], end[0])
        self.assertEqual(moved[1], end[1])
        xdo("key", "shift+Home")
        xdo("type", "E:")
        self.assertEqual(window.report()["text"]["edit"], "E:试目录")

        # Single line: Return inserts nothing and is reported.
        xdo("key", "Return")
        self.assertEqual(window.report()["text"]["edit"], "E:试目录")
        self.assertIn(["return", "edit"], window.events())
        self.assertIn(["textchanged", "edit"], window.events())

        # Text set from code reads back the same.
        window.command("text edit " + "E:\\产品".encode("utf-8").hex())
        self.assertEqual(window.report()["text"]["edit"], "E:\\产品")

    @staticmethod
    def close_to(pixel, colour, tolerance=40):
        return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


class UiFrameShadowTest(FrameCase):
    """Wine on an X server without compositing shows a layered window's
    per-pixel alpha as a shape (pixels with any alpha drawn opaque), so the
    screenshots show the extent of the shadow, not its fading."""

    def test_shadow_around_the_window_at_100_and_150_percent_and_after_a_move_to_150(self):
        """The shadow's size (12 in the markup) follows the scale; a window
        told by the system that it moved to a 150 % monitor takes the
        suggested rectangle and rescales its tree and its shadow."""
        os.makedirs(ARTIFACTS, exist_ok=True)
        for dpi, scale, moved_to in [(96, 100, None), (144, 150, None), (96, 150, 144)]:
            with self.subTest(scale=scale, moved_to=moved_to):
                window = FrameWindow(self.fresh_folder(), dpi=dpi, extra=["--backdrop"])
                try:
                    report = window.report()
                    if moved_to:
                        before = report
                        window.command("dpichanged %d" % moved_to)
                        report = window.report()
                        self.assertEqual(report["window"][:2], (before["window"][0] + 10, before["window"][1] + 10))
                        for name, (l, t, r, b) in before["controls"].items():
                            now = report["controls"][name]
                            self.assertLessEqual(abs((now[2] - now[0]) - (r - l) * 1.5), 1, name)
                    left, top, right, bottom = report["window"]
                    width, height = right - left, bottom - top
                    self.assertEqual((width, height), (480 * scale // 100, 360 * scale // 100))
                    size = 12 * scale // 100
                    margin = size + 4
                    name = "shadow_%d" % scale + ("_moved" if moved_to else "")
                    time.sleep(0.5)  # the shadow follows the window's new size at its next paint
                    shot = window.shot(report, name, margin=margin)
                    white = (255, 255, 255)
                    middle_x, middle_y = margin + width // 2, margin + height // 2
                    # The shadow lies around every side within its size, the backdrop beyond it.
                    for inside, outside in [((margin - 1, middle_y), (margin - size - 2, middle_y)),
                                            ((margin + width, middle_y), (margin + width + size + 1, middle_y)),
                                            ((middle_x, margin - 1), (middle_x, margin - size - 2)),
                                            ((middle_x, margin + height), (middle_x, margin + height + size + 1))]:
                        self.assertNotEqual(shot.at(*inside), white, inside)
                        self.assertEqual(shot.at(*outside), white, outside)
                    # The corner of the shadow's square stays clear: the shadow is round there.
                    self.assertEqual(shot.at(margin - size, margin - size), white)
                finally:
                    window.close()


class UiFrameOpacityTest(FrameCase):
    def test_the_markups_opacity_fades_a_window_painted_normally(self):
        """Before: "opacity" and "alpha" were read and never applied. The
        system holds the fade (an X server without compositing shows the
        window opaque all the same, so the report reads it back)."""
        for attribute, expected in [('opacity="200"', 200), ('alpha="128"', 128), ('', None)]:
            with self.subTest(attribute=attribute):
                folder = self.fresh_folder()
                markup = os.path.join(folder, "faded.xml")
                with open(markup, "w", encoding="utf-8") as f:
                    f.write('<Window size="200,100" %s><VerticalLayout bkcolor="#FF3366CC" /></Window>' % attribute)
                window = FrameWindow(folder, extra=[], markup=markup)
                try:
                    self.assertEqual(window.report().get("opacity"), expected)
                finally:
                    window.close()


class UiFrameLeakTest(FrameCase):
    def test_twenty_windows_leave_no_gdi_objects_or_kernel_handles(self):
        folder = self.fresh_folder()
        report_path = os.path.join(folder, "counts.txt")
        result = neb.run(neb.build_path("tests", "helpers", "frame_window.exe"),
                         ["--markup", neb.windows_path(MARKUP), "--cycles", "20",
                          "--report", neb.windows_path(report_path)], timeout=600)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        counts = read_report(report_path)["counts"]
        for kind in ("gdi", "handles"):
            first, last = counts[kind]
            self.assertGreater(first, 0, kind)
            self.assertEqual(last, first, kind)


class NebskinTest(FrameCase):
    """The skin previewer on a skin folder: problems printed with their
    places, the window shown at the asked scale and closed by its own
    close button."""

    def setUp(self):
        self.skin = self.fresh_folder()
        skins = os.path.dirname(MARKUP)
        shutil.copytree(os.path.join(skins, "frame"), os.path.join(self.skin, "frame"))
        with open(os.path.join(self.skin, "frame", "bad.png"), "w") as f:
            f.write("not a picture")
        os.makedirs(os.path.join(self.skin, "Layout"))
        with open(MARKUP, encoding="utf-8") as f:
            markup = f.read()
        markup = markup.replace("frame/btn_hot.svg", "frame/missing.png").replace("frame/btn_pushed.svg",
                                                                                  "frame/bad.png")
        with open(os.path.join(self.skin, "Layout", "Layout.xml"), "w", encoding="utf-8") as f:
            f.write(markup)
        with open(os.path.join(self.skin, "Layout", "broken.xml"), "w", encoding="utf-8") as f:
            f.write('<Window size="100,100">\n  <VerticalLayout>\n    <Button name="a" text="x />\n'
                    '  </VerticalLayout>\n</Window>\n')
        self.nebskin = neb.build_path("tools", "nebskin", "nebskin.exe")

    def test_a_markup_error_is_placed_and_ends_the_tool(self):
        result = neb.run(self.nebskin, [neb.windows_path(self.skin), "Layout/broken.xml"], timeout=120)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Layout/broken.xml:3:28: Error while parsing attribute string", result.stdout)

    def test_markup_beyond_what_the_window_builds_is_placed_and_the_window_still_shows(self):
        # Nested 40,000 elements deep, with an element no control answers to
        # and a file that includes itself eight times.
        with open(os.path.join(self.skin, "Layout", "deep.xml"), "w", encoding="utf-8") as f:
            f.write('<Window size="200,100">\n<Gauge />\n<Include source="Layout/self.xml" />\n'
                    + "<VerticalLayout>" * 40000 + "</VerticalLayout>" * 40000 + "\n</Window>\n")
        with open(os.path.join(self.skin, "Layout", "self.xml"), "w", encoding="utf-8") as f:
            f.write("<Window>" + '<Include source="Layout/self.xml" />' * 8 + "</Window>")
        process = neb.start(self.nebskin, [neb.windows_path(self.skin), "Layout/deep.xml"])
        try:
            found = subprocess.run(["xdotool", "search", "--sync", "--name", "^nebskin$"], capture_output=True,
                                   text=True, timeout=120).stdout.split()
            self.assertTrue(found, "the window shows")
        finally:
            process.kill()
            stdout, _ = process.communicate(timeout=60)
            # The next test looks for its own window by the same name.
            neb.wait_until(lambda: not subprocess.run(["xdotool", "search", "--name", "^nebskin$"],
                                                      capture_output=True, text=True).stdout.strip(),
                           timeout=60, interval=0.5)
        self.assertIn("Layout/deep.xml:2:1: warning: <Gauge> is no control the window knows", stdout)
        self.assertIn("Layout/deep.xml:4:4097: <VerticalLayout> is nested 257 elements deep", stdout)
        self.assertRegex(stdout, r"Layout/self\.xml:1:\d+: <Include>: the markup and what it includes read more "
                                 r"than 50000 elements")

    def test_picture_problems_are_placed_and_the_window_shows_at_the_scale(self):
        os.makedirs(ARTIFACTS, exist_ok=True)
        process = neb.start(self.nebskin, [neb.windows_path(self.skin), "--dpi", "144"])
        try:
            neb.window_geometry("nebskin")
            time.sleep(1)
            x, y, width, height = neb.window_geometry("nebskin")
            self.assertEqual((width, height), (720, 540))
            shot = Screenshot(os.path.join(ARTIFACTS, "nebskin_150.png"), (x, y, x + width, y + height))
            self.assertEqual(shot.at(30 + 9, 84 + 9), BLUE)  # the button's normal picture, at 150 %
            # The skin's own close button ends it.
            xdo("mousemove", x + width - 8 - 22, y + 8 + 22)
            xdo("click", 1)
            stdout, _ = process.communicate(timeout=60)
        finally:
            if process.poll() is None:
                process.kill()
        self.assertEqual(process.returncode, 0)
        self.assertIn('Layout/Layout.xml:19:52: <Button> hotimage: picture "frame/missing.png" is not in the skin',
                      stdout)
        self.assertIn('Layout/Layout.xml:20:17: <Button> pushedimage: picture "frame/bad.png" does not decode',
                      stdout)


if __name__ == "__main__":
    unittest.main()
