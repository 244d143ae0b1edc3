"""Shortcuts, shell execution and message boxes under Wine:
Lua_CreateShortcut (read back through the shell's link object by the
link_reader helper), Lua_Exec, Lua_ShellExec and Lua_ExplorerExec (starting
the exec_probe helper, which records how it was started) and Lua_MsgBox
(answered by the box_answer helper)."""
import os
import shutil
import unittest

import pytest

import neb

SW_HIDE = "0"
SW_SHOWNORMAL = "1"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
BUTTON_NAMES = {IDOK: "ok", IDCANCEL: "cancel", IDYES: "yes", IDNO: "no"}
MB_OKCANCEL, MB_YESNO = 1, 4
# The caption of the error boxes of Wine's shell (an unknown verb, a missing file).
WINE_SHELL_ERROR_CAPTION = "Error"


class ShellCase(unittest.TestCase):
    """Each test has a fresh folder on the prefix's C: drive holding a copy of exec_probe."""

    @pytest.fixture(autouse=True)
    def _folder(self, c_drive_tmp_path):
        self.folder = c_drive_tmp_path

    def setUp(self):
        self.folder_path = neb.c_drive_path(self.folder)
        self.probe = os.path.join(self.folder, "probe.exe")
        shutil.copy2(neb.build_path("tests", "helpers", "exec_probe.exe"), self.probe)
        self.probe_path = neb.c_drive_path(self.probe)
        self.record_file = self.probe + ".txt"

    def lua(self, body, **extra_env):
        """Runs the body with FOLDER and PROBE set; fails the test on a script error."""
        source = "local FOLDER = %s\nlocal PROBE = %s\n%s" % (
            neb.lua_string(self.folder_path), neb.lua_string(self.probe_path), body)
        result = neb.run_lua(source, **extra_env)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return result

    def record(self):
        """The probe's record as a dict, once it has been written."""
        self.assertTrue(neb.wait_for_file(self.record_file), "the probe did not run")
        with open(self.record_file, encoding="utf-8") as f:
            return dict(line.split("=", 1) for line in f.read().splitlines())

    def read_link(self, link_path):
        result = neb.run(neb.build_path("tests", "helpers", "link_reader.exe"), [link_path])
        self.assertEqual(result.returncode, 0, "link_reader could not read " + link_path)
        return dict(line.split("=", 1) for line in result.stdout.splitlines())


