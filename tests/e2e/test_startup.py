"""Start-up of the installer under Wine: the silent install, the single
instance, the command-line switches that become script globals, script
failures and the exit code."""
import os
import re
import time
import unittest

import pytest

import neb

DEFAULT_MUTEX = "Global\\{1CF5C34D-F0D8-4507-8600-70E64159BB61}"
FALLBACK_LISTENER = "Global\\{C81DE3C6-FDA4-4458-9718-1F6946117266}"
DIALOG_CLASS = "CDlgInstall"
ALL_EVENTS = ["event BeforeInit", "event BeforeInstall", "event OnInstall",
              "event BeforeComplete", "event AfterComplete"]


class InstallerCase(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _scratch(self, tmp_path):
        self.scratch = str(tmp_path)

    def setUp(self):
        self.trail_path = os.path.join(self.scratch, "trail.txt")

    def installer(self, variant="trail_installer", name="setup.exe"):
        return neb.stage(neb.build_path("tests", "e2e", variant + ".exe"), name)

    def run_installer(self, args=(), variant="trail_installer", name="setup.exe", **extra_env):
        extra_env.setdefault("NEB_TEST_TRAIL", neb.windows_path(self.trail_path))
        return neb.run(self.installer(variant, name), args, **extra_env)

    def run_interactive(self, args=(), variant="trail_installer", name="setup.exe", **extra_env):
        """Runs the installer where it shows its dialog and closes the dialog
        once shown; the result, and whether a dialog was there to close."""
        extra_env.setdefault("NEB_TEST_TRAIL", neb.windows_path(self.trail_path))
        process = neb.start(self.installer(variant, name), args, **extra_env)
        shown = neb.close_window(DIALOG_CLASS)
        if not shown:
            process.kill()
        return neb.finish(process), shown

    def clear_trail(self):
        if os.path.exists(self.trail_path):
            os.remove(self.trail_path)

    def trail(self, path=None):
        path = path or self.trail_path
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return f.read().splitlines()

    def events(self, path=None):
        return [line for line in self.trail(path) if line.startswith("event ")]

    def globals(self):
        return dict(line.split("=", 1) for line in self.trail() if "=" in line)


class SilentInstallTest(InstallerCase):
    def test_fires_the_five_events_in_order_and_tells_the_listening_window(self):
        listener = neb.ListenWindow()
        try:
            result = self.run_installer(["/InstallSlience", "true",
                                         "/InstallListenWnd", str(listener.handle)])
            received = listener.received()
        finally:
            listener.close()
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.events(), ALL_EVENTS)
        self.assertEqual([line for line in self.trail() if line.startswith("thread ")], [],
                         "events ran off the main thread")
        self.assertEqual(received, ["received 3014 wparam=0 lparam=0 sender-blocked=1"])
        self.assertEqual(result.debug, [
            "qd  szObjectName = %s145 " % DEFAULT_MUTEX,
            "qd global_ss_install==true ~!\r\n",
            "qd start ss install!",
        ])
        self.assertEqual(self.globals()["global_ss_install"], "true")
        self.assertEqual(self.globals()["InstallPath"], "C:\\Program Files\\Lumetrica")

    def test_a_listening_window_that_is_gone_is_replaced_by_the_well_known_listener(self):
        listener = neb.ListenWindow(window_class=FALLBACK_LISTENER)
        try:
            dead_handle = 0x7FFFFFF0
            result = self.run_installer(["/InstallSlience", "true", "/InstallListenWnd", str(dead_handle)])
            received = listener.received()
        finally:
            listener.close()
        self.assertEqual(result.returncode, 0)
        self.assertEqual(received, ["received 3014 wparam=0 lparam=0 sender-blocked=1"])

    def test_a_listening_window_that_hangs_does_not_hold_the_installer(self):
        """Before: the message was sent without a time limit, and the
        installer waited as long as the listener hung (here ten minutes,
        beyond the run's limit of two)."""
        listener = neb.ListenWindow(hang=600)
        try:
            result = self.run_installer(["/InstallSlience", "true", "/InstallListenWnd", str(listener.handle)])
            received = listener.next_line()
        finally:
            listener.close()
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.events(), ALL_EVENTS)
        self.assertEqual(received, "received 3014 wparam=0 lparam=0 sender-blocked=1")
        self.assertIn("qd the listening window did not answer UM_INSTALL_DONE\r\n", result.debug)

    def test_no_listening_window_for_zero_or_a_non_number(self):
        listener = neb.ListenWindow(window_class=FALLBACK_LISTENER, seconds=3)
        try:
            for value in ["0", "none"]:
                with self.subTest(value=value):
                    result = self.run_installer(["/InstallSlience", "true", "/InstallListenWnd", value])
                    self.assertEqual(result.returncode, 0)
            received = listener.received()
        finally:
            listener.close()
        self.assertEqual(received, [])

    def test_the_script_may_ask_for_the_silent_install(self):
        result = self.run_installer(NEB_TEST_SCRIPT_SILENT="1")
        self.assertEqual(self.events(), ALL_EVENTS)
        self.assertIn("qd start ss install!", result.debug)

    def test_schedules_its_own_file_and_the_log_for_removal_at_restart(self):
        program = self.installer()
        neb.run(program, ["/InstallSlience", "true"])
        pending = neb.reg_query("HKLM\\System\\CurrentControlSet\\Control\\Session Manager",
                                "PendingFileRenameOperations") or ""
        self.assertIn("\\??\\" + neb.c_drive_path(program), pending)
        self.assertIn("LumetricaClientInstall.log", pending)

    def test_a_program_named_with_ung_prepares_the_per_user_data_folder(self):
        folder = neb.user_folder("AppData", "Local", "Lumetrica")
        for name, expected in [("setup.exe", False), ("setup@ung.exe", True)]:
            with self.subTest(name=name):
                if os.path.isdir(folder):
                    os.rmdir(folder)
                self.run_installer(["/InstallSlience", "true"], name=name,
                                   NEB_TEST_SKIP="BeforeComplete")
                self.assertEqual(os.path.isdir(folder), expected)


