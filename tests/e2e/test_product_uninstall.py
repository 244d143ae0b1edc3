"""The product's uninstaller (Uninstall.exe in the install folder) running
the shipped uninstall script under Wine, after a silent install by the
collector installer: silent and interactive uninstalls, a file in use, the
user data folder, the reports and the reason at the local collector, a
missing statistics library, installing again, and damaged uninstall
scripts. Every check reads the system back."""
import json
import os
import re

import pytest

import neb
import product
from product_cases import (FOLDER, SILENT as SILENT_INSTALL, VARIANTS, SharedInstallCase, UninstallCase,
                           UninstallChecks, pending_deletions, temporary_copies)

CAPTION = "Lumetrica - 卸载"
CONFIRM_TEXT = "确定要从这台电脑上卸载 Lumetrica 吗？"
DONE_TEXT = "Lumetrica 已从这台电脑上卸载。"


def box_text(box):
    """The box's text with each line break once (the helper's output may
    double the carriage return)."""
    text = box.text()
    return None if text is None else re.sub(r"\n+", "\n", text)


def split_command(command):
    """The program and the arguments of a command line whose program is
    quoted."""
    match = re.fullmatch(r'"([^"]+)"\s*(.*)', command)
    return match.group(1), match.group(2).split()


def refused_text(path):
    return ("卸载所需的文件缺失或已损坏：\n" + path +
            "\n卸载没有进行，没有删除任何文件。请重新安装 Lumetrica 后再卸载。")


@VARIANTS
class TestUninstall(UninstallCase):
    def test_silent_and_interactive_uninstall_remove_the_product(self):
        for mode in ["silent", "interactive"]:
            with self.subTest(mode=mode):
                self.reset_system()
                self.install(SILENT_INSTALL)
                neb.reg("add", product.APPROVED_RUN_KEY, "/v", "Lumetrica", "/t", "REG_BINARY", "/d", "02", "/f")
                self.fresh_collector()
                if mode == "silent":
                    no_box = neb.BoxAnswer(CAPTION, seconds=40)
                    self.addCleanup(no_box.close)
                    # The Apps entry's quiet command, as package managers run it.
                    program, args = split_command(
                        product.record("HKLM", product.UNINSTALL_KEY, "QuietUninstallString"))
                    self.assertEqual((program, args), (FOLDER + "\\Uninstall.exe", ["/S"]))
                    result = self.uninstall(args)
                    self.assertIsNone(no_box.text_if_shown())
                    self.assertRegex(result.log[-1], r"\] exit code 0$")
                else:
                    confirm = neb.BoxAnswer(CAPTION, button="yes")
                    self.addCleanup(confirm.close)
                    running = neb.start(neb.build_path("tests", "helpers", "run_tree.exe"),
                                        ["180", FOLDER + "\\Uninstall.exe"], **product.collector_env(self.collector))
                    self.assertEqual(confirm.text(), CONFIRM_TEXT)
                    self.assertEqual(confirm.buttons(), [6, 7])
                    done = neb.BoxAnswer(CAPTION)
                    self.addCleanup(done.close)
                    self.assertEqual(done.text(), DONE_TEXT)
                    result = neb.finish(running, timeout=200)
                    result.exit_code = 0 if "exit 0" in result.stdout else None
                    result.tree_ended = "tree ended" in result.stdout
                self.assertEqual(result.exit_code, 0, result.stdout)
                self.assertTrue(result.tree_ended)
                self.assertNothingOfTheProductRemains()
                self.assertTrue(temporary_copies())

                udp, http = self.uninstall_reports(2)
                self.assertEqual(len(udp), 1, udp)
                self.assertIn('"event":"install"', udp[0])
                self.assertIn('"type":2}', udp[0])
                self.assertEqual([path for path, _ in http], ["/api/UnInstallStat"])

    def test_the_script_logs_its_steps_in_order(self):
        self.install(SILENT_INSTALL)
        result = self.uninstall()
        log = result.script_log
        self.assertEqual(log[0], "script_version:1.0.2.55")
        self.assertEqual(log[1], "union_id:27028")
        # The running service's program is ended before it removes the service.
        service_kills = log[3:log.index("pid:-1")]
        self.assertTrue(service_kills)
        for line in service_kills:
            self.assertRegex(line, r"^pid:\d+$")
        for earlier, later in [("stat_install_addr 127.0.0.1:%d" % self.collector.udp_port, "pid:-1"),
                               ("Updates pid:-1", "HKLM\\" + product.PRODUCT_KEY),
                               ("HKLM\\" + product.PRODUCT_KEY, "HKCU\\" + product.PRODUCT_KEY),
                               ("HKCU\\" + product.PRODUCT_KEY, "HKLM\\" + product.UNINSTALL_KEY),
                               ("HKLM\\" + product.UNINSTALL_KEY, "http://127.0.0.1:%d/api/UnInstallStat"
                                % self.collector.http_port),
                               ("http://127.0.0.1:%d/api/UnInstallStat" % self.collector.http_port,
                                "-----install----")]:
            with self.subTest(earlier=earlier, later=later):
                self.assertLess(log.index(earlier), log.index(later))
        self.assertNotIn("-----NEBSE_FeedBack----", log)

    def test_the_interactive_uninstall_asks_first(self):
        self.install(SILENT_INSTALL)
        files = self.installed_files()
        self.fresh_collector()
        confirm = neb.BoxAnswer(CAPTION, button="no")
        self.addCleanup(confirm.close)
        result = self.uninstall([])
        self.assertEqual(confirm.text(), CONFIRM_TEXT)
        self.assertEqual(result.exit_code, 2)
        self.assertEverythingInstalledRemains(files)
        self.assertEqual(self.collector.received(1, timeout=2), [])

    def test_a_running_product_is_ended(self):
        self.install(SILENT_INSTALL)
        running = neb.start(product.unix_path(FOLDER + "\\Lumetrica.exe"), ["/menu"])
        self.addCleanup(running.kill)
        neb.wait_until(product.product_events)
        result = self.uninstall()
        self.assertEqual(result.exit_code, 0)
        running.wait(timeout=30)
        self.assertNothingOfTheProductRemains()


