"""The elevated installer and uninstaller touch nothing outside what they
own: a link planted in the install folder, a drive root as the folder, a
folder of a user's files, an uninstall of a folder that is not the
product's alone (also by the uninstall script run directly), the rights of
the install folder and the service's account, a process that cannot be
ended. Each case is the attack or the input itself, run through the real
programs."""
import os
import re
import shutil
import subprocess

import pytest

import neb
import product
from product_cases import FOLDER, SILENT, ProductCase, UninstallCase, pending_deletions

INSTALL_CAPTION = "Lumetrica - 安装"
EXTRACTION_FAILED = "释放文件时出现错误，安装程序将终止！"
SERVICE_KEY = "HKLM\\System\\CurrentControlSet\\Services\\LumetricaServer"
# The uninstall script run directly, as a product team's tool might, with no
# uninstaller to set the install folder: the settings chunk, the uninstall
# chunk, then its events.
DIRECT_UNINSTALL = """
assert(loadfile(arg[1]))()
assert(loadfile(arg[2]))()
NEBSE_BeforeInit()
NEBSE_OnUninstall()
NEBSE_AfterUnintall()
print("uninstalled")
"""


def c_drive(*parts):
    return os.path.join(neb.PREFIX, "drive_c", *parts)


class TestInstallFolder(ProductCase):
    @pytest.fixture(autouse=True)
    def _c_work(self, c_drive_tmp_path):
        self.c_work = c_drive_tmp_path

    def test_a_link_planted_in_the_install_folder_moves_nothing_from_outside(self):
        """Before: the extraction refused the link and handed its path to the
        shipped callback, whose move followed the link and put the outside
        file into the work folder, scheduled for deletion at restart."""
        self.install()
        outside = os.path.join(self.c_work, "outside")
        os.makedirs(outside)
        secret = os.path.join(outside, "system.dll")
        with open(secret, "wb") as f:
            f.write(b"a system file")
        planted = product.unix_path(FOLDER + "\\hostaid.dll")
        os.remove(planted)
        os.symlink(secret, planted)
        self.addCleanup(lambda: os.path.islink(planted) and os.remove(planted))
        box = neb.BoxAnswer(INSTALL_CAPTION)
        self.addCleanup(box.close)
        result = self.install()
        self.assertEqual(box.text(), EXTRACTION_FAILED)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(os.listdir(outside), ["system.dll"])
        with open(secret, "rb") as f:
            self.assertEqual(f.read(), b"a system file")
        self.assertNotIn("system.dll", pending_deletions())
        # The callback's line: an empty path, then the code (the log is in
        # the ANSI code page, so only the code is compared).
        self.assertTrue(any(line.startswith("  ") and line.endswith(":1920") for line in result.script_log),
                        result.script_log)

    def test_a_drive_root_on_the_command_line_installs_into_the_base_folder_under_it(self):
        """Before: "C:\\" spread the product over the drive's root."""
        root_before = set(os.listdir(c_drive()))
        base = c_drive("Orrinthwake")
        self.addCleanup(shutil.rmtree, base, ignore_errors=True)
        self.addCleanup(product.remove_service, base)
        result = self.install(["-path=C:\\"] + SILENT)
        self.assertEqual(result.returncode, 0)
        added = {name for name in set(os.listdir(c_drive())) - root_before if not name.startswith("neb-")}
        self.assertEqual(added, {"Orrinthwake"}, "the test's own folders (neb-*) aside")
        self.assertTrue(os.path.exists(os.path.join(base, "Lumetrica.exe")))
        self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), "C:\\Orrinthwake")

    def test_well_known_and_occupied_folders_are_not_installed_into(self):
        """Before: any existing folder was taken, and the uninstall later
        deleted it whole."""
        users_files = c_drive("Stuff")
        os.makedirs(users_files, exist_ok=True)
        self.addCleanup(shutil.rmtree, users_files, ignore_errors=True)
        with open(os.path.join(users_files, "letter.txt"), "w") as f:
            f.write("mine")
        for folder in ["C:\\Stuff", "C:\\Program Files", "C:\\windows\\system32\\Lumetrica"]:
            with self.subTest(folder=folder):
                result = self.install(["-path=" + folder] + SILENT)
                self.assertEqual(result.returncode, 0)
                self.assertNotIn("NEBSE_OnInstall_1", result.script_log)
                self.assertIsNone(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"))
        self.assertEqual(os.listdir(users_files), ["letter.txt"])
        self.assertFalse(os.path.exists(c_drive("windows", "system32", "Lumetrica")))

    def test_programs_keep_the_folders_rights_and_the_service_runs_as_local_service(self):
        """Before: Users got modify rights on the whole install folder, where
        the service's program runs as LocalSystem. Wine keeps a folder's
        rights as its Unix mode (the group and everybody bits), which is
        what is read back here besides the API's answer."""
        self.install()
        folder = product.unix_path(FOLDER)
        data = os.path.join(folder, "Data")
        self.assertEqual(os.stat(folder).st_mode & 0o022, 0, "nobody else may write the install folder")
        self.assertEqual(os.stat(os.path.join(folder, "LumetricaServer.exe")).st_mode & 0o022, 0)
        self.assertNotEqual(os.stat(data).st_mode & 0o022, 0, "users may write the data folder")
        self.assertEqual(neb.reg_query(SERVICE_KEY, "ObjectName"), "NT AUTHORITY\\LocalService")


class TestRecordedUninstall(UninstallCase):
    def test_a_folder_that_is_not_the_products_alone_keeps_what_the_install_did_not_write(self):
        """The Apps entry names another folder: the install folder no longer
        carries the product's marks, so only what the install recorded goes,
        and a user's file in it stays."""
        self.install(SILENT)
        folder = product.unix_path(FOLDER)
        with open(os.path.join(folder, "my notes.txt"), "w") as f:
            f.write("mine")
        neb.reg("add", "HKLM\\" + product.UNINSTALL_KEY, "/v", "InstallLocation", "/d", "C:\\Elsewhere", "/f")
        result = self.uninstall(["/S"])
        self.assertEqual(result.exit_code, 0)
        self.assertTrue(result.tree_ended)
        self.assertEqual(self.installed_files(), ["my notes.txt"])

    def test_the_products_own_folder_is_removed_whole(self):
        self.install(SILENT)
        result = self.uninstall(["/S"])
        self.assertEqual(result.exit_code, 0)
        self.assertEqual(self.installed_files(), [])


class TestDirectUninstall(ProductCase):
    def test_an_install_location_naming_a_folder_of_other_files_keeps_them(self):
        """Run directly, the uninstall script takes the Apps entry's
        "InstallLocation": here a folder of a user's files that also holds
        the product's support library (the script loads it from there).
        Before: the folder was deleted whole, and scheduled for deletion at
        the next restart."""
        games = c_drive("Games")
        os.makedirs(os.path.join(games, "saves"))
        self.addCleanup(shutil.rmtree, games, ignore_errors=True)
        for name, text in [("readme.txt", "my game"), (os.path.join("saves", "slot1.dat"), "level 7")]:
            with open(os.path.join(games, name), "w") as f:
                f.write(text)
        shutil.copy(neb.build_path("product", "payload", "hostaid.dll"), games)
        before = product.installed_tree(games)
        neb.reg("add", "HKLM\\" + product.UNINSTALL_KEY, "/v", "InstallLocation", "/d", "C:\\Games", "/f")
        chunks = []
        for name in ["GLOBAL_VAR.LUAC", "UNINSTSCRIPT.LUAC"]:
            chunks.append(os.path.join(self.work, name))
            with open(chunks[-1], "wb") as f:
                f.write(product.chunk(name, self.VARIANT))
        result = neb.run_lua(DIRECT_UNINSTALL, [neb.windows_path(path) for path in chunks])
        self.assertIn("uninstalled", result.stdout, result.stderr[-2000:])
        self.assertFalse(neb.reg_key_exists("HKLM\\" + product.UNINSTALL_KEY), "the uninstall did not run")
        self.assertEqual(product.installed_tree(games), before)
        self.assertNotIn("c:\\games", pending_deletions())


class TestUnkillableProcess(UninstallCase):
    """A process of the product's names that refuses to be ended: its rights
    let nobody end it, as a process of another account or a protected one
    would. Before: the scripts' loops tried to end it for ever."""

    @pytest.fixture(autouse=True)
    def _c_work(self, c_drive_tmp_path):
        self.c_work = c_drive_tmp_path

    def guarded_process(self, name):
        folder = os.path.join(self.c_work, "guarded", name)
        os.makedirs(folder)
        program = os.path.join(folder, name)
        shutil.copy(neb.build_path("tests", "helpers", "guarded_process.exe"), program)
        process = neb.start(program, stdin=subprocess.PIPE)
        self.addCleanup(process.communicate, "end\n", 60)
        self.assertEqual(process.stdout.readline().strip(), "guarded")

    def stayed(self, log, name):
        return [line for line in log if re.fullmatch(r"process \d+ \(%s\) could not be ended" % re.escape(name), line)]

    def test_the_install_and_the_uninstall_go_on_past_a_process_that_cannot_be_ended(self):
        self.guarded_process("LumetricaServer.exe")
        self.guarded_process("Lumetrica.exe")
        installed = self.install(SILENT)
        self.assertEqual(installed.returncode, 0)
        self.assertIn("NEBSE_OnInstall_17", installed.script_log)
        self.assertEqual(len(self.stayed(installed.script_log, "LumetricaServer.exe")), 1, installed.script_log)
        self.assertEqual(product.service_state(), "running")

        result = self.uninstall(["/S"])
        self.assertEqual(result.exit_code, 0)
        self.assertTrue(result.tree_ended)
        # The service's program is ended beside the one that stays.
        self.assertEqual(len(self.stayed(result.script_log, "LumetricaServer.exe")), 1, result.script_log)
        self.assertEqual(len(self.stayed(result.script_log, "Lumetrica.exe")), 2, result.script_log)
        self.assertNothingOfTheProductRemains()
