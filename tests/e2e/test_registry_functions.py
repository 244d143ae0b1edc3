"""The registry host functions under Wine: Lua_RegAdd, Lua_RegQuery,
Lua_RegDel and Lua_CefRegister, driven through nebscript and checked both
through Lua_RegQuery and independently with Wine's reg tool."""
import unittest

import neb

TEST_KEY = "Software\\NEBInstallerTests"


class RegistryCase(unittest.TestCase):
    """Each test works below its own key under HKCU\\Software\\NEBInstallerTests."""

    def setUp(self):
        self.subkey = TEST_KEY + "\\" + self._testMethodName
        self.key = "HKCU\\" + self.subkey
        self.addCleanup(neb.reg, "delete", self.key, "/f")

    def lua(self, body):
        """Runs the body with K set to this test's key path; fails the test on a script error."""
        result = neb.run_lua("local K = %s\n%s" % (neb.lua_string(self.subkey), body))
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return result

    def printed(self, body):
        return self.lua(body).stdout.splitlines()

    def reg_add(self, key, value, reg_type, data):
        completed = neb.reg("add", key, "/v", value, "/t", reg_type, "/d", data, "/f")
        self.assertEqual(completed.returncode, 0, completed.stderr)


class RegAddTest(RegistryCase):
    def test_an_existing_value_is_replaced_only_with_overwrite(self):
        for overwrite, expected in [("false", "old"), ("nil", "old"), ("true", "new"), ("0", "new")]:
            with self.subTest(overwrite=overwrite):
                printed = self.printed(
                    'print(Lua_RegAdd("HKCU", K, "v", "REG_SZ", "old", true))\n'
                    'print(Lua_RegAdd("HKCU", K, "v", "REG_SZ", "new", %s))\n'
                    'print(Lua_RegQuery("HKCU", K, "v"))' % overwrite)
                self.assertEqual(printed, ["true", "true", expected])
                self.assertEqual(neb.reg_value(self.key, "v"), ("REG_SZ", expected))

    def test_data_is_stored_as_its_type(self):
        program_files = neb.reg_query("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir")
        cases = [
            # value, type name, data (Lua), Lua_RegQuery result, (type, data) as reg prints it
            ("expanded", "REG_SZ", '"%ProgramFiles%\\\\Lumetrica"',
             program_files + "\\Lumetrica", ("REG_SZ", program_files + "\\Lumetrica")),
            ("kept", "REG_EXPAND_SZ", '"%ProgramFiles%\\\\Lumetrica"',
             "%ProgramFiles%\\Lumetrica", ("REG_EXPAND_SZ", "%ProgramFiles%\\Lumetrica")),
            ("empty", "REG_SZ", '""', "", ("REG_SZ", "")),
            ("digits", "REG_SZ", "5", "5", ("REG_SZ", "5")),
            ("pairs", "REG_BINARY", '"0A1b"', "nil", ("REG_BINARY", "0A1B")),
            ("odd", "REG_BINARY", '"ABC"', "nil", ("REG_BINARY", "AB0C")),
            ("all_bits", "REG_DWORD", "0xFFFFFFFF", "4294967295", ("REG_DWORD", "0xffffffff")),
            ("minus_one", "REG_DWORD", "-1", "4294967295", ("REG_DWORD", "0xffffffff")),
            ("number_text", "REG_DWORD", '"12"', "12", ("REG_DWORD", "0xc")),
            ("not_a_number", "REG_DWORD", '"x"', "0", ("REG_DWORD", "0x0")),
        ]
        for value, type_name, data, queried, stored in cases:
            with self.subTest(value=value):
                printed = self.printed('Lua_RegAdd("HKCU", K, "%s", "%s", %s, true)\n'
                                       'print(Lua_RegQuery("HKCU", K, "%s"))' % (value, type_name, data, value))
                self.assertEqual(printed, [queried])
                self.assertEqual(neb.reg_value(self.key, value), stored)

    def test_texts_cross_as_utf8(self):
        printed = self.printed('Lua_RegAdd("HKCU", K, "路径", "REG_SZ", "安装路径", true)\n'
                               'print(Lua_RegQuery("HKCU", K, "路径"))')
        self.assertEqual(printed, ["安装路径"])
        # reg query prints through the console's code page; an export keeps UTF-16.
        self.assertIn('"路径"="安装路径"', neb.reg_export(self.key))

    def test_an_unknown_type_name_creates_the_key_but_writes_no_value(self):
        for type_name in ["reg_sz", "REG_MULTI_SZ", ""]:
            with self.subTest(type_name=type_name):
                neb.reg("delete", self.key, "/f")
                printed = self.printed('print(Lua_RegAdd("HKCU", K, "v", "%s", "data", true))\n'
                                       'print(Lua_RegQuery("HKCU", K, "v"))' % type_name)
                self.assertEqual(printed, ["true", "nil"])
                self.assertTrue(neb.reg_key_exists(self.key))
                self.assertIsNone(neb.reg_value(self.key, "v"))

    def test_root_names_are_exact(self):
        machine_key = "HKLM\\" + self.subkey
        self.addCleanup(neb.reg, "delete", machine_key, "/f")
        cases = [("HKCU", self.key), ("HKLM", machine_key), ("hkcu", None), ("HKEY_CURRENT_USER", None)]
        for number, (root, written_key) in enumerate(cases):
            # Value names differ by more than case: the registry ignores case in them.
            value = "root%d" % number
            with self.subTest(root=root):
                printed = self.printed('print(Lua_RegAdd("%s", K, "%s", "REG_SZ", "here", true))\n'
                                       'print(Lua_RegQuery("%s", K, "%s"))' % (root, value, root, value))
                self.assertEqual(printed, ["true", "here" if written_key else "nil"])
                for key in [self.key, machine_key]:
                    self.assertEqual(neb.reg_query(key, value), "here" if key == written_key else None)


