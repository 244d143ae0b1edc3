"""The statistics reporter in a silent install under Wine: the calls the
installer makes into the statistics library, in order and with their
arguments, where it finds the library, and an install without one.

The library is tests/helpers/stat_recorder.dll, copied in as rkstat.dll; it
records each call it gets in the file named by NEB_STAT_RECORD."""
import os
import shutil
import struct
import time
import unittest

import pytest

import neb

CHANNEL_KEY = "HKCU\\SOFTWARE\\Lumetrica"
DISPATCH = 'stat_dispatch_addr "dispatch.stat.example.net" 8700'
FIXED_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
ALL_EVENTS = ["event BeforeInit", "event BeforeInstall", "event OnInstall",
              "event BeforeComplete", "event AfterComplete"]


def stamp_version(program, file_version, product_version):
    """Rewrites the fixed part of the program's version record in place."""
    def words(version):
        a, b, c, d = version
        return struct.pack("<II", a << 16 | b, c << 16 | d)
    with open(program, "r+b") as f:
        data = f.read()
        at = data.index(FIXED_INFO_SIGNATURE)
        f.seek(at + 8)
        f.write(words(file_version) + words(product_version))


class StatisticsCase(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _scratch(self, c_drive_tmp_path):
        self.scratch = c_drive_tmp_path

    def setUp(self):
        self.record = os.path.join(self.scratch, "record.txt")
        self.trail = os.path.join(self.scratch, "trail.txt")
        self.program = neb.stage(neb.build_path("tests", "e2e", "trail_installer.exe"), "setup.exe")
        self.install_root = os.path.join(self.scratch, "apps")
        self.install_folder = os.path.join(self.install_root, "Lumetrica")
        os.makedirs(self.install_folder)
        # A statistics library in the install folder is an earlier install's:
        # its uninstaller's files are there too, or the folder is refused.
        for name in ("Uninstall.exe", "Uninst.dar0", "Uninst.dar1"):
            open(os.path.join(self.install_folder, name), "wb").close()
        neb.reg("delete", CHANNEL_KEY, "/v", "UnionId", "/f")

    def tearDown(self):
        neb.reg("delete", CHANNEL_KEY, "/v", "UnionId", "/f")
        shutil.rmtree(os.path.dirname(self.program), ignore_errors=True)

    def place_library(self, folder, library="stat_recorder.dll"):
        shutil.copy(neb.build_path("tests", "helpers", library), os.path.join(folder, "rkstat.dll"))

    def install(self, **extra_env):
        for path in (self.record, self.trail):
            if os.path.exists(path):
                os.remove(path)
        extra_env.setdefault("NEB_TEST_TRAIL", neb.windows_path(self.trail))
        result = neb.run(self.program, ["/InstallSlience", "true",
                                        "/InstallPath", neb.c_drive_path(self.install_root)],
                         NEB_STAT_RECORD=neb.windows_path(self.record), **extra_env)
        self.assertEqual(result.returncode, 0)
        with open(self.trail, encoding="utf-8") as f:
            self.assertEqual([line for line in f.read().splitlines() if line.startswith("event ")],
                             ALL_EVENTS, "the install did not complete")
        return result

    def records(self):
        """The record's lines, with the thread of each call set apart."""
        if not os.path.exists(self.record):
            return [], []
        with open(self.record, encoding="utf-8") as f:
            lines = f.read().splitlines()
        calls = [line.rsplit(" @", 1) for line in lines]
        return [call[0] for call in calls], [call[1] if len(call) == 2 else None for call in calls]

    def set_channel(self, value):
        neb.reg("add", CHANNEL_KEY, "/v", "UnionId", "/t", "REG_DWORD", "/d", str(value), "/f")

    def log_lines_since(self, offset):
        path = neb.user_folder("Temp", "LumetricaClientInstall_%s.log" % time.strftime("%Y-%m-%d"))
        with open(path, "rb") as f:
            f.seek(offset)
            return f.read().decode("utf-8", "replace").splitlines()

    def log_size(self):
        path = neb.user_folder("Temp", "LumetricaClientInstall_%s.log" % time.strftime("%Y-%m-%d"))
        return os.path.getsize(path) if os.path.exists(path) else 0

    def init_log_lines(self, offset):
        return [line for line in self.log_lines_since(offset) if "QMStatModule Init:" in line]


class SilentInstallStatisticsTest(StatisticsCase):
    def test_identifies_the_installer_then_closes_and_unloads_on_the_main_thread(self):
        self.place_library(self.install_folder)
        stamp_version(self.program, (9, 8, 7, 6), (3, 14, 159, 2653))
        self.set_channel(30000)
        offset = self.log_size()
        self.install()
        lines, threads = self.records()
        library = neb.c_drive_path(os.path.join(self.install_folder, "rkstat.dll"))
        self.assertEqual(lines, [
            "loaded " + library,
            "stat_appid 145",
            "stat_unionid 30000",
            "stat_version_ex 3 14 159 2653",
            DISPATCH,
            "stat_init",
            "stat_offline",
            "stat_close 3000",
            "unloaded",
        ])
        self.assertEqual(len(set(t for t in threads if t)), 1, "calls came from more than one thread")
        log = self.init_log_lines(offset)
        self.assertEqual(len(log), 1, log)
        self.assertRegex(log[0], r"\[info\] \[\d+\] \[statistics\.cpp StartStatisticsForInstall: \d+\] "
                                 r"QMStatModule Init:true$")

    def test_channel_from_the_registry_with_27021_for_none_or_below_100(self):
        self.place_library(self.install_folder)
        for value, channel in [(None, 27021), (50, 27021), (99, 27021), (100, 100), (30000, 30000)]:
            with self.subTest(value=value):
                if value is not None:
                    self.set_channel(value)
                self.install()
                self.assertIn("stat_unionid %d" % channel, self.records()[0])

    def test_the_dispatch_host_comes_from_the_settings(self):
        self.place_library(self.install_folder)
        self.install(NEB_TEST_DISPATCH_HOST="stats.other.example")
        self.assertIn('stat_dispatch_addr "stats.other.example" 8700', self.records()[0])

    def test_the_installers_own_record_gives_the_version(self):
        self.place_library(self.install_folder)
        self.install()
        # The version record built into the installer.
        self.assertIn("stat_version_ex 1 0 0 1", self.records()[0])
        stamp_version(self.program, (1, 0, 0, 1), (65535, 0, 65535, 7))
        self.install()
        self.assertIn("stat_version_ex 65535 0 65535 7", self.records()[0])

    def test_stat_init_decides_the_logged_result(self):
        self.place_library(self.install_folder, "stat_init_only.dll")
        for word, shown in [("0", "false"), ("256", "false"), ("1", "true")]:
            with self.subTest(word=word):
                offset = self.log_size()
                self.install(NEB_STAT_INIT_RESULT=word)
                self.assertEqual(self.records()[0][1:], ["stat_init", "unloaded"])
                log = self.init_log_lines(offset)
                self.assertEqual(len(log), 1, log)
                self.assertTrue(log[0].endswith("QMStatModule Init:" + shown), log[0])


class LibraryPlaceTest(StatisticsCase):
    def test_the_install_folder_first_then_beside_the_installer(self):
        beside_installer = os.path.dirname(self.program)
        self.place_library(self.install_folder)
        self.place_library(beside_installer)
        self.install()
        self.assertEqual(self.records()[0][0],
                         "loaded " + neb.c_drive_path(os.path.join(self.install_folder, "rkstat.dll")))

        os.remove(os.path.join(self.install_folder, "rkstat.dll"))
        self.install()
        lines = self.records()[0]
        self.assertEqual(lines[0], "loaded " + neb.c_drive_path(os.path.join(beside_installer, "rkstat.dll")))
        self.assertIn("stat_init", lines)

    def test_no_library_anywhere_the_install_completes_and_the_log_says_false(self):
        offset = self.log_size()
        self.install()
        self.assertEqual(self.records(), ([], []))
        log = self.init_log_lines(offset)
        self.assertEqual(len(log), 1, log)
        self.assertTrue(log[0].endswith("QMStatModule Init:false"), log[0])

    def test_without_an_install_folder_nothing_is_installed_and_no_library_is_loaded(self):
        # Without an install folder a silent install installs nothing, and a
        # library in the current folder, where a bare "rkstat.dll" would be
        # looked for, stays unloaded.
        current = os.path.join(self.scratch, "current")
        os.makedirs(current)
        self.place_library(current)
        offset = self.log_size()
        result = neb.run(self.program, ["/InstallSlience", "true"], cwd=current,
                         NEB_TEST_NO_INSTALL_PATH="1", NEB_STAT_RECORD=neb.windows_path(self.record))
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.records(), ([], []))
        lines = self.log_lines_since(offset)
        self.assertEqual(self.init_log_lines(offset), [])
        self.assertTrue(any("install folder refused" in line for line in lines), lines)

if __name__ == "__main__":
    unittest.main()
