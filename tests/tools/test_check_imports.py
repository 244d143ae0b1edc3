"""The import check that runs after every link (tools/check_imports.py),
against small programs linked here for both targets: with lazy imports made
by cmake/make_lazy_import.sh it accepts the program and points its lazy-import
directory at the table; with a lazy library as dlltool makes it, whose load
thunks the i386 linker drops, and with a system library imported directly,
it refuses the program and deletes it."""
import os
import shutil
import subprocess
import tempfile
import unittest

import pefile

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHECK = os.path.join(SOURCE_DIR, "tools", "check_imports.py")
MAKE_LAZY = os.path.join(SOURCE_DIR, "cmake", "make_lazy_import.sh")
TABLE_END = os.path.join(SOURCE_DIR, "base", "lazy_import_table_end.S")
ALLOWED = ["KERNEL32.dll", "msvcrt.dll", "ntdll.dll"]
TRIPLES = ["i686-w64-mingw32", "x86_64-w64-mingw32"]

PROGRAM = r"""
#include <windows.h>
int main(void) {
  SECURITY_DESCRIPTOR sd;
  return InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ? 0 : 1;
}
"""


class CheckImportsTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="neb-check-imports-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        with open(os.path.join(self.work, "program.c"), "w") as f:
            f.write(PROGRAM)

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def raw_dlltool_library(self, triple):
        """advapi32's lazy library as dlltool alone makes it."""
        folder = self.path("raw-" + triple)
        os.makedirs(folder)
        name = "InitializeSecurityDescriptor@8" if triple.startswith("i686") else "InitializeSecurityDescriptor"
        with open(self.path("advapi32.def"), "w") as f:
            f.write("LIBRARY ADVAPI32.dll\nEXPORTS\n%s\n" % name)
        kill_at = ["--kill-at"] if triple.startswith("i686") else []
        subprocess.run([triple + "-dlltool", *kill_at, "--input-def", self.path("advapi32.def"),
                        "--output-delaylib", os.path.join(folder, "libadvapi32.a")], check=True)
        return folder

    def project_library(self, triple):
        folder = self.path("lazy-" + triple)
        os.makedirs(folder)
        subprocess.run(["bash", MAKE_LAZY, triple, "advapi32", os.path.join(folder, "libadvapi32.a")], check=True)
        return folder

    def link(self, triple, library_folder, name):
        program, link_map = self.path(name + ".exe"), self.path(name + ".map")
        command = [triple + "-gcc", "-O2", self.path("program.c"), TABLE_END, "-o", program,
                   "-Wl,-Map=" + link_map]
        if library_folder:
            command[1:1] = ["-L" + library_folder]
        subprocess.run(command + ["-ladvapi32"], check=True)
        return program, link_map

    def check(self, program, link_map):
        return subprocess.run(["/usr/bin/python3", CHECK, program, link_map, "--allow", *ALLOWED],
                              capture_output=True, text=True)

    def test_project_lazy_libraries_pass_and_get_their_directory(self):
        for triple in TRIPLES:
            with self.subTest(triple=triple):
                program, link_map = self.link(triple, self.project_library(triple), "good-" + triple)
                result = self.check(program, link_map)
                self.assertEqual(result.returncode, 0, result.stderr)
                pe = pefile.PE(program)
                self.assertEqual([entry.dll for entry in pe.DIRECTORY_ENTRY_DELAY_IMPORT], [b"ADVAPI32.dll"])
                self.assertEqual([i.name for i in pe.DIRECTORY_ENTRY_DELAY_IMPORT[0].imports],
                                 [b"InitializeSecurityDescriptor"])

    def test_refused_programs_are_deleted(self):
        cases = [
            # (name, triple, library folder maker, text the refusal names)
            ("dropped thunks", "i686-w64-mingw32", self.raw_dlltool_library, "not a load thunk"),
            ("direct import", "i686-w64-mingw32", lambda triple: None, "ADVAPI32.dll is imported directly"),
            ("direct import", "x86_64-w64-mingw32", lambda triple: None, "ADVAPI32.dll is imported directly"),
        ]
        for index, (name, triple, library, refusal) in enumerate(cases):
            with self.subTest(name, triple=triple):
                program, link_map = self.link(triple, library(triple), "bad%d" % index)
                result = self.check(program, link_map)
                self.assertEqual(result.returncode, 1)
                self.assertIn(refusal, result.stderr)
                self.assertFalse(os.path.exists(program))


if __name__ == "__main__":
    unittest.main()