class CreateShortcutTest(ShellCase):
    def test_a_link_in_a_start_menu_folder_that_does_not_exist_yet(self):
        group = os.path.basename(self.folder)
        start_menu = neb.user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
        self.addCleanup(shutil.rmtree, os.path.join(start_menu, group), True)
        link = "%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\" + group + "\\Lumetrica.lnk"
        expanded_link = neb.c_drive_path(os.path.join(start_menu, group, "Lumetrica.lnk"))

        result = self.lua('print(Lua_CreateShortcut("%%NEB_PRODUCT%%\\\\probe.exe", %s, "-from start", "Lumetrica"))'
                          % neb.lua_string(link), NEB_PRODUCT=self.folder_path)

        self.assertEqual(result.stdout.splitlines(), ["true"])
        self.assertEqual(result.debug, ["qd Save Shortcut %s \r\n" % expanded_link])
        self.assertEqual(self.read_link(expanded_link), {
            "path": self.probe_path, "arguments": "-from start", "description": "Lumetrica",
            "folder": self.folder_path})

    def test_arguments_and_description_are_set_only_from_four_arguments_on(self):
        cases = [
            # the call's values after target and link, the link's arguments and description
            ('"-a"', "", ""),
            ('"-a", "About"', "-a", "About"),
            ('"-a", nil', "-a", ""),
            ('nil, "About"', "", "About"),
            ('"-a", "About", "surplus"', "-a", "About"),
            ("", "", ""),
        ]
        for number, (values, arguments, description) in enumerate(cases):
            with self.subTest(values=values):
                link = "%s\\case%d.lnk" % (self.folder_path, number)
                call = ", ".join(part for part in ["PROBE", neb.lua_string(link), values] if part)
                result = self.lua("print(Lua_CreateShortcut(%s))" % call)
                self.assertEqual(result.stdout.splitlines(), ["true"])
                fields = self.read_link(link)
                self.assertEqual((fields["arguments"], fields["description"]), (arguments, description))
                self.assertEqual((fields["path"], fields["folder"]), (self.probe_path, self.folder_path))

    def test_an_existing_link_is_replaced(self):
        link = self.folder_path + "\\again.lnk"
        self.lua('Lua_CreateShortcut(PROBE, %s, "-first", "")\n'
                 'print(Lua_CreateShortcut(PROBE, %s, "-second", ""))' % (neb.lua_string(link), neb.lua_string(link)))
        self.assertEqual(self.read_link(link)["arguments"], "-second")

    def test_a_web_address_becomes_an_internet_shortcut_as_it_is(self):
        url = "https://www.example.com/lumetrica?from=%TEMP%"
        link = self.folder_path + "\\web\\Lumetrica.url"
        result = self.lua("print(Lua_CreateShortcut(%s, %s, \"-a\", \"About\"))" % (neb.lua_string(url), neb.lua_string(link)))
        self.assertEqual(result.stdout.splitlines(), ["true"])
        self.assertEqual(result.debug, ["qd Save Shortcut %s \r\n" % link])
        with open(os.path.join(self.folder, "web", "Lumetrica.url"), encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
        self.assertIn("[InternetShortcut]", lines)
        self.assertIn("URL=" + url, lines)

    def test_a_link_that_cannot_be_saved_answers_false_with_a_trace(self):
        link = "Q:\\no drive\\Lumetrica.lnk"
        result = self.lua('print(Lua_CreateShortcut(PROBE, %s, "-a", "About"))' % neb.lua_string(link))
        self.assertEqual(result.stdout.splitlines(), ["false"])
        self.assertEqual(len(result.debug), 4, result.debug)
        self.assertEqual(result.debug[0], "qd Save %s failed!\r\n" % link)
        self.assertTrue(result.debug[1].startswith("qd qd file:"), result.debug[1])
        self.assertTrue(result.debug[1].endswith("shortcut_functions.cpp\r\n"), result.debug[1])
        self.assertRegex(result.debug[2], r"^qd qd line:\d+\r\n$")
        self.assertRegex(result.debug[3], r"^qd qd err:\d+\r\n$")


class ExecTest(ShellCase):
    def test_a_missing_file(self):
        missing = self.folder_path + "\\missing.exe"
        not_exists = "qd Fun:Lua_Exec, Description:%s it's not exists!\r\n" % missing
        cases = [
            # verb, answer, debug lines; unpinning a missing link succeeds, nothing else does
            ("nil", "false", [not_exists]),
            ('"open"', "false", [not_exists]),
            ('"taskbarunpin"', "true", []),
            ('"StartUnpin"', "true", []),
            ('"taskbarpin"', "false", [not_exists]),
        ]
        for verb, answer, lines in cases:
            with self.subTest(verb=verb):
                result = self.lua('print(Lua_Exec("%%NEB_FOLDER%%\\\\missing.exe", %s, "-x", true))' % verb,
                                  NEB_FOLDER=self.folder_path)
                self.assertEqual(result.stdout.splitlines(), [answer])
                self.assertEqual(result.debug, lines)

    def test_wait_runs_the_program_hidden_and_returns_after_it_ended(self):
        # The probe writes its record only after its sleep, so the record is
        # there when Lua_Exec returns only if the call waited.
        result = self.lua('local ok = Lua_Exec("%NEB_FOLDER%\\\\probe.exe", "no verb used", "--sleep 1500 -uu", true)\n'
                          'local record = io.open(PROBE .. ".txt")\n'
                          'print(ok, record ~= nil)\n'
                          'if record then record:close() end', NEB_FOLDER=self.folder_path)
        self.assertEqual(result.stdout.splitlines(), ["true\ttrue"])
        self.assertEqual(self.record(), {"show": SW_HIDE, "folder": self.folder_path, "args": "-uu"})

    def test_without_wait_the_shell_opens_the_file_shown(self):
        result = self.lua('print(Lua_Exec(PROBE, nil, "-a b"))')
        self.assertEqual(result.stdout.splitlines(), ["true"])
        self.assertEqual(self.record(), {"show": SW_SHOWNORMAL, "folder": self.folder_path, "args": "-a|b"})

    def test_through_explorer(self):
        result = self.lua('print(Lua_Exec(PROBE, nil, "-e", true, true))')
        self.assertEqual(result.stdout.splitlines(), ["true"])
        # Wine's explorer.exe opens the file but does not pass the
        # parameters on, so only the start itself is checked here; the
        # command line is checked by the unit tests.
        self.record()

    def test_a_pin_verb_the_system_does_not_offer_still_succeeds(self):
        link = self.folder_path + "\\Lumetrica.lnk"
        # Wine refuses the verb without a box; should a shell show one, it is
        # answered. The helper waits only briefly: while it runs, the desktop
        # process that the script started keeps the script's output open.
        box = neb.BoxAnswer(WINE_SHELL_ERROR_CAPTION, seconds=10)
        self.addCleanup(box.close)
        # Any other verb the system does not offer is a failure: the pin verbs
        # alone turn the refusal into success.
        result = self.lua('Lua_CreateShortcut(PROBE, %s, nil, nil)\n'
                          'print(Lua_Exec(%s, "taskbarunpin"))\n'
                          'print(Lua_Exec(%s, "nebnosuchverb"))'
                          % (neb.lua_string(link), neb.lua_string(link), neb.lua_string(link)))
        self.assertEqual(result.stdout.splitlines(), ["true", "false"])
        self.assertFalse(os.path.exists(self.record_file), "the verb must not start the link's target")


class ShellExecTest(ShellCase):
    def test_opens_the_file_hidden_without_waiting(self):
        result = self.lua('print(Lua_ShellExec(PROBE, "--sleep 3000 -s"))\n'
                          'print(io.open(PROBE .. ".txt") == nil)')
        self.assertEqual(result.stdout.splitlines(), ["true", "true"])
        self.assertEqual(self.record()["show"], SW_HIDE)
        self.assertEqual(self.record()["args"], "-s")

    def test_a_missing_file_answers_false(self):
        # The shell reports the missing file in its own error box first.
        box = neb.BoxAnswer(WINE_SHELL_ERROR_CAPTION, seconds=60)
        self.addCleanup(box.close)
        result = self.lua('print(Lua_ShellExec(FOLDER .. "\\\\missing.exe", ""))')
        self.assertEqual(result.stdout.splitlines(), ["false"])
        self.assertEqual(result.debug, [])


class ExplorerExecTest(ShellCase):
    def test_starts_the_file_through_explorer(self):
        for parameters in ['""', '"-from installer"']:
            with self.subTest(parameters=parameters):
                if os.path.exists(self.record_file):
                    os.remove(self.record_file)
                result = self.lua("print(Lua_ExplorerExec(PROBE, %s))" % parameters)
                self.assertEqual(result.stdout.splitlines(), ["true"])
                self.record()


class MsgBoxTest(unittest.TestCase):
    def test_argument_counts(self):
        cases = [
            # arguments, caption and text the box shows, its buttons, the button pressed
            ('"Only a text"', "", "Only a text", [IDOK], IDOK),
            ('"Text", "Two arguments"', "Two arguments", "Text", [IDOK], IDOK),
            ('"Go on?", "Three arguments", %d' % MB_OKCANCEL, "Three arguments", "Go on?", [IDOK, IDCANCEL], IDCANCEL),
            ('"确定要退出安装吗？", "提示", %d' % MB_YESNO, "提示", "确定要退出安装吗？", [IDYES, IDNO], IDNO),
            ('"Text", "Caption", %d, "surplus"' % MB_YESNO, "", "", [IDOK], IDOK),
            ("", "", "", [IDOK], IDOK),
        ]
        for arguments, caption, text, buttons, press in cases:
            with self.subTest(arguments=arguments):
                box = neb.BoxAnswer(caption, button=BUTTON_NAMES[press])
                self.addCleanup(box.close)
                result = neb.run_lua("print(Lua_MsgBox(%s))" % arguments)
                self.assertEqual(result.returncode, 0, result.stderr[-2000:])
                self.assertEqual(box.text(), text)
                self.assertEqual(box.buttons(), buttons)
                self.assertEqual(result.stdout.splitlines(), [str(press)])


if __name__ == "__main__":
    unittest.main()
