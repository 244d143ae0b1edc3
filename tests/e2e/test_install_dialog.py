"""The installer's dialog under Xvfb, driven by real input through xdotool:
an interactive install of the sample product (licence toggle, the initial
and the progress view, the installed result), the statistics calls of an
interactive install, and a close from the system while the worker installs.
Screenshots of the views at 100 %, 150 %, 225 % and 300 % stay in the build folder
(artifacts/install_dialog/*.png)."""
import json
import os
import shutil
import socket
import subprocess
import time
import unittest

import pytest

import collector
import neb
import product
from http_peer import QUERY_PATH, Server, self_signed_context
from screen import FONT_SUBSTITUTES, Screenshot, xdo

ARTIFACTS = neb.build_path("artifacts", "install_dialog")
DPI_KEY = r"HKCU\Control Panel\Desktop"
# Markup coordinates (100 %) of what the tests press or read.
LICENCE_MARK = (224, 476)
INSTALL_BUTTON = (320, 430)
INSTALL_BUTTON_PIXEL = (222, 416)
START_BUTTON_PIXEL = (230, 391)
CLOSE_BUTTON = (612, 30)
PATH_BOX = (300, 330)
SELECT_PATH = (545, 330)
CHOOSER_TITLE = "Select Folder"
INSTALLER_VERSION = "1.0.0.1"
# The product name over the path box: drawn once, and kept when only the
# controls below it are painted again.
TITLE_TEXT = (260, 266, 380, 292)
# The path box's text, inside its padding.
PATH_TEXT = (88, 320, 520, 341)
# The path box's left border, blue while the box has the focus.
PATH_BOX_LEFT_BORDER = (73, 320, 78, 340)
ACCENT, ACCENT_DISABLED = (0x2F, 0x6B, 0xFF), (0xB7, 0xC9, 0xFF)
SHADOW_MARGIN = 12
# The digit boxes a test skin puts in the completion view: the first box's
# left and top, each box's width and height, the gap between boxes.
NUMBER_BOX = (242, 328, 28, 36, 4)
# The dialog's debugger line for a close it refuses while the script installs.
CLOSE_REFUSED = "qd close refused while installing"
# Another process posts UM_QUERY_RESULT (11032) to the dialog, with a number
# and the second parameters a forger would try.
FORGED_QUERY_RESULT = """
local FindWindowW = GLibTab.User32:Get("FindWindowW", "int")
local PostMessageW = GLibTab.User32:Get("PostMessageW", "int")
local window = FindWindowW(WString.New(nil, "CDlgInstall"), nil)
for _, lparam in ipairs({0, 1, -1}) do
  if PostMessageW(window, 11032, 4242, lparam) ~= 0 then print("posted") end
end
"""


def visible_windows(title):
    """The X windows of the visible top-level windows with that title."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                          capture_output=True, text=True, timeout=30).stdout.split()


def window_gone(title, timeout=20):
    """True once no visible window has that title."""
    return neb.wait_until(lambda: not visible_windows(title), timeout, interval=0.3)


class Dialog:
    """A running installer's dialog: its place on the screen and its scale."""

    def __init__(self, process, title, scale):
        self.process = process
        self.title = title
        self.scale = scale
        self.left, self.top, self.width, self.height = neb.window_geometry(title)
        time.sleep(1.0)  # the first paint reaches the screen

    def point(self, markup_point):
        x, y = markup_point
        return self.left + round(x * self.scale), self.top + round(y * self.scale)

    def focus(self):
        """Keyboard input goes to the dialog."""
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % self.title, "windowfocus", "--sync"],
                       check=True, timeout=30)

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

    def initial_view_shot(self, name, timeout=60):
        """The first screenshot that shows the install button painted: a
        large or emulated window's first paint may take a while."""
        def painted():
            shot = self.shot(name)
            return shot if close_to(self.pixel(shot, INSTALL_BUTTON_PIXEL), ACCENT) else None
        shot = neb.wait_until(painted, timeout, interval=1.0)
        if not shot:
            raise AssertionError("%s: the install button never showed" % name)
        return shot

    def wait_for_pixel(self, markup_point, colour, name, timeout=120):
        """The first screenshot whose pixel shows the colour; the one kept."""
        def showing():
            shot = self.shot(name)
            return shot if self.pixel(shot, markup_point) == colour else None
        shot = neb.wait_until(showing, timeout, interval=1.0)
        if not shot:
            raise AssertionError("%s: %s never showed %s" % (name, markup_point, colour))
        return shot