class ScriptLogTest(InstallerCase):
    def test_lua_logout_writes_the_debug_line_and_a_log_line_of_the_script_engine(self):
        marker = "script says %d" % os.getpid()
        result = self.run_installer(["/InstallSlience", "true"], NEB_TEST_LOGOUT=marker)
        self.assertIn("qd " + marker, result.debug)
        today = time.strftime("%Y-%m-%d")
        log_path = neb.user_folder("Temp", "LumetricaClientInstall_%s.log" % today)
        with open(log_path, encoding="utf-8", errors="replace") as f:
            lines = [line for line in f.read().splitlines() if marker in line]
        self.assertEqual(len(lines), 1, lines)
        self.assertRegex(lines[0], r"^\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}\] \[info\] \[\d+\] "
                                   r"\[nebscriptengine Lua_Logout: \d+\] log:" + re.escape(marker) + "$")


class SwitchesTest(InstallerCase):
    def test_install_folder_from_the_command_line(self):
        cases = [
            (["/InstallPath", "D:\\Apps"], "D:\\Apps\\Lumetrica"),
            (["/InstallPath", "D:\\Apps\\Lumetrica"], "D:\\Apps\\Lumetrica"),
            (["/InstallPath", "D:\\Apps\\lumetrica"], "D:\\Apps\\lumetrica\\Lumetrica"),
            (["/InstallPath", "D:\\My Apps"], "D:\\My Apps\\Lumetrica"),
            (["/installpath", "D:\\Apps"], "C:\\Program Files\\Lumetrica"),
            (["/InstallPath"], "C:\\Program Files\\Lumetrica"),
        ]
        # The silent install makes its folder first: drive D: is there.
        with neb.mapped_drive("D", self.scratch):
            for args, expected in cases:
                with self.subTest(args=args):
                    self.clear_trail()
                    self.run_installer(["/InstallSlience", "true", *args])
                    self.assertEqual(self.globals()["global_install_path"], expected)
                    self.assertEqual(self.globals()["InstallPath"], expected)

    def test_start_with_windows_only_for_the_value_one(self):
        for value, expected in [("1", "true"), (" +1", "true"), ("0", "nil"), ("yes", "nil")]:
            with self.subTest(value=value):
                self.clear_trail()
                self.run_installer(["/InstallSlience", "true", "/InstallNormalLumetrica", value])
                self.assertEqual(self.globals()["ShouldStartWithWindowsChk"], expected)

    def test_only_the_exact_value_true_selects_the_silent_install(self):
        for value in ["yes", "True", ""]:
            with self.subTest(value=value):
                self.clear_trail()
                result, shown = self.run_interactive(["/InstallSlience", value] if value else ["/InstallSlience"])
                self.assertTrue(shown, "no dialog")
                self.assertEqual(result.returncode, 0)
                self.assertEqual(self.events(), ["event BeforeInit"])