class TestExitCodes(UninstallCase):
    def test_a_script_error_part_way_is_told_by_the_exit_code(self):
        # Without the support library the uninstall script fails in
        # NEBSE_OnUninstall, after it has ended the product's service.
        cases = [
            # arguments, the script error's box shown
            (["/S"], False),
            ([], True),
        ]
        for args, box_shown in cases:
            with self.subTest(args=args):
                self.reset_system()
                self.install(SILENT_INSTALL)
                os.remove(product.unix_path(FOLDER + "\\hostaid.dll"))
                confirm = neb.BoxAnswer(CAPTION, button="yes", seconds=60 if box_shown else 20)
                self.addCleanup(confirm.close)
                error_box = neb.BoxAnswer(neb.CASE_SCRIPT_ERROR, seconds=60 if box_shown else 20)
                self.addCleanup(error_box.close)
                result = self.uninstall(args)
                self.assertEqual(result.exit_code, 4, result.stdout)
                self.assertTrue(result.tree_ended)
                # The shipped chunks carry no names: the error is the Lua one.
                if box_shown:
                    self.assertIn("attempt to index", error_box.text())
                else:
                    self.assertIsNone(confirm.text_if_shown())
                    self.assertIsNone(error_box.text_if_shown())
                errors = [line for line in result.log if "script error: " in line]
                self.assertEqual(len(errors), 1, result.log)
                self.assertIn("attempt to index", errors[0])
                self.assertRegex(result.log[-1], r"\] exit code 4$")
                # The copy goes at the next restart, as after any uninstall.
                for copy in temporary_copies():
                    self.assertIn(copy.lower(), pending_deletions())
                # The Apps entry stays: the uninstall can be run again.
                self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), FOLDER)


class LoadedLibrary:
    """Keeps a library loaded in another process (lua/hold_library.lua), the
    way a running program holds its files: the file cannot be deleted, only
    renamed. `folder` holds its flag file."""

    def __init__(self, windows_path, folder):
        self.flag = os.path.join(folder, "held.flag")
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lua", "hold_library.lua")
        self.process = neb.start(neb.build_path("tools", "nebscript", "nebscript.exe"),
                                 [neb.windows_path(script), windows_path, neb.windows_path(self.flag)])
        if self.process.stdout.readline().strip() != "held":
            self.release()
            raise RuntimeError("the library did not load: " + windows_path)

    def release(self):
        if os.path.exists(self.flag):
            os.remove(self.flag)
        self.process.communicate(timeout=60)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()


class TestFileInUse(UninstallCase):
    def test_files_in_use_are_deleted_at_restart_and_the_rest_now(self):
        cases = [
            # file, how it is held, moved aside
            ("hostaid.dll", lambda path: LoadedLibrary(path, self.work), True),
            ("readme.txt", lambda path: neb.HeldFile(path, exclusive=True), False),
        ]
        for name, hold, moved in cases:
            with self.subTest(file=name):
                self.reset_system()
                self.install(SILENT_INSTALL)
                held = FOLDER + "\\" + name
                with hold(held):
                    result = self.uninstall()
                self.assertEqual(result.exit_code, 0)
                failed = [line for line in result.script_log if "delete file failed" in line]
                self.assertEqual(failed, [held + "  delete file failed:%d" % (5 if moved else 32)])
                aside = result.script_log[result.script_log.index(failed[0]) + 1]
                # The system keeps three letters of a temporary name's prefix.
                self.assertRegex(aside, r"\\Tqm")
                self.assertEqual(self.installed_files(), [] if moved else [name])
                self.assertIn((aside if moved else held).lower(), pending_deletions())
                folder = product.unix_path(FOLDER)
                self.assertTrue(not os.path.exists(folder) or FOLDER.lower() in pending_deletions())


