"""Libraries planted beside the installer, in the folder it runs from, are
never loaded: the installer runs elevated from a downloads folder that
anybody can write to.

Every library the installer names (its import tables and the library names
written in it) and every library it or its libraries load at run time gets
a stand-in in the installer's folder (also the current folder); Wine is told
to prefer a native library of each name, so a search that reaches the folder
loads the stand-in, which leaves a marker file. Windows always takes its
KnownDLLs from the system folder, so a stand-in of such a name proves
nothing; Wine has no such list and would load them before the program's
first instruction. Libraries that Wine's own user32 and shell32 load (imm32,
shcore, version) are in the test: the program imports those lazily, after it
has restricted the search.
"""
import glob
import os
import re
import shutil
import unittest

import pytest

import neb

# KnownDLLs of Windows 7 and of Windows 10 alike, plus ntdll, which every
# process has before anything else.
KNOWN_LIBRARIES = {
    "ntdll", "kernel32", "kernelbase", "user32", "gdi32", "advapi32", "shell32", "ole32",
    "oleaut32", "comdlg32", "shlwapi", "ws2_32", "rpcrt4", "psapi", "msvcrt", "setupapi",
    "normaliz", "nsi", "sechost", "wldap32", "imagehlp", "msctf", "clbcatq", "difxapi",
}

# Loaded at run time, by the program or by the libraries it loads: GDI+, the
# version record reader, the theme, composition, rich edit and HTTP
# libraries of the dialog and the install worker, and the TLS and
# certificate libraries behind HTTPS.
RUN_TIME_LIBRARIES = {
    "version", "gdiplus", "uxtheme", "dwmapi", "msftedit", "riched20", "winhttp", "wininet",
    "imm32", "shcore",
    "crypt32", "secur32", "bcrypt", "ncrypt", "iphlpapi", "userenv", "comctl32", "windowscodecs",
    "msimg32", "usp10", "dwrite", "propsys", "urlmon", "winmm", "dbghelp", "profapi",
}


def named_libraries(program):
    """Every library name written in the program, in its import tables (lazy
    ones included) or as text, narrow or UTF-16."""
    with open(program, "rb") as f:
        data = f.read()
    narrow = re.findall(rb"([A-Za-z0-9_]+)\.dll", data, re.I)
    wide = re.findall(rb"((?:[A-Za-z0-9_]\x00)+)\.\x00[dD]\x00[lL]\x00[lL]\x00", data)
    names = {n.decode("ascii") for n in narrow} | {w.decode("utf-16-le") for w in wide}
    return {name.lower() for name in names}


class PlantedLibraryTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _tmp_folder(self, tmp_path):
        self.tmp_folder = str(tmp_path)

    def setUp(self):
        self.program = neb.stage(neb.build_path("app", "NEBInstaller.exe"), "setup.exe")
        self.folder = os.path.dirname(self.program)
        self.names = sorted((named_libraries(self.program) | RUN_TIME_LIBRARIES) - KNOWN_LIBRARIES)
        stand_in = neb.build_path("tests", "helpers", "planted_library.dll")
        for name in self.names:
            shutil.copy2(stand_in, os.path.join(self.folder, name + ".dll"))
        self.overrides = "%s;%s=n,b" % (os.environ.get("WINEDLLOVERRIDES", ""), ",".join(self.names))
        self.target = self.tmp_folder

    def loaded(self):
        return sorted(os.path.basename(p) for p in glob.glob(os.path.join(self.folder, "*.loaded")))

    def run_from_folder(self, args, timeout=120):
        return neb.run(self.program, args, timeout=timeout, cwd=self.folder,
                       WINEDLLOVERRIDES=self.overrides)

    def test_the_stand_ins_cover_the_libraries_that_matter(self):
        for name in ("version", "gdiplus", "uxtheme", "dwmapi", "msftedit", "winhttp", "crypt32"):
            self.assertIn(name, self.names)

    def test_a_silent_install_loads_none_of_them(self):
        result = self.run_from_folder(["/InstallSlience", "true",
                                       "/InstallPath", neb.windows_path(self.target)])
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.loaded(), [])
        # The run got as far as the install itself.
        self.assertTrue(os.listdir(os.path.join(self.target, "Lumetrica")), result.debug)

    def test_an_interactive_start_loads_none_of_them(self):
        # By the time its dialog shows, the run has loaded what its window
        # needs: pictures, text drawing, the path box's text services.
        process = neb.start(self.program, [], cwd=self.folder, WINEDLLOVERRIDES=self.overrides)
        shown = neb.close_window("CDlgInstall")
        if not shown:
            process.kill()
        result = neb.finish(process)
        self.assertTrue(shown, result.debug)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(self.loaded(), [])

    def test_scripts_load_libraries_and_modules_from_the_system_folder_only(self):
        # A Lua module and a C module of the same name in the folder: the
        # library's default search would find either one.
        module = os.path.join(self.folder, "planted_module")
        with open(module + ".lua", "w", encoding="utf-8") as f:
            f.write("io.open(%s, 'w'):close()\n" % neb.lua_string(neb.windows_path(module + ".lua.loaded")))
        shutil.copy2(neb.build_path("tests", "helpers", "planted_library.dll"), module + ".dll")
        script = os.path.join(self.folder, "probe.lua")
        with open(script, "w", encoding="utf-8") as f:
            f.write('assert(GLibTab.version:Get("GetFileVersionInfoSizeW", "uint"))\n'
                    'assert(DllManager.Load("uxtheme.dll"))\n'
                    'assert(not pcall(require, "planted_module"))\n')
        nebscript = neb.stage(neb.build_path("tools", "nebscript", "nebscript.exe"))
        shutil.copy2(nebscript, self.folder)
        result = neb.run(os.path.join(self.folder, "nebscript.exe"), [neb.windows_path(script)],
                         cwd=self.folder, WINEDLLOVERRIDES=self.overrides)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.loaded(), [])


class FullPathLoadTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _c_drive_folder(self, c_drive_tmp_path):
        self.c_drive_folder = c_drive_tmp_path

    def test_a_library_loaded_by_its_path_finds_the_libraries_beside_it(self):
        # As the payload's own libraries are loaded: from their folder, which
        # is neither the program's folder nor the current folder.
        folder = self.c_drive_folder
        for name in ("peer_caller.dll", "bridge_peer.dll"):
            shutil.copy2(neb.build_path("tests", "helpers", name), folder)
        caller = neb.lua_string(neb.windows_path(os.path.join(folder, "peer_caller.dll")))
        result = neb.run_lua('print((GLibTab[%s]:Get("CallerAnswer", "int")()))\n'
                             'print(DllManager.Load(%s) ~= nil)' % (caller, caller))
        self.assertEqual(result.stdout.splitlines(), ["43", "true"], result.stderr[-2000:])


if __name__ == "__main__":
    unittest.main()