class RegQueryTest(RegistryCase):
    def test_only_texts_and_numbers_are_read(self):
        self.reg_add(self.key, "text", "REG_SZ", "plain")
        self.reg_add(self.key, "expand", "REG_EXPAND_SZ", "%TEMP%\\x")
        self.reg_add(self.key, "number", "REG_DWORD", "7")
        self.reg_add(self.key, "binary", "REG_BINARY", "0102")
        self.reg_add(self.key, "multi", "REG_MULTI_SZ", "a\\0b")
        self.reg_add(self.key, "wide_number", "REG_QWORD", "7")
        completed = neb.reg("add", self.key, "/ve", "/d", "default text", "/f")
        self.assertEqual(completed.returncode, 0, completed.stderr)
        cases = [
            ('"HKCU", K, "text"', "plain"),
            ('"HKCU", K, "expand"', "%TEMP%\\x"),
            ('"HKCU", K, "number"', "7"),
            ('"HKCU", K, "binary"', "nil"),
            ('"HKCU", K, "multi"', "nil"),
            ('"HKCU", K, "wide_number"', "nil"),
            ('"HKCU", K, ""', "default text"),
            ('"HKCU", K', "default text"),
            ('"HKCU", K, "missing"', "nil"),
            ('"HKCU", K .. "\\\\missing", "text"', "nil"),
            ('"HKXX", K, "text"', "nil"),
        ]
        printed = self.printed("\n".join("print(Lua_RegQuery(%s))" % args for args, _ in cases))
        self.assertEqual(printed, [expected for _, expected in cases])