class TestUserData(UninstallCase):
    def test_clear_user_data(self):
        user_data = neb.user_folder("AppData", "Local", "Lumetrica")
        for args, kept in [(["/S"], True), (["/S", "/ClearUserData"], False)]:
            with self.subTest(args=args):
                self.reset_system()
                self.install(SILENT_INSTALL)
                os.makedirs(user_data, exist_ok=True)
                with open(os.path.join(user_data, "settings.ini"), "w") as f:
                    f.write("[view]\n")
                result = self.uninstall(args)
                self.assertEqual(result.exit_code, 0)
                self.assertEqual(os.path.exists(os.path.join(user_data, "settings.ini")), kept)
                self.assertNothingOfTheProductRemains()


@VARIANTS
class TestReports(UninstallCase):
    def test_the_reason_reaches_the_collector(self):
        self.install(SILENT_INSTALL)
        self.fresh_collector()
        suggestion = 'too slow/r/n at start,\tsay "fix"\\please'
        result = self.uninstall(["/S", "/reason:3,7", "/suggest:" + suggestion, "/contact: me@example.org "])
        self.assertEqual(result.exit_code, 0)
        self.assertIn("-----NEBSE_FeedBack----", result.script_log)
        udp, http = self.uninstall_reports(4)
        self.assertEqual(len(udp), 2, udp)
        self.assertEqual([path for path, _ in http], ["/api/UnInstallStat", "/feedback/api/v1/feedback/add"])
        body = http[1][1]
        self.assertEqual(body, '{"come_from":32772, "content_ids":"3,7", '
                               '"uninstsuggest":"tooslowatstart,say\\u0022fix\\u0022\\u005cplease",'
                               '"contact":"me@example.org"}')
        self.assertEqual(json.loads(body)["uninstsuggest"], 'tooslowatstart,say"fix"\\please')
        self.assertNothingOfTheProductRemains()

    def test_without_the_statistics_library_the_uninstall_completes(self):
        self.install(SILENT_INSTALL)
        os.remove(product.unix_path(FOLDER + "\\rkstat.dll"))
        self.fresh_collector()
        result = self.uninstall(["/S", "/reason:1", "/suggest:x", "/contact:y"])
        self.assertEqual(result.exit_code, 0)
        self.assertIn("-----install----", result.script_log)
        self.assertNothingOfTheProductRemains()
        self.assertEqual(self.collector.received(1, timeout=3), [])


class TestReinstall(UninstallCase):
    def test_installing_again_is_a_fresh_install(self):
        self.install(["-uid=300"] + SILENT_INSTALL)
        self.assertEqual(self.uninstall().exit_code, 0)
        self.fresh_collector()
        result = self.install(SILENT_INSTALL)
        self.assertEqual(result.returncode, 0)
        self.assertNotIn("cover install!!!", result.script_log)
        self.assertEqual(product.record("HKCU", product.PRODUCT_KEY, "UnionId"), hex(27028))
        udp, _ = self.uninstall_reports(2)
        self.assertEqual(len(udp), 1)
        self.assertIn('"type":1}', udp[0])
        self.assertEqual(product.service_state(), "running")


DAMAGE_CASES = [
    # file, damage, arguments
    ("Uninst.dar1", "truncated", []),
    ("Uninst.dar1", "text", []),
    ("Uninst.dar1", "another script", []),
    ("Uninst.dar1", "missing", []),
    ("Uninst.dar0", "empty", []),
    ("Uninst.dar1", "truncated", ["/S"]),
]


class TestDamagedScripts(UninstallChecks, SharedInstallCase):
    """Uninstalls refused for a damaged file: each test checks that the
    install is whole afterwards and puts the file back, so one install
    serves them all."""

    def damage(self, name, how):
        """Damages the file; the file is whole again after the test."""
        path = product.unix_path(FOLDER + "\\" + name)
        with open(path, "rb") as f:
            chunk = f.read()

        def restore():
            with open(path, "wb") as f:
                f.write(chunk)
        self.addCleanup(restore)
        if how == "missing":
            os.remove(path)
            return
        with open(path, "wb") as f:
            if how == "truncated":
                f.write(chunk[:len(chunk) // 2])
            elif how == "text":
                f.write(b"this is not a script (")
            elif how == "empty":
                pass
            elif how == "another script":
                f.write(b"uninstall_stages = {}\n")

    @pytest.mark.parametrize("name, how, args", DAMAGE_CASES)
    def test_damaged_uninstall_files_refuse_with_nothing_deleted(self, name, how, args):
        self.damage(name, how)
        files = self.installed_files()
        copies = temporary_copies()
        box = neb.BoxAnswer(CAPTION, seconds=30 if args else 60)
        self.addCleanup(box.close)
        result = self.uninstall(args)
        path = FOLDER + "\\" + name
        if args:
            self.assertIsNone(box.text_if_shown())
            self.assertIn(path, "\n".join(result.log))
        else:
            self.assertEqual(box_text(box), refused_text(path))
        self.assertEqual(result.exit_code, 1)
        self.assertEverythingInstalledRemains(files)
        self.assertEqual(temporary_copies(), copies)
        self.assertEqual(self.collector.received(1, timeout=2), [])