def close_to(colour, expected, slack=24):
    return all(abs(a - b) <= slack for a, b in zip(colour, expected))


def accent_pixels(dialog, shot, markup_rect):
    """How many pixels of the rectangle show the accent colour."""
    left, top, right, bottom = markup_rect
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if close_to(dialog.pixel(shot, (x, y)), ACCENT))


def dark_pixels(dialog, shot, markup_rect):
    """How many pixels of the rectangle are dark, as text is."""
    left, top, right, bottom = markup_rect
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if sum(dialog.pixel(shot, (x, y))) < 3 * 96)


class InstallDialogCase(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _folders(self, tmp_path, c_drive_tmp_path):
        self.tmp = str(tmp_path)
        self.scratch = c_drive_tmp_path

    @classmethod
    def setUpClass(cls):
        os.makedirs(ARTIFACTS, exist_ok=True)
        neb.reg("add", FONT_SUBSTITUTES, "/v", "微软雅黑", "/t", "REG_SZ", "/d", "WenQuanYi Micro Hei", "/f")

    def set_dpi(self, dpi):
        neb.reg("add", DPI_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        self.addCleanup(neb.reg, "delete", DPI_KEY, "/v", "LogPixels", "/f")

    def start(self, program, args=(), **extra_env):
        process = neb.start_detached(program, args, **extra_env)

        def end():
            if process.poll() is None:
                process.kill()
                neb.finish(process, timeout=30)
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

    def run_install(self, scale, tag, query_host, leave, program=None):
        """An install through the dialog (of the suite's installer, or of
        `program`) up to its completion view, where `leave` presses what
        ends the run; the run's result and the statistics records that
        reached the collector."""
        with collector.Collector() as records:
            env = dict(product.collector_env(records))
            env["NEB_TEST_SETTINGS"] = 'global_query_host = "%s"' % query_host
            process = self.start(program or product.installer("setup.exe"), [], **env)
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
            # The worker's answer fills the bar; the completion view follows.
            dialog.wait_for_pixel(START_BUTTON_PIXEL, ACCENT, "complete_%s" % tag, timeout=240)
            self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), self.FOLDER)
            self.assertTrue(os.path.isfile(os.path.join(product.unix_path(self.FOLDER), "Lumetrica.exe")))
            leave(dialog)
            result = neb.finish(process, timeout=60)
            self.assertEqual(result.returncode, 0)
            # The install's own two reports, then the dialog's two actions.
            return result, records.received(4, timeout=20)

    def assertActionsReported(self, stat_records):
        actions = [json.loads(r["data"]) for r in stat_records if r["via"] == "udp" and '"action"' in r["data"]]
        channel = int(product.record("HKCU", product.PRODUCT_KEY, "UnionId") or "0", 0)
        self.assertEqual([(a["codes"], a["appid"], a["unionid"], a["version"]) for a in actions],
                         [([code], 145, channel if channel >= 100 else 27021, INSTALLER_VERSION)
                          for code in (25103, 25105)])

    def test_no_network_then_start_the_product(self):
        # Nothing answers the number query: the fallback number is used, and
        # the failure is in the log.
        log_before = len(product.daily_log())
        result, stat_records = self.run_install(1.0, "100", "127.0.0.1:9",
                                                lambda dialog: dialog.click(START_BUTTON_PIXEL))
        self.assertIn("qd query number 1342395", result.debug)
        self.assertTrue(any("querynumber 7-" in line for line in product.daily_log()[log_before:]))
        neb.wait_until(lambda: "start " in product.product_events())
        self.assertIn("start ", product.product_events())
        self.assertEqual(product.record("HKCU", product.PRODUCT_KEY, "Install"), "0x1")
        self.assertActionsReported(stat_records)

        # What the dialog installed is what a silent install of the same
        # installer into the same folder gives (the dialog's folder ends in
        # the product's name, as the start-up's does for a folder it is given).
        interactive = self.installed_state()
        self.reset()
        with collector.Collector() as records:
            silent = neb.run(product.installer("setup.exe"),
                             ["/InstallSlience", "true", "/InstallPath", product.DEFAULT_FOLDER],
                             **product.collector_env(records))
        self.assertEqual(silent.returncode, 0)
        self.assertEqual(self.installed_state(), interactive)

    def installed_state(self):
        # The install date alone may differ, across midnight.
        records = [r for r in product.records() if r[2] != "InstallDate"]
        links = {name: os.path.exists(path) for name, path in product.shortcut_files().items()}
        return records, product.installed_tree(product.unix_path(self.FOLDER)), links, product.service_state()

    def test_number_from_the_service_at_150_percent_then_close(self):
        self.set_dpi(144)
        service = Server(self_signed_context(self.tmp))
        self.addCleanup(service.stop)
        # The close button of the completion view ends the run without a question.
        result, stat_records = self.run_install(1.5, "150", "127.0.0.1:%d" % service.server_address[1],
                                                lambda dialog: dialog.click(CLOSE_BUTTON))
        self.assertEqual([r["path"] for r in service.requests], [QUERY_PATH])
        self.assertIn("qd query number 4242", result.debug)
        self.assertEqual(product.product_events(), [])
        self.assertActionsReported(stat_records)

    def test_a_skin_with_a_number_box_shows_the_number_digit_by_digit(self):
        """A product's skin with a `HorizNumber` of five digit boxes in the
        completion view, made into an installer by nebpack: the service's
        4242 fills the boxes from the right, the first stays empty."""
        options = product.nebpack_inputs(self.tmp)
        skin = os.path.join(self.tmp, "skin")
        shutil.copytree(options["--skin"], skin)
        layout = os.path.join(skin, "Layout", "Layout.xml")
        boxes = "".join('<Label width="%d" height="%d" font="2" align="center" textcolor="#FF1F2329" '
                        'bkcolor="#FFF2F3F5" />' % (NUMBER_BOX[2], NUMBER_BOX[3]) for _ in range(5))
        # The boxes take 40 of the 48 pixels above the start button, which stays where it was.
        spacer = '<Control height="48" />\n        <HorizontalLayout height="38">\n          <Control />\n          <Button name="BtnStart"'
        product.replace_in(layout, spacer, spacer.replace(
            '<Control height="48" />',
            '<Control height="4" />\n        <HorizontalLayout name="HorizNumber" height="36" childpadding="%d" '
            'inset="%d,0,0,0">%s</HorizontalLayout>\n        <Control height="8" />'
            % (NUMBER_BOX[4], NUMBER_BOX[0], boxes)))
        installer = os.path.join(self.tmp, "numbered.exe")
        packed = product.nebpack(product.nebpack_arguments(dict(options, **{"--skin": skin}), installer))
        self.assertEqual(packed.returncode, 0, packed.stdout + packed.stderr)

        service = Server(self_signed_context(self.tmp))
        self.addCleanup(service.stop)
        shots = {}

        def leave(dialog):
            shots["dialog"], shots["complete"] = dialog, dialog.shot("complete_number_box")
            dialog.click(CLOSE_BUTTON)
        result, _ = self.run_install(1.0, "number_box", "127.0.0.1:%d" % service.server_address[1], leave,
                                     program=neb.stage(installer, "setup.exe"))
        self.assertIn("qd query number 4242", result.debug)
        dialog, shot = shots["dialog"], shots["complete"]
        left, top, width, height, gap = NUMBER_BOX
        digits = [dark_pixels(dialog, shot, (left + i * (width + gap), top, left + i * (width + gap) + width,
                                              top + height)) for i in range(5)]
        self.assertEqual(digits[0], 0, digits)
        self.assertTrue(all(count > 20 for count in digits[1:]), digits)
        # The same digit drawn in the same box looks the same: 4 _ 4 _.
        self.assertEqual(digits[1], digits[3], digits)
        self.assertEqual(digits[2], digits[4], digits)


