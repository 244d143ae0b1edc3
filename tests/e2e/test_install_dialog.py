"""The installer's dialog under Xvfb, driven by real input through xdotool:
an interactive install of the sample product (licence toggle, the initial
and the progress view, the installed result), the statistics calls of an
interactive install, and a close from the system while the worker installs.
Screenshots of the views at 100 % and 150 % stay in the build folder
(artifacts/install_dialog/*.png)."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import neb
import product
from test_ui_frame import FONT_SUBSTITUTES, xdo
from test_ui_window import Screenshot

ARTIFACTS = neb.build_path("artifacts", "install_dialog")
DPI_KEY = r"HKCU\Control Panel\Desktop"
# Markup coordinates (100 %) of what the tests press or read.
LICENCE_MARK = (224, 476)
INSTALL_BUTTON = (320, 430)
INSTALL_BUTTON_PIXEL = (222, 416)
START_BUTTON_PIXEL = (230, 391)
# The product name over the path box: drawn once, and kept when only the
# controls below it are painted again.
TITLE_TEXT = (260, 266, 380, 292)
ACCENT, ACCENT_DISABLED = (0x2F, 0x6B, 0xFF), (0xB7, 0xC9, 0xFF)
SHADOW_MARGIN = 12


def window_geometry(title, timeout=60):
    """(left, top, width, height) of the visible top-level window with that title."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                               capture_output=True, text=True, timeout=30).stdout.split()
        if found:
            shape = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]], capture_output=True,
                                   text=True, timeout=30).stdout
            values = dict(line.split("=", 1) for line in shape.split())
            return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])
        time.sleep(0.3)
    raise AssertionError("no window titled %s" % title)


class Dialog:
    """A running installer's dialog: its place on the screen and its scale."""

    def __init__(self, process, title, scale):
        self.process = process
        self.scale = scale
        self.left, self.top, self.width, self.height = window_geometry(title)
        time.sleep(1.0)  # the first paint reaches the screen

    def point(self, markup_point):
        x, y = markup_point
        return self.left + round(x * self.scale), self.top + round(y * self.scale)

    def click(self, markup_point):
        xdo("mousemove", *self.point(markup_point))
        xdo("click", 1)
        xdo("mousemove", 2, 2)

    def shot(self, name):
        rect = (self.left - SHADOW_MARGIN, self.top - SHADOW_MARGIN, self.left + self.width + SHADOW_MARGIN,
                self.top + self.height + SHADOW_MARGIN)
        return Screenshot(os.path.join(ARTIFACTS, name + ".png"), rect)

    def pixel(self, shot, markup_point):
        x, y = markup_point
        return shot.at(round(x * self.scale) + SHADOW_MARGIN, round(y * self.scale) + SHADOW_MARGIN)

    def wait_for_pixel(self, markup_point, colour, name, timeout=120):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            shot = self.shot(name)
            if self.pixel(shot, markup_point) == colour:
                return shot
            time.sleep(1.0)
        raise AssertionError("%s: %s never showed %s" % (name, markup_point, colour))


def close_to(colour, expected, slack=24):
    return all(abs(a - b) <= slack for a, b in zip(colour, expected))


def dark_pixels(dialog, shot, markup_rect):
    """How many pixels of the rectangle are dark, as text is."""
    left, top, right, bottom = markup_rect
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if sum(dialog.pixel(shot, (x, y))) < 3 * 96)


class InstallDialogCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(ARTIFACTS, exist_ok=True)
        neb.reg("add", FONT_SUBSTITUTES, "/v", "微软雅黑", "/t", "REG_SZ", "/d", "WenQuanYi Micro Hei", "/f")

    def set_dpi(self, dpi):
        neb.reg("add", DPI_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        self.addCleanup(neb.reg, "delete", DPI_KEY, "/v", "LogPixels", "/f")

    def start(self, program, args=(), **extra_env):
        process = neb.start(program, args, **extra_env)

        def end():
            if process.poll() is None:
                process.kill()
                process.communicate(timeout=30)
        self.addCleanup(end)
        return process


class FullInstallTest(InstallDialogCase):
    """The shipped scripts and payload, with the statistics at a local collector."""

    FOLDER = product.DEFAULT_FOLDER + "\\Lumetrica"

    def setUp(self):
        self.reset()
        self.addCleanup(self.reset)

    def reset(self):
        neb.run_lua("Lua_KillAllTaskByName('Lumetrica.exe')")
        neb.run(neb.build_path("product", "LumetricaServer.exe"), ["--UnInstallTask"])
        for key in ["HKLM\\" + product.PRODUCT_KEY, "HKCU\\" + product.PRODUCT_KEY, "HKLM\\" + product.UNINSTALL_KEY]:
            neb.reg("delete", key, "/f")
        for key in [product.RUN_KEY, product.APPROVED_RUN_KEY]:
            neb.reg("delete", key, "/v", "Lumetrica", "/f")
        for path in [product.unix_path(product.DEFAULT_FOLDER), product.start_menu_folder(),
                     neb.user_folder("AppData", "Local", "Lumetrica")]:
            shutil.rmtree(path, ignore_errors=True)

    def run_install(self, scale, tag):
        import collector
        with collector.Collector() as records:
            env = dict(product.collector_env(records))
            # No service answers the number query here: the fallback number is used.
            env["NEB_TEST_SETTINGS"] = 'global_query_host = "127.0.0.1:9"'
            process = self.start(product.installer("setup.exe"), [], **env)
            dialog = Dialog(process, "Lumetrica安装", scale)
            self.assertEqual((dialog.width, dialog.height), (round(640 * scale), round(500 * scale)))
            shot = dialog.shot("initial_%s" % tag)
            self.assertTrue(close_to(dialog.pixel(shot, INSTALL_BUTTON_PIXEL), ACCENT), "install button")

            self.assertGreater(dark_pixels(dialog, shot, TITLE_TEXT), 50, "product name")

            # The licence toggles the install button.
            dialog.click(LICENCE_MARK)
            shot = dialog.shot("licence_off_%s" % tag)
            self.assertTrue(close_to(dialog.pixel(shot, INSTALL_BUTTON_PIXEL), ACCENT_DISABLED))
            self.assertGreater(dark_pixels(dialog, shot, TITLE_TEXT), 50, "product name after a repaint below it")
            dialog.click(INSTALL_BUTTON)
            dialog.click(LICENCE_MARK)
            shot = dialog.shot("licence_on_%s" % tag)
            self.assertTrue(close_to(dialog.pixel(shot, INSTALL_BUTTON_PIXEL), ACCENT))
            self.assertFalse(os.path.exists(product.unix_path(self.FOLDER)), "the disabled button installed")

            dialog.click(INSTALL_BUTTON)
            time.sleep(1.5)
            dialog.shot("progress_%s" % tag)
            program = os.path.join(product.unix_path(self.FOLDER), "Lumetrica.exe")
            deadline = time.monotonic() + 240
            while time.monotonic() < deadline and product.record(
                    "HKLM", product.UNINSTALL_KEY, "InstallLocation") != self.FOLDER:
                time.sleep(2.0)
            self.assertTrue(os.path.isfile(program))
            self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), self.FOLDER)
            # The worker's answer fills the bar; the completion view follows.
            dialog.wait_for_pixel(START_BUTTON_PIXEL, ACCENT, "complete_%s" % tag, timeout=60)

    def test_a_full_interactive_install_at_100_percent(self):
        self.run_install(1.0, "100")

    def test_a_full_interactive_install_at_150_percent(self):
        self.set_dpi(144)
        self.run_install(1.5, "150")


class TrailInstallTest(InstallDialogCase):
    """The test scripts: each event leaves a line in a trail file; the
    statistics library is the recording one."""

    ALL_EVENTS = ["event " + name for name in
                  ("BeforeInit", "BeforeInstall", "OnInstall", "BeforeComplete", "AfterComplete")]
    DESKTOP_MARK = (251, 376)

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="neb-dialog-", dir=os.path.join(neb.PREFIX, "drive_c"))
        self.addCleanup(shutil.rmtree, self.scratch, ignore_errors=True)
        self.trail = os.path.join(self.scratch, "trail.txt")
        self.record = os.path.join(self.scratch, "record.txt")
        self.install_folder = os.path.join(self.scratch, "apps", "Lumetrica")
        os.makedirs(self.install_folder)
        self.program = neb.stage(neb.build_path("tests", "e2e", "trail_installer.exe"), "setup.exe")
        self.addCleanup(shutil.rmtree, os.path.dirname(self.program), ignore_errors=True)

    def start_dialog(self):
        process = self.start(self.program, ["/InstallPath", neb.c_drive_path(os.path.join(self.scratch, "apps"))],
                             NEB_TEST_TRAIL=neb.windows_path(self.trail),
                             NEB_STAT_RECORD=neb.windows_path(self.record))
        return process, Dialog(process, "安装", 1.0)

    def trail_lines(self):
        with open(self.trail, encoding="utf-8") as f:
            return f.read().splitlines()

    def test_the_chosen_options_are_reported_in_order_before_the_module_closes(self):
        shutil.copy(neb.build_path("tests", "helpers", "stat_recorder.dll"),
                    os.path.join(self.install_folder, "rkstat.dll"))
        process, dialog = self.start_dialog()
        dialog.click(self.DESKTOP_MARK)
        dialog.click(INSTALL_BUTTON)
        self.assertEqual(neb.finish(process, timeout=120).returncode, 0)
        self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")], self.ALL_EVENTS)
        with open(self.record, encoding="utf-8") as f:
            calls = [line.rsplit(" @", 1)[0] for line in f.read().splitlines()]
        names = [call.split()[0] for call in calls]
        self.assertEqual(names[names.index("stat_init"):], [
            "stat_init", "stat_mutilaction", "stat_mutilaction", "stat_offline", "stat_close", "unloaded"])
        actions = [call.split()[1] for call in calls if call.startswith("stat_mutilaction")]
        # The test scripts neither show nor select the start-with-Windows option.
        self.assertEqual(actions, ["[25104]", "[25106]"])

    def test_a_close_from_the_system_while_installing_is_refused(self):
        process, dialog = self.start_dialog()
        dialog.click(INSTALL_BUTTON)
        # The worker waits two seconds before the script installs.
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^安装$", "windowfocus", "--sync"],
                       timeout=30)
        xdo("key", "alt+F4")
        time.sleep(1.0)
        self.assertIsNone(process.poll(), "the installer ended while installing")
        self.assertEqual(neb.finish(process, timeout=120).returncode, 0)
        self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")], self.ALL_EVENTS)


if __name__ == "__main__":
    unittest.main()