class RegDelTest(RegistryCase):
    def test_two_arguments_remove_the_key_with_all_its_subkeys(self):
        result = self.lua('for _, path in ipairs({"", "\\\\a", "\\\\a\\\\b", "\\\\a\\\\b\\\\c", "\\\\d"}) do\n'
                          '  Lua_RegAdd("HKCU", K .. "\\\\tree" .. path, "v", "REG_SZ", "x", true)\n'
                          'end\n'
                          'Lua_RegAdd("HKCU", K .. "\\\\sibling", "v", "REG_SZ", "x", true)\n'
                          'print(Lua_RegDel("HKCU", K .. "\\\\tree"))')
        self.assertEqual(result.stdout.splitlines(), ["true"])
        self.assertEqual(result.debug, [])
        self.assertFalse(neb.reg_key_exists(self.key + "\\tree"))
        self.assertEqual(neb.reg_query(self.key + "\\sibling", "v"), "x")

    def test_three_arguments_remove_one_value_and_keep_the_key(self):
        result = self.lua('Lua_RegAdd("HKCU", K, "gone", "REG_SZ", "x", true)\n'
                          'Lua_RegAdd("HKCU", K, "kept", "REG_SZ", "y", true)\n'
                          'print(Lua_RegDel("HKCU", K, "gone"))\n'
                          'print(Lua_RegQuery("HKCU", K, "gone"), Lua_RegQuery("HKCU", K, "kept"))')
        self.assertEqual(result.stdout.splitlines(), ["true", "nil\ty"])
        self.assertEqual(result.debug, ["qd Delete Value HKCU, %s, gone" % self.subkey])
        self.assertIsNone(neb.reg_value(self.key, "gone"))
        self.assertEqual(neb.reg_query(self.key, "kept"), "y")

    def test_failures_answer_true_and_show_only_in_debug_lines(self):
        self.reg_add(self.key, "v", "REG_SZ", "x")
        missing = self.subkey + "\\missing"
        cases = [
            ('"HKXX", K', ["qd OpenKey HKXX failed, errcode: 6\r\n"]),
            ('"HKCU", K .. "\\\\missing"', ["qd DeleteSubKey %s failed, errcode: 2" % missing]),
            ('"HKCU", K .. "\\\\missing", "v"', []),
            ('"HKXX", K, "v"', []),
            ('"HKCU", K, "missing"', ["qd Delete Value HKCU, %s, missing" % self.subkey]),
        ]
        for args, lines in cases:
            with self.subTest(args=args):
                result = self.lua("print(Lua_RegDel(%s))" % args)
                self.assertEqual(result.stdout.splitlines(), ["true"])
                self.assertEqual(result.debug, lines)
        self.assertEqual(neb.reg_query(self.key, "v"), "x")

    def test_a_key_path_that_names_no_key_deletes_nothing(self):
        # An empty path opens the root itself: deleting its "tree" would
        # empty the whole of HKEY_CURRENT_USER.
        self.reg_add(self.key, "canary", "REG_SZ", "alive")
        for path in ["", "\\\\", "\\\\\\\\"]:
            with self.subTest(path=path):
                result = self.lua('print(Lua_RegDel("HKCU", "%s"))' % path)
                self.assertEqual(result.stdout.splitlines(), ["true"])
                self.assertEqual(result.debug, ["qd DeleteSubKey %s failed, errcode: 87" % path.replace("\\\\", "\\")])
                self.assertEqual(neb.reg_query(self.key, "canary"), "alive")


class CefRegisterTest(RegistryCase):
    def test_sets_and_clears_bits_of_an_existing_number_only(self):
        cases = [
            # starting value (type, data) or None, set, mask, answer, value afterwards as reg prints it
            (("REG_DWORD", "1"), "true", 4, "true", ("REG_DWORD", "0x5")),
            (("REG_DWORD", "5"), "false", 1, "true", ("REG_DWORD", "0x4")),
            (("REG_DWORD", "5"), "nil", 4, "true", ("REG_DWORD", "0x1")),
            (("REG_DWORD", "0"), "true", 0xFFFFFFFF, "true", ("REG_DWORD", "0xffffffff")),
            (None, "true", 4, "false", None),
            (("REG_SZ", "1"), "true", 4, "false", ("REG_SZ", "1")),
            (("REG_BINARY", "01000000"), "true", 4, "false", ("REG_BINARY", "01000000")),
        ]
        for start, set_flag, mask, answer, after in cases:
            with self.subTest(start=start, set=set_flag, mask=mask):
                neb.reg("delete", self.key, "/f")
                neb.reg("add", self.key, "/f")
                if start:
                    self.reg_add(self.key, "flags", *start)
                printed = self.printed('print(Lua_CefRegister(%s, K, "flags", %d))' % (set_flag, mask))
                self.assertEqual(printed, [answer])
                self.assertEqual(neb.reg_value(self.key, "flags"), after)

    def test_a_missing_key_is_not_created(self):
        printed = self.printed('print(Lua_CefRegister(true, K .. "\\\\missing", "flags", 1))')
        self.assertEqual(printed, ["false"])
        self.assertFalse(neb.reg_key_exists(self.key + "\\missing"))


if __name__ == "__main__":
    unittest.main()