class InitialViewTest(InstallDialogCase):
    """The first view of the suite's installer (in the 32-bit lane the
    shipped program). The path box is the rich edit's text services, which
    the dialog drives through its own text host: on i686 both sides of that
    interface call with the thiscall convention."""

    def test_the_initial_view_and_a_folder_typed_into_the_path_box(self):
        process = self.start(product.installer("setup.exe"), [])
        dialog = Dialog(process, "Lumetrica安装", 1.0)
        shot = dialog.initial_view_shot("initial_view")
        self.assertGreater(dark_pixels(dialog, shot, TITLE_TEXT), 50, "product name")
        # The default folder, drawn by the text services.
        default_text = dark_pixels(dialog, shot, PATH_TEXT)
        self.assertGreater(default_text, 100, "install folder")

        # A folder typed into the box is what the install button reads back.
        box = neb.BoxAnswer("错误")
        self.addCleanup(box.close)
        dialog.focus()
        dialog.click(PATH_BOX)
        xdo("key", "ctrl+a")
        xdo("type", "--delay", "20", "Apps")
        shot = dialog.shot("initial_view_typed")
        self.assertLess(dark_pixels(dialog, shot, PATH_TEXT), default_text / 2, "the typed folder")
        self.assertGreater(dark_pixels(dialog, shot, PATH_TEXT), 10, "the typed folder")
        dialog.click(INSTALL_BUTTON)
        self.assertEqual(box.text(), "安装路径非法，请重新修改！")
        self.assertTrue(neb.close_window("CDlgInstall"))
        self.assertEqual(neb.finish(process).returncode, 0)
        self.assertFalse(os.path.exists(product.unix_path(product.DEFAULT_FOLDER)))


