"""Processor faults reach a program's exception handlers as Windows reports
them: the exception code, its address and its parameters
(tests/helpers/fault_probe.exe), and the page-fault guards answer. Under
the 32-bit lane's qemu this holds only with the trap numbers that
deps/lane32/trap_fix.c fills in; without them an access violation arrives
as an illegal instruction and IsBadReadPtr ends the program."""
import unittest

import neb

EXPECTED = [
    "read: code c0000005 at +0 params 0 target",
    "write: code c0000005 at +0 params 1 target",
    "breakpoint: code 80000003 at +0",
    "divide: code c0000094 at +0",
    "invalid opcode: code c000001d at +0",
    "privileged: code c0000096 at +0",
    "debug service: code 80000003 at +3",
    "IsBadReadPtr unmapped 1",
    "IsBadReadPtr readable 0",
    "IsBadWritePtr read-only 1",
    "IsBadWritePtr writable 0",
]


class FaultTest(unittest.TestCase):
    def test_faults_as_windows_reports_them(self):
        result = neb.run(neb.build_path("tests", "helpers", "fault_probe.exe"), WINEDEBUG="-all")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        lines = result.stdout.splitlines()
        for number, expected in enumerate(EXPECTED):
            with self.subTest(expected.split(":")[0]):
                self.assertEqual(lines[number] if number < len(lines) else None, expected)


if __name__ == "__main__":
    unittest.main()
