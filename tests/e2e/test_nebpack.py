"""nebpack, the console tool that builds a product's installer from a copy
of the installer program: what it writes (the scripts in the base
program's chunk layout, the skin package, the payload, the icon and the
version record), that it writes the same bytes twice, and the broken inputs
it refuses, each with its place, without writing anything. The installs and
uninstalls by its installer are in test_product_install.py and
test_product_uninstall.py."""
import filecmp
import os
import shutil
import subprocess
import tempfile
import unittest

import pytest
import zipfile

import neb
import pe_resources
import product

X86_BASE = os.path.join(os.path.dirname(os.path.abspath(neb.BUILD_DIR)), "x86", "app", "NEBInstaller.exe")
X86_CHUNKS = os.path.join(os.path.dirname(X86_BASE), "NEBInstaller_res")


class NebpackCase(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _work(self, tmp_path):
        self.work = str(tmp_path)

    def setUp(self):
        self.options = product.nebpack_inputs(self.work)

    def pack(self, output_name="setup.exe", **overrides):
        options = dict(self.options)
        options.update({"--" + key.replace("_", "-"): value for key, value in overrides.items()})
        output = os.path.join(self.work, output_name)
        result = product.nebpack(product.nebpack_arguments(options, output))
        result.output = output
        return result

    def copy_input(self, option, name):
        """A copy of an input file or folder that a case may break."""
        target = os.path.join(self.work, name)
        source = self.options[option]
        if os.path.isdir(source):
            shutil.copytree(source, target)
        else:
            shutil.copyfile(source, target)
        return target


class OutputTest(NebpackCase):
    def test_the_same_inputs_give_the_same_bytes(self):
        icon = os.path.join(product.SOURCE_DIR, "res", "installer.ico")
        main_program = os.path.join(self.options["--product"], "Lumetrica.exe")
        first = self.pack("first.exe", icon=icon, version_from=main_program)
        second = self.pack("second.exe", icon=icon, version_from=main_program)
        self.assertEqual((first.returncode, second.returncode), (0, 0), first.stderr + second.stderr)
        self.assertTrue(filecmp.cmp(first.output, second.output, shallow=False))

        written = pe_resources.resources(first.output)
        version = [data for (kind, name, _), data in written.items() if kind == 16]
        self.assertEqual(version, [pe_resources.resource(main_program, 16, 1)])
        with open(icon, "rb") as f:
            icon_bytes = f.read()
        count = int.from_bytes(icon_bytes[4:6], "little")
        self.assertEqual(len(pe_resources.resource(first.output, 14, 128)), 6 + 14 * count)
        for index in range(count):
            size, offset = (int.from_bytes(icon_bytes[6 + 16 * index + at:6 + 16 * index + at + 4], "little")
                            for at in (8, 12))
            self.assertEqual(pe_resources.resource(first.output, 3, index + 1), icon_bytes[offset:offset + size])

    def test_payload_and_skin_unpack_to_the_folders_they_came_from(self):
        # The sample product with an empty file and an empty folder as well.
        product_copy = self.copy_input("--product", "product")
        open(os.path.join(product_copy, "docs", "empty.txt"), "wb").close()
        os.mkdir(os.path.join(product_copy, "empty folder"))
        result = self.pack(product=product_copy)
        self.assertEqual(result.returncode, 0, result.stderr)
        payload = bytearray(pe_resources.resource(result.output, "_7Z", "APP.7Z"))
        payload[0], payload[1] = payload[1], payload[0]
        archive = os.path.join(self.work, "payload.7z")
        with open(archive, "wb") as f:
            f.write(payload)
        subprocess.run(["7zz", "t", archive], check=True, capture_output=True)
        # Programs and libraries pass the x86 branch converter, as in the
        # build's own payload.
        listing = subprocess.run(["7zz", "l", "-slt", archive], check=True, capture_output=True, text=True).stdout
        self.assertIn("Method = BCJ LZMA2", listing)
        # Unpacked by the installer's own extraction, from the file.
        unpacked = os.path.join(self.work, "unpacked")
        os.mkdir(unpacked)
        extracted = neb.run_lua("assert(Lua_UnCompress7z(%s, %s, true))"
                                % (neb.lua_string(neb.windows_path(archive)), neb.lua_string(neb.windows_path(unpacked))))
        self.assertEqual(extracted.returncode, 0, extracted.stderr)
        self.assertSameTree(product_copy, unpacked)

        skin = os.path.join(self.work, "skin")
        package_file = os.path.join(self.work, "skin.zip")
        with open(package_file, "wb") as f:
            f.write(pe_resources.resource(result.output, "ZIP", 249))
        with zipfile.ZipFile(package_file) as package:
            self.assertEqual({info.date_time for info in package.infolist()}, {(2020, 1, 1, 0, 0, 0)})
            package.extractall(skin)
        self.assertSameTree(self.options["--skin"], skin)

    @unittest.skipUnless(os.path.exists(X86_BASE), "the 32-bit build is not there")
    def test_from_the_32_bit_program_the_scripts_match_the_32_bit_compiler(self):
        # The build compiles the shipped scripts with the 32-bit compiler
        # (luac -s); nebpack's chunks from the 32-bit base must be the same.
        options = dict(self.options)
        options.update({"--base": X86_BASE, "--install": os.path.join(product.SOURCE_DIR, "scripts", "instscript.lua"),
                        "--uninstall": os.path.join(product.SOURCE_DIR, "scripts", "uninstscript.lua")})
        output = os.path.join(self.work, "setup32.exe")
        result = product.nebpack(product.nebpack_arguments(options, output))
        self.assertEqual(result.returncode, 0, result.stderr)
        for resource, built in [("GLOBAL_VAR.LUAC", "GLOBAL.luac"), ("INSTSCRIPT.LUAC", "INST.luac"),
                                ("UNINSTSCRIPT.LUAC", "UNINST.luac")]:
            with open(os.path.join(X86_CHUNKS, built), "rb") as f:
                self.assertEqual(pe_resources.resource(output, "LUA", resource), f.read(), resource)

    def test_elements_no_control_answers_to_are_warned_of_and_the_installer_is_written(self):
        skin = self.copy_input("--skin", "skin")
        markup = os.path.join(skin, "Layout", "Layout.xml")
        # Classes of the factory's table that the window does not build are
        # warned of like any other name; those it builds are not.
        product.replace_in(markup, '<Control height="16" />',
                   '<Control height="16" /><Gauge><Button /></Gauge><Combo /><Edit /><Text />')
        result = self.pack(skin=skin)
        self.assertEqual(result.returncode, 0, result.stderr)
        for element in ["Gauge", "Combo"]:
            self.assertRegex(result.stderr, r"Layout\.xml:%d:\d+: warning: <%s> is no control the window knows; it is "
                                            r"left out with everything inside it" % (line_of(markup, "<Gauge>"), element))
        for element in ["Edit", "Text", "Button"]:
            self.assertNotIn("<%s>" % element, result.stderr)
        self.assertTrue(os.path.exists(result.output))

    def assertSameTree(self, expected, actual):
        self.assertEqual(product.installed_tree(actual), product.installed_tree(expected))
        for name in product.installed_tree(expected):
            if os.path.isfile(os.path.join(expected, name)):
                self.assertTrue(filecmp.cmp(os.path.join(expected, name), os.path.join(actual, name), shallow=False),
                                name)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def line_of(path, text):
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if text in line:
                return number
    raise AssertionError((path, text))


class BrokenInputTest(NebpackCase):
    """Each case breaks one input; nebpack names the file and the place,
    ends with exit code 1 and writes nothing."""

    def break_settings(self, old, new):
        settings = self.copy_input("--settings", "global_var.lua")
        product.replace_in(settings, old, new)
        return {"settings": settings}

    def break_script(self, option, old, new):
        product.replace_in(self.options[option], old, new)  # already a copy of this case's own
        return {}

    def break_skin(self, old, new=None):
        """Replaces a text of the markup, or removes a file when `new` is None."""
        skin = self.copy_input("--skin", "skin")
        if new is None:
            os.remove(os.path.join(skin, old))
        else:
            product.replace_in(os.path.join(skin, "Layout", "Layout.xml"), old, new)
        return {"skin": skin}

    def break_skin_with_file(self, name, content, old, new):
        """Adds a file to the skin and replaces a text of the markup."""
        overrides = self.break_skin(old, new)
        with open(os.path.join(overrides["skin"], name), "w", encoding="utf-8") as f:
            f.write(content)
        return overrides

    def break_product(self, name, content=b"x"):
        """A copy of the product folder with one more file, its folders made."""
        product_copy = self.copy_input("--product", "product")
        path = os.path.join(product_copy, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)
        return {"product": product_copy}

    def test_broken_inputs(self):
        settings = self.options["--settings"]
        markup = os.path.join(self.options["--skin"], "Layout", "Layout.xml")
        install_event = "function NEBSE_BeforeInstall()"
        cases = [
            ("a script with a syntax error",
             lambda: self.break_script("--install", install_event, "function NEBSE_BeforeInstall("),
             r"instscript\.lua:%d: .*near" % (line_of(self.options["--install"], install_event) + 1)),
            ("a missing install event",
             lambda: self.break_script("--install", "function NEBSE_AfterComplete()", "function AfterComplete()"),
             r"instscript\.lua: the event function NEBSE_AfterComplete is not defined"),
            ("a missing uninstall event",
             lambda: self.break_script("--uninstall", "function NEBSE_FeedBack()", "function FeedBackEvent()"),
             r"uninstscript\.lua: the event function NEBSE_FeedBack is not defined"),
            ("settings that call a function",
             lambda: self.break_settings("global_app_id = 145", 'global_app_id = tonumber("145")'),
             r"global_var\.lua:%d: the settings call a function" % line_of(settings, "global_app_id")),
            ("a missing main program",
             lambda: self.break_settings('global_main_app_name = "Lumetrica.exe"',
                                         'global_main_app_name = "Lumetrix.exe"'),
             r"global_var\.lua:%d: the main program Lumetrix\.exe is not in the product folder"
             % line_of(settings, "global_main_app_name =")),
            ("a main program without a version record",
             lambda: self.break_settings('global_main_app_name = "Lumetrica.exe"',
                                         'global_main_app_name = "readme.txt"'),
             r"readme\.txt: the main program has no version record"),
            ("a disk-space figure too small",
             lambda: self.break_settings("global_need_disk_space = 182958560", "global_need_disk_space = 4096"),
             r"global_var\.lua:%d: global_need_disk_space is 4096 bytes, less than the product folder's unpacked"
             % line_of(settings, "global_need_disk_space")),
            ("a number-query host that is no host name",
             lambda: self.break_settings('global_query_host = "service.lumetrica.example"',
                                         'global_query_host = "https://service.lumetrica.example"'),
             r'global_var\.lua:%d: global_query_host "https://service\.lumetrica\.example" has no port number'
             % line_of(settings, "global_query_host")),
            ("a dispatch host with a port",
             lambda: self.break_settings('global_stat_dispatch_host = "dispatch.stat.example.net"',
                                         'global_stat_dispatch_host = "dispatch.stat.example.net:8700"'),
             r'global_var\.lua:%d: global_stat_dispatch_host "dispatch\.stat\.example\.net:8700" names a port'
             % line_of(settings, "global_stat_dispatch_host")),
            ("a markup error",
             lambda: self.break_skin('<Control height="16" />', '<Control height="16" >'),
             r"Layout\.xml:\d+:\d+: "),
            ("a missing image",
             lambda: self.break_skin(os.path.join("Image", "CheckOn.svg")),
             r"Layout\.xml:%d:\d+: <Option> selectedimage: picture \"Image/CheckOn\.svg\" is not in the skin"
             % line_of(markup, "Image/CheckOn.svg")),
            ("an undefined font id",
             lambda: self.break_skin('font="11"', 'font="12"'),
             r"Layout\.xml:%d:\d+: <Label> font: font id 12 is not defined" % line_of(markup, 'font="11"')),
            ("a needed control of the wrong kind",
             lambda: self.break_skin('<Button name="BtnStart"', '<Label name="BtnStart"'),
             r"Layout\.xml:%d:\d+: the control \"BtnStart\" is a Label; the dialog needs a Button"
             % line_of(markup, 'name="BtnStart"')),
            ("markup nested 40,000 elements deep",
             lambda: self.break_skin('<Control height="16" />',
                                     '<Control height="16" />' + "<VerticalLayout>" * 40000
                                     + "</VerticalLayout>" * 40000),
             r"Layout\.xml:%d:\d+: <VerticalLayout> is nested 257 elements deep; the window builds 256 levels"
             % line_of(markup, '<Control height="16" />')),
            ("a markup file that includes itself eight times",
             lambda: self.break_skin_with_file(
                 os.path.join("Layout", "self.xml"),
                 '<Window>' + '<Include source="Layout/self.xml" />' * 8 + '</Window>\n' + " " * 60,
                 '<Include source="font.xml" />', '<Include source="font.xml" /><Include source="Layout/self.xml" />'),
             r"self\.xml:1:\d+: <Include>: the markup and what it includes read more than 50000 elements"),
            ("a product file named after a device",
             lambda: self.break_product(os.path.join("docs", "con.txt")),
             r"con\.txt: the name holds a device name \(CON, PRN, AUX, NUL, COM1-9, LPT1-9\)"),
            # Short folders and a long file name: the folders themselves
            # stay listable below the temporary folder's own path.
            ("a product file whose name is longer than a Windows path",
             lambda: self.break_product(os.path.join("a" * 80, "b" * 80, "c" * 100 + ".txt")),
             r"c{100}\.txt: the name is longer than the 259 characters of a Windows path"),
        ]
        base_work = self.work
        for label, breaks, message in cases:
            with self.subTest(label):
                self.work = tempfile.mkdtemp(dir=base_work)
                self.options = product.nebpack_inputs(self.work)
                result = self.pack(**breaks())
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertRegex(result.stderr, message)
                self.assertIn("no installer written", result.stderr)
                self.assertFalse(os.path.exists(result.output))
                self.assertFalse(os.path.exists(result.output + ".part"))

    def test_settings_run_where_no_host_table_or_function_is_in_reach(self):
        # A library that leaves a mark beside itself when anything loads it.
        library = os.path.join(self.work, "probe.dll")
        shutil.copyfile(neb.build_path("tests", "helpers", "planted_library.dll"), library)
        settings = self.options["--settings"]
        cases = [
            ("a library loaded through an index of GLibTab",
             "global_probe = GLibTab[%s]" % neb.lua_string(neb.windows_path(library)),
             r"global_var\.lua:%d: attempt to index global 'GLibTab' \(a nil value\)"),
            ("the string library reached through a string",
             'global_probe = ("x").rep',
             r"global_var\.lua:%d: attempt to index constant 'x' \(a string value\)"),
            ("a loop without end",
             "while true do end",
             r"global_var\.lua:%d: the settings run longer than 10000000 instructions"),
            ("a value doubled without end",
             'global_probe = "x" for i = 1, 40 do global_probe = global_probe .. global_probe end',
             r"global_var\.lua: the settings need more than 64 MiB of memory"),
        ]
        for label, statement, message in cases:
            with self.subTest(label):
                broken = os.path.join(self.work, "global_var.lua")
                shutil.copyfile(settings, broken)
                product.replace_in(broken, "global_app_id = 145", "global_app_id = 145\n" + statement)
                result = self.pack(settings=broken)
                self.assertEqual(result.returncode, 1, result.stderr)
                line = line_of(broken, statement)
                self.assertRegex(result.stderr, message.replace("%d", str(line)))
                self.assertFalse(os.path.exists(library + ".loaded"), "the library was loaded")
                self.assertFalse(os.path.exists(result.output))

    def test_a_product_file_that_changes_while_it_is_packed_stops_the_packing(self):
        # A file of the system that lists with one size and reads with
        # another stands for a file written to while nebpack runs.
        changing = next((path for path in ("/sys/devices/system/cpu/online", "/sys/kernel/mm/transparent_hugepage/enabled")
                         if os.path.exists(path) and os.path.getsize(path) > len(read_bytes(path))), None)
        if changing is None:
            self.skipTest("no file here lists with another size than it reads")
        product_copy = self.copy_input("--product", "product")
        os.symlink(changing, os.path.join(product_copy, "changing.txt"))
        result = self.pack(product=product_copy)
        self.assertEqual(result.returncode, 3, result.stderr)
        self.assertRegex(result.stderr, r"nebpack: the product file .*changing\.txt changed while it was packed: it was "
                                        r"listed with %d bytes, and it ended after %d"
                         % (os.path.getsize(changing), len(read_bytes(changing))))
        self.assertFalse(os.path.exists(result.output))

    def test_missing_options_show_the_usage(self):
        result = product.nebpack(["--product", neb.windows_path(self.options["--product"])])
        self.assertEqual(result.returncode, 2)
        self.assertIn("usage: nebpack", result.stderr)


if __name__ == "__main__":
    unittest.main()