class ScalesAndKeysTest(InstallDialogCase):
    """The initial view at the skin's picture steps and between and above
    them, and the Tab key's walk through the dialog."""

    def test_the_initial_view_at_100_150_225_and_300_percent(self):
        for dpi, scale in [(96, 1.0), (144, 1.5), (216, 2.25), (288, 3.0)]:
            with self.subTest(scale=scale):
                self.set_dpi(dpi)
                process = self.start(product.installer("setup.exe"), [])
                dialog = Dialog(process, "Lumetrica安装", scale)
                self.assertEqual((dialog.width, dialog.height), (round(640 * scale), round(500 * scale)))
                shot = dialog.initial_view_shot("initial_view_%d" % round(scale * 100))
                self.assertGreater(dark_pixels(dialog, shot, TITLE_TEXT), 50, "product name")
                self.assertGreater(dark_pixels(dialog, shot, PATH_TEXT), 100, "install folder")
                self.assertTrue(neb.close_window("CDlgInstall"))
                self.assertEqual(neb.finish(process).returncode, 0)

    def test_tab_leaves_the_path_box_for_the_options(self):
        """Before: the path box kept the Tab key, and the focus with it."""
        process = self.start(product.installer("setup.exe"), [])
        dialog = Dialog(process, "Lumetrica安装", 1.0)
        # The text as it shows without the focus: a focused box also shows
        # its caret, which blinks.
        text = dark_pixels(dialog, dialog.initial_view_shot("tab_initial_view"), PATH_TEXT)
        dialog.focus()
        dialog.click(PATH_BOX)
        shot = dialog.shot("tab_path_box_focused")
        self.assertGreater(accent_pixels(dialog, shot, PATH_BOX_LEFT_BORDER), 0, "the path box has the focus")
        xdo("key", "Tab")
        xdo("type", "--delay", "20", "zzz")
        shot = dialog.shot("tab_path_box_left")
        self.assertEqual(accent_pixels(dialog, shot, PATH_BOX_LEFT_BORDER), 0, "the focus left the path box")
        self.assertEqual(dark_pixels(dialog, shot, PATH_TEXT), text, "keys after Tab went into the path box")
        self.assertTrue(neb.close_window("CDlgInstall"))
        self.assertEqual(neb.finish(process).returncode, 0)