class SingleInstanceTest(InstallerCase):
    def hold_first_instance(self, **extra_env):
        hold = os.path.join(self.scratch, "hold")
        open(hold, "w").close()
        first_trail = os.path.join(self.scratch, "first.txt")
        first = neb.start(self.installer(), [], NEB_TEST_HOLD=neb.windows_path(hold),
                          NEB_TEST_TRAIL=neb.windows_path(first_trail), **extra_env)
        self.addCleanup(lambda: first.poll() is None and first.kill())
        self.assertTrue(neb.wait_for_file(hold + ".held"), "the first instance never started")
        return hold, first

    def release(self, hold, first):
        os.remove(hold)
        self.assertTrue(neb.close_window(DIALOG_CLASS), "the first instance showed no dialog")
        self.assertEqual(neb.finish(first).returncode, 0)

    def test_a_second_instance_without_the_silent_switch_ends_at_once(self):
        hold, first = self.hold_first_instance()
        second = self.run_installer([])
        self.release(hold, first)
        self.assertEqual(second.returncode, 0)
        self.assertEqual(self.events(), [])
        self.assertEqual(second.debug[-1], "qd CreateAppInstance return true")

    def test_any_silent_switch_value_lets_the_second_instance_go_on(self):
        hold, first = self.hold_first_instance()
        second, shown = self.run_interactive(["/InstallSlience", "yes"])
        self.release(hold, first)
        self.assertTrue(shown, "the second instance showed no dialog")
        self.assertEqual(self.events(), ["event BeforeInit"])
        self.assertNotIn("qd CreateAppInstance return true", second.debug)

    def test_the_scripts_mutex_name_is_used_alone(self):
        name = "Local\\NEBTestMutex%d" % os.getpid()
        hold, first = self.hold_first_instance(NEB_TEST_MUTEX=name)
        _, other_shown = self.run_interactive([])  # default name: not held, so it runs
        same_name = self.run_installer([], NEB_TEST_MUTEX=name)
        self.release(hold, first)
        self.assertIn("qd  szObjectName = %s " % name, same_name.debug)
        self.assertEqual(same_name.debug[-1], "qd CreateAppInstance return true")
        self.assertTrue(other_shown, "the instance under the default name showed no dialog")

    def test_an_app_id_of_zero_gives_the_bare_default_name(self):
        result, _ = self.run_interactive([], NEB_TEST_APP_ID="0")
        self.assertEqual(result.debug[0], "qd  szObjectName = %s " % DEFAULT_MUTEX)


class ScriptFailureTest(InstallerCase):
    def test_a_script_error_shows_the_report_and_ends_the_process_with_zero(self):
        box = neb.BoxAnswer(neb.CASE_SCRIPT_ERROR)
        result = self.run_installer(["/InstallSlience", "true"], NEB_TEST_FAIL_IN="OnInstall")
        text = box.text()
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.events(), ["event BeforeInit", "event BeforeInstall", "event OnInstall"])
        self.assertIsNotNone(text, "no error box appeared")
        lines = text.split("\n")
        # Stripped chunks carry no names, so the library calls the global a field.
        self.assertIn("attempt to call field 'Lua_HttpPost' (a nil value)", lines[0])
        self.assertEqual(lines[1], "      <call stack>")
        self.assertTrue(lines[2].startswith("-> | "), lines[2])
        self.assertTrue(all(line.startswith("--  | ") for line in lines[3:-1]), lines)
        self.assertEqual(lines[-1], "请向我们反馈以上错误信息，以便我们改善产品质量！")

    def test_a_global_read_or_event_that_raises_ends_in_the_report(self):
        # The program reads these globals, and looks the event up, from
        # native code; a strict metatable on _G makes each read raise.
        for name in ["global_install_mutex_guid", "global_app_id", "NEBSE_BeforeInit"]:
            with self.subTest(name=name):
                box = neb.BoxAnswer(neb.CASE_SCRIPT_ERROR)
                result = self.run_installer(["/InstallSlience", "true"], NEB_TEST_STRICT=name)
                text = box.text()
                self.assertEqual(result.returncode, 0, result.stderr[-3000:])
                self.assertIsNotNone(text, "no error box appeared")
                self.assertIn("strict: no global " + name, text.split("\n")[0])
                self.assertEqual(self.events(), [])

    def test_a_script_that_does_not_load_ends_the_run_without_a_box(self):
        for variant, script in [("broken_global_installer", "GLOBAL_VAR.LUAC"),
                                ("broken_install_installer", "INSTSCRIPT.LUAC")]:
            with self.subTest(script=script):
                box = neb.BoxAnswer(neb.CASE_SCRIPT_ERROR, seconds=5)
                result = self.run_installer(["/InstallSlience", "true"], variant=variant)
                self.assertEqual(result.returncode, 0, result.stderr[-3000:])
                self.assertIsNone(box.text(), "a box was shown")
                self.assertEqual(self.events(), [])
                self.assertEqual(result.debug[-2:], ["qd luaL_loadbuffer failed!\r\n",
                                                     "qd DoResLua failed, %s" % script])


if __name__ == "__main__":
    unittest.main()
