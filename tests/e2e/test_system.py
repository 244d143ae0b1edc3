"""System queries, the script's log function and COM registration through
the engine under Wine: Lua_GetOSVersion, Lua_IsWow64, Lua_GetFileVersion,
Lua_GetModuleFileName, Lua_GetCommandLineArgv, Lua_Logout, Lua_RegSvr32,
Lua_RegistDll and Lua_GetDriverInstallPath."""
import os
import shutil
import subprocess
import unittest

import pytest

import neb

NEBSCRIPT = neb.build_path("tools", "nebscript", "nebscript.exe")
COM_SERVER = neb.build_path("tests", "helpers", "com_server.dll")
PROGRAM_FILES = "C:\\Program Files\\"


def lua_lines(code, args=(), **extra_env):
    result = neb.run_lua(code, args, timeout=60, **extra_env)
    if result.returncode != 0:
        raise AssertionError(result.stderr[-2000:])
    result.lines = result.stdout.splitlines()
    return result


class SystemQueryTest(unittest.TestCase):
    def test_os_version_is_the_major_number_wine_reports(self):
        key = "HKCU\\Software\\Wine\\AppDefaults\\nebscript.exe"
        try:
            for version, expected in [("winxp64", "5"), ("win7", "6")]:
                with self.subTest(version=version):
                    subprocess.run([neb.WINE, "reg", "add", key, "/v", "Version", "/d", version, "/f"],
                                   env=neb.env(WINEDEBUG="-all"), capture_output=True, check=True)
                    self.assertEqual(lua_lines("print(Lua_GetOSVersion())").lines, [expected])
        finally:
            subprocess.run([neb.WINE, "reg", "delete", key, "/f"], env=neb.env(WINEDEBUG="-all"),
                           capture_output=True)

    def test_a_64_bit_process_is_not_wow64(self):
        self.assertEqual(lua_lines("print(Lua_IsWow64())").lines, ["false"])

    def test_file_versions(self):
        helpers = os.path.dirname(COM_SERVER)
        cases = [
            ("the installer's version record", neb.lua_string(neb.windows_path(neb.build_path("app", "NEBInstaller.exe"))),
             "1.0.0.1"),
            ("four distinct parts", neb.lua_string(neb.windows_path(COM_SERVER)), "2.3.45.6789"),
            ("a program without a version record",
             neb.lua_string(neb.windows_path(os.path.join(helpers, "hold_file.exe"))), ""),
            ("a file that is not there", neb.lua_string(neb.windows_path(os.path.join(helpers, "none.dll"))), ""),
            ("the path is not expanded", "'%NEB_HELPERS%\\\\com_server.dll'", ""),
            ("no argument", "", ""),
        ]
        for name, argument, expected in cases:
            with self.subTest(name):
                result = lua_lines("print('[' .. Lua_GetFileVersion(%s) .. ']')" % argument,
                                   NEB_HELPERS=neb.windows_path(helpers))
                self.assertEqual(result.lines, ["[%s]" % expected])

    def test_module_file_name(self):
        program = neb.windows_path(NEBSCRIPT)
        cases = [("", program), ("'kernel32'", "C:\\windows\\system32\\kernel32.dll"),
                 ("'KERNEL32.DLL'", "C:\\windows\\system32\\kernel32.dll"),
                 ("'nebnosuch.dll'", program), ("nil", program)]
        for argument, expected in cases:
            with self.subTest(argument=argument):
                result = lua_lines("print(Lua_GetModuleFileName(%s))" % argument)
                self.assertEqual([line.lower() for line in result.lines], [expected.lower()])

    def test_command_line_argv(self):
        code = "local argv = Lua_GetCommandLineArgv()\nfor i = 1, #argv do print(i .. '=' .. argv[i]) end\n"
        result = lua_lines(code, ["first", "two words", "dritte \u00e4"])
        self.assertEqual(result.lines[0], "1=" + neb.windows_path(NEBSCRIPT), "entry 1: the program as started")
        self.assertEqual(result.lines[2:], ["3=first", "4=two words", "5=dritte \u00e4"])

    def test_logout_writes_the_text_as_a_debug_line_and_returns_nothing(self):
        result = lua_lines("print(select('#', Lua_Logout('step 3 done')))\nLua_Logout(42)\nLua_Logout({})")
        self.assertEqual(result.lines, ["0"])
        self.assertEqual(result.debug, ["qd step 3 done", "qd 42", "qd "])


class RegistrationTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _folder(self, c_drive_tmp_path):
        self.folder = c_drive_tmp_path

    def setUp(self):
        self.library = os.path.join(self.folder, "com_server.dll")
        shutil.copy2(COM_SERVER, self.library)
        self.library_path = neb.c_drive_path(self.library)

    def calls(self):
        """The registration calls recorded since the last look."""
        path = self.library + ".calls"
        if not os.path.exists(path):
            return []
        with open(path) as f:
            calls = f.read().splitlines()
        # An empty file may still be being written by regsvr32.
        if calls:
            os.remove(path)
        return calls

    def test_regsvr32_calls_the_library_entries(self):
        cases = [
            ("register", "arg[1], true", "true", ["register"]),
            ("unregister", "arg[1], false", "true", ["unregister"]),
            ("a missing flag unregisters", "arg[1]", "true", ["unregister"]),
            ("0 counts as true", "arg[1], 0", "true", ["register"]),
            ("expanded path", "'%NEB_COM%\\\\com_server.dll', true", "true", ["register"]),
            ("a bare name in the current folder", "'com_server.dll', true", "true", ["register"]),
        ]
        for name, arguments, expected, calls in cases:
            with self.subTest(name):
                result = lua_lines("print(Lua_RegSvr32(%s))" % arguments, [self.library_path],
                                   NEB_COM=neb.c_drive_path(self.folder), cwd=self.folder)
                self.assertEqual(result.lines, [expected])
                self.assertEqual(self.calls(), calls)

    def test_regsvr32_failures(self):
        with open(self.library + ".fail", "w"):
            pass
        result = lua_lines("print(Lua_RegSvr32(arg[1], true))", [self.library_path])
        self.assertEqual((result.lines, self.calls()), (["false"], ["register"]), "a failing entry")

        missing = self.library_path + ".none"
        result = lua_lines("print(Lua_RegSvr32(arg[1], true))", [missing])
        self.assertEqual(result.lines, ["false"])
        self.assertEqual(result.debug, ["qd Fun:Lua_RegSvr32, Description:%s it's not exists!\r\n" % missing])

        not_a_library = os.path.join(self.folder, "text.dll")
        with open(not_a_library, "w") as f:
            f.write("not a library")
        result = lua_lines("print(Lua_RegSvr32(arg[1], true))", [neb.c_drive_path(not_a_library)])
        self.assertEqual(result.lines, ["false"])
        self.assertEqual(result.debug[0], "qd Fun:Lua_RegSvr32, Description: LoadLibrary %s Failed!\r\n"
                         % neb.c_drive_path(not_a_library))
        self.assertTrue(result.debug[1].startswith("qd qd file:"))

        result = lua_lines("print(Lua_RegSvr32('%SystemRoot%\\\\system32\\\\kernel32.dll', true))")
        self.assertEqual(result.lines, ["false"], "a library without the entry")

    def await_calls(self, timeout=30):
        """The calls a started regsvr32 makes, once it has made them."""
        return neb.wait_until(self.calls, timeout, interval=0.1)

    def test_regist_dll_starts_regsvr32_without_waiting(self):
        with open(self.library + ".fail", "w"):
            pass
        for options, calls in [("/s", ["register"]), ("/u /s", ["unregister"])]:
            with self.subTest(options=options):
                result = lua_lines("print(Lua_RegistDll(arg[1], arg[2], 'ignored'))", [self.library_path, options])
                self.assertEqual(result.lines, ["true"], "true once started, though the registration fails")
                self.assertEqual(self.await_calls(), calls)

        missing = self.library_path + ".none"
        result = lua_lines("print(Lua_RegistDll(arg[1], '/s'))", [missing])
        self.assertEqual(result.lines, ["false"])
        self.assertEqual(result.debug, ["qd Fun:Lua_RegistDll, Description:%s it's not exists!\r\n" % missing])


class DriverInstallPathTest(unittest.TestCase):
    """Wine's prefix has two fixed drives of its own: C: (its drive_c, with
    the program-files folder) and Z: (the Unix root, without one). Further
    drives are mapped to folders through Wine's mount manager."""

    @pytest.fixture(autouse=True)
    def _drive(self, tmp_path):
        self.drive = str(tmp_path)

    def install_path(self):
        return lua_lines("print(Lua_GetDriverInstallPath())").lines

    def with_program_files(self):
        os.mkdir(os.path.join(self.drive, "Program Files"))

    def test_one_fixed_drive(self):
        self.with_program_files()
        with neb.drive_type_as("Z", neb.DRIVE_REMOTE), neb.mapped_drive("D", self.drive, neb.DRIVE_CDROM):
            self.assertEqual([neb.drive_type(letter) for letter in "CDZ"],
                             [neb.DRIVE_FIXED, neb.DRIVE_CDROM, neb.DRIVE_REMOTE])
            self.assertEqual(self.install_path(), [PROGRAM_FILES])

    def test_a_second_fixed_drive_with_and_without_the_folder(self):
        with neb.mapped_drive("D", self.drive):
            self.assertEqual(neb.drive_type("D"), neb.DRIVE_FIXED)
            self.assertEqual(self.install_path(), [PROGRAM_FILES], "D: lacks the folder, and so does Z:")
            self.with_program_files()
            self.assertEqual(self.install_path(), ["D:\\Program Files\\"])

    def test_a_drive_that_is_not_fixed_is_passed_over(self):
        self.with_program_files()
        for drive_type in [neb.DRIVE_REMOTE, neb.DRIVE_CDROM]:
            with self.subTest(drive_type=drive_type), neb.mapped_drive("D", self.drive, drive_type):
                self.assertEqual(self.install_path(), [PROGRAM_FILES])

    def test_the_first_fixed_drive_is_passed_over(self):
        # A: comes before C: in letter order, so C: becomes the second fixed
        # drive: its folder is the answer, not A:'s.
        self.with_program_files()
        with neb.mapped_drive("A", self.drive):
            self.assertEqual(self.install_path(), [PROGRAM_FILES])


if __name__ == "__main__":
    unittest.main()