class FontFallbackTest(InstallDialogCase):
    """The skin names a face ("微软雅黑") that a machine may lack. Without a
    substitute for it the dialog's Chinese texts are drawn in the face the
    system picks for Chinese, here the machine's one Chinese font, the very
    face the other tests name as the substitute: the same pixels, where a
    face without Chinese would draw boxes."""

    # The three options' row and the licence mark's text, Chinese only.
    CHINESE_TEXTS = [(60, 366, 600, 388), (232, 466, 330, 486)]

    def initial_view(self, name):
        process = self.start(product.installer("setup.exe"), [])
        dialog = Dialog(process, "Lumetrica安装", 1.0)
        shot = dialog.initial_view_shot(name)
        self.assertTrue(neb.close_window("CDlgInstall"))
        self.assertEqual(neb.finish(process).returncode, 0)
        return dialog, shot

    def test_chinese_text_shows_without_a_substitute_for_the_skins_face(self):
        neb.reg("delete", FONT_SUBSTITUTES, "/v", "微软雅黑", "/f")
        self.addCleanup(neb.reg, "add", FONT_SUBSTITUTES, "/v", "微软雅黑", "/t", "REG_SZ", "/d",
                        "WenQuanYi Micro Hei", "/f")
        self.assertIsNone(neb.reg_query(FONT_SUBSTITUTES, "微软雅黑"))
        dialog, fallback = self.initial_view("no_font_substitute")
        neb.reg("add", FONT_SUBSTITUTES, "/v", "微软雅黑", "/t", "REG_SZ", "/d", "WenQuanYi Micro Hei", "/f")
        _, substituted = self.initial_view("font_substitute")
        for left, top, right, bottom in self.CHINESE_TEXTS:
            with self.subTest(rect=(left, top, right, bottom)):
                ink = [(x, y) for y in range(top, bottom) for x in range(left, right)
                       if 60 < min(dialog.pixel(fallback, (x, y))) < 200]
                self.assertGreater(len(ink), 100)
                differing = [(x, y) for y in range(top, bottom) for x in range(left, right)
                             if dialog.pixel(fallback, (x, y)) != dialog.pixel(substituted, (x, y))]
                self.assertEqual(differing, [])


class TrailInstallTest(InstallDialogCase):
    """The test scripts: each event leaves a line in a trail file; the
    statistics library is the recording one."""

    ALL_EVENTS = ["event " + name for name in
                  ("BeforeInit", "BeforeInstall", "OnInstall", "BeforeComplete", "AfterComplete")]
    DESKTOP_MARK = (251, 376)

    def setUp(self):
        self.trail = os.path.join(self.scratch, "trail.txt")
        self.record = os.path.join(self.scratch, "record.txt")
        self.install_folder = os.path.join(self.scratch, "apps", "Lumetrica")
        os.makedirs(self.install_folder)
        self.program = neb.stage(neb.build_path("tests", "e2e", "trail_installer.exe"), "setup.exe")
        self.addCleanup(shutil.rmtree, os.path.dirname(self.program), ignore_errors=True)

    def start_dialog(self, **extra_env):
        process = self.start(self.program, ["/InstallPath", neb.c_drive_path(os.path.join(self.scratch, "apps"))],
                             NEB_TEST_TRAIL=neb.windows_path(self.trail),
                             NEB_STAT_RECORD=neb.windows_path(self.record), **extra_env)
        return process, Dialog(process, "安装", 1.0)

    def close_refused(self, process):
        """Waits for the dialog's word that it refused a close."""
        return neb.wait_until(lambda: any(line.startswith(CLOSE_REFUSED) for line in process.debug_so_far()))

    def trail_lines(self):
        with open(self.trail, encoding="utf-8") as f:
            return f.read().splitlines()

    def test_the_chosen_options_are_reported_in_order_before_the_module_closes(self):
        process, dialog = self.start_dialog(
            NEB_TEST_STAT_LIBRARY=neb.windows_path(neb.build_path("tests", "helpers", "stat_recorder.dll")))
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

    def test_folders_and_sizes_the_install_button_refuses(self):
        illegal = ("错误", "安装路径非法，请重新修改！")
        legal = neb.c_drive_path(self.install_folder)
        occupied = os.path.join(self.scratch, "letters")
        os.makedirs(occupied)
        with open(os.path.join(occupied, "letter.txt"), "w") as f:
            f.write("mine")
        cases = [
            # folder typed into the path box, what the scripts set, the box
            ("Apps\\Lumetrica", {}, illegal),
            ("\\\\server\\share\\Lumetrica", {}, illegal),
            # Before: each of these was installed into (a root without a base
            # folder to put under it as "C:", the installer's current folder).
            ("C:\\", {}, illegal),
            ("C:\\Program Files", {}, illegal),
            ("C:\\windows\\system32\\Lumetrica", {}, illegal),
            (neb.c_drive_path(occupied), {},
             ("错误", "所选文件夹中已有其他文件，请选择空文件夹，或在其中新建一个子文件夹来安装！")),
            (legal, {"NEB_TEST_BACKUP_PATH": "Backup\\Lumetrica"}, ("错误", "备份路径非法，请重新修改！")),
            (legal, {"NEB_TEST_DISK_SPACE": "99999999999999"},
             ("提示", "磁盘剩余可用空间不足,安装程序需要95367432.00MB的空间来完成安装！")),
        ]
        for folder, settings, (caption, text) in cases:
            with self.subTest(folder=folder, settings=settings):
                if os.path.exists(self.trail):
                    os.remove(self.trail)
                process, dialog = self.start_dialog(**settings)
                box = neb.BoxAnswer(caption)
                self.addCleanup(box.close)
                dialog.focus()
                dialog.click(PATH_BOX)
                xdo("key", "ctrl+a")
                xdo("type", "--delay", "20", folder)
                dialog.click(INSTALL_BUTTON)
                self.assertEqual(box.text(), text)
                # The dialog stays on its first view: nothing was installed.
                self.assertTrue(neb.close_window("CDlgInstall"))
                self.assertEqual(neb.finish(process).returncode, 0)
                self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")],
                                 ["event BeforeInit"])
        self.assertEqual(os.listdir(occupied), ["letter.txt"])
        self.assertFalse(os.path.exists(os.path.join(neb.PREFIX, "drive_c", "windows", "system32", "Lumetrica")))

    def test_a_drive_root_typed_installs_into_the_base_folder_under_it(self):
        """Before: "C:\\" passed the check and lost its backslash; the install
        went to "C:", which Windows reads as the current folder on drive C."""
        base = os.path.join(neb.PREFIX, "drive_c", "Orrinthwake")
        self.addCleanup(shutil.rmtree, base, ignore_errors=True)
        for typed in ["C:\\", "C:"]:
            with self.subTest(typed=typed):
                if os.path.exists(self.trail):
                    os.remove(self.trail)
                process, dialog = self.start_dialog(NEB_TEST_BASE_FOLDER="Orrinthwake")
                dialog.focus()
                dialog.click(PATH_BOX)
                xdo("key", "ctrl+a")
                xdo("type", "--delay", "20", typed)
                dialog.click(INSTALL_BUTTON)
                self.assertEqual(neb.finish(process, timeout=120).returncode, 0)
                self.assertIn("InstallPath=C:\\Orrinthwake", self.trail_lines())
                self.assertTrue(os.path.isdir(base))

    def test_a_query_result_posted_from_outside_ends_nothing(self):
        """Before: UM_QUERY_RESULT from any process ended the install state
        while the script was still installing: the dialog took the forged
        number, could be closed, and completed early."""
        hold = os.path.join(self.scratch, "hold")
        open(hold, "w").close()
        process, dialog = self.start_dialog(NEB_TEST_HOLD=neb.windows_path(hold), NEB_TEST_HOLD_IN="OnInstall")
        dialog.click(INSTALL_BUTTON)
        self.assertTrue(neb.wait_for_file(hold + ".held"), "the install did not reach its script")
        forged = neb.run_lua(FORGED_QUERY_RESULT)
        self.assertEqual(forged.stdout.split(), ["posted"] * 3)
        # The window takes its posted messages in order: the close comes
        # after the forged results, and is still refused.
        self.assertTrue(neb.close_window("CDlgInstall"))
        self.assertTrue(self.close_refused(process), "the forged result ended the install state")
        self.assertIsNone(process.poll(), "the installer ended while installing")
        os.remove(hold)
        result = neb.finish(process, timeout=120)
        self.assertEqual(result.returncode, 0)
        self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")], self.ALL_EVENTS)
        numbers = [line for line in result.debug if line.startswith("qd query number")]
        self.assertEqual(len(numbers), 1, numbers)
        self.assertNotEqual(numbers[0], "qd query number 4242")

    def test_the_window_may_close_once_the_script_is_done_while_the_number_query_waits(self):
        """The number query goes to a server that takes the connection and
        never answers. Before: closing was refused until the query gave up
        (a minute at the least), though the install was whole."""
        server = socket.socket()
        server.bind(("127.0.0.1", 0))
        server.listen(8)
        self.addCleanup(server.close)
        process, dialog = self.start_dialog(NEB_TEST_QUERY_HOST="127.0.0.1:%d" % server.getsockname()[1])
        dialog.click(INSTALL_BUTTON)
        neb.wait_until(lambda: "event BeforeComplete" in self.trail_lines(), timeout=120)
        # A close asked for a moment too early is refused: it is asked again,
        # all well before the query gives up.
        for _ in range(3):
            neb.close_window("CDlgInstall", timeout=10)
            try:
                result = neb.finish(process, timeout=10)
                break
            except subprocess.TimeoutExpired:
                continue
        else:
            self.fail("the window was not closed while the query waited")
        self.assertEqual(result.returncode, 0)
        self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")], self.ALL_EVENTS[:4])

    def test_the_folder_chooser_keeps_the_base_folder_at_the_end(self):
        # Empty folders: in the chooser a Return on a folder with folders
        # in it would enter the first of them.
        tools = neb.c_drive_path(os.path.join(self.scratch, "Tools"))
        product_folder = neb.c_drive_path(os.path.join(self.scratch, "Other", "Orrinthwake"))
        for folder in (tools, product_folder):
            os.makedirs(product.unix_path(folder))
        drive_root = os.path.join(self.tmp, "drive_r")
        os.mkdir(drive_root)
        cases = [
            # the folder picked in the system's chooser, the install folder
            (tools, tools + "\\Orrinthwake"),
            (product_folder, product_folder),
            ("R:\\", "R:\\Orrinthwake"),
        ]
        with neb.mapped_drive("R", drive_root):
            for picked, installed in cases:
                with self.subTest(picked=picked):
                    if os.path.exists(self.trail):
                        os.remove(self.trail)
                    result = self.install_through_the_chooser(picked)
                    self.assertEqual(result.returncode, 0)
                    # The chooser started in the path box's folder, which
                    # exists; its rule for the picked folder follows.
                    check = result.debug.index("qd CheckDir %s, Orrinthwake" % picked)
                    self.assertEqual(result.debug[check - 1], "qd " + neb.c_drive_path(self.install_folder))
                    self.assertIn("InstallPath=" + installed, self.trail_lines())

    def install_through_the_chooser(self, picked):
        process, dialog = self.start_dialog(NEB_TEST_BASE_FOLDER="Orrinthwake")
        try:
            dialog.click(SELECT_PATH)
            neb.window_geometry(CHOOSER_TITLE)  # waits for it
            time.sleep(1.5)  # until it takes keys
            subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % CHOOSER_TITLE,
                            "windowfocus", "--sync"], check=True, timeout=30)
            # The typed folder is entered first, then picked.
            xdo("type", "--delay", "20", picked)
            xdo("key", "Return")
            time.sleep(1.5)
            xdo("key", "Return")
            self.assertTrue(window_gone(CHOOSER_TITLE), "the chooser stayed open")
            dialog.click(INSTALL_BUTTON)
            return neb.finish(process)
        finally:
            if process.poll() is None:
                process.kill()
                neb.finish(process, timeout=30)

    def test_a_close_from_the_system_while_installing_is_refused(self):
        process, dialog = self.start_dialog()
        dialog.click(INSTALL_BUTTON)
        # The worker waits two seconds before the script installs.
        dialog.focus()
        xdo("key", "alt+F4")
        self.assertTrue(self.close_refused(process), "the close was not refused")
        self.assertIsNone(process.poll(), "the installer ended while installing")
        self.assertEqual(neb.finish(process, timeout=120).returncode, 0)
        self.assertEqual([line for line in self.trail_lines() if line.startswith("event ")], self.ALL_EVENTS)


if __name__ == "__main__":
    unittest.main()
