"""Processor faults reach a program's exception handlers as Windows reports
them: the exception code, its address and its parameters
(tests/helpers/fault_probe.exe), and the page-fault guards answer. Under
the 32-bit lane's qemu this holds only with the trap numbers that
deps/lane32/trap_fix.c fills in; without them an access violation arrives
as an illegal instruction and IsBadReadPtr ends the program. An exception
that escapes a program ends it through the programs' own handler."""
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


class UncaughtExceptionTest(unittest.TestCase):
    """An exception that escapes a program ends it through the programs' own
    handler (base/terminate_handler.cpp, linked in place of the C++
    library's): a debugger line naming what escaped, then abort's exit code
    3. The exception also has to unwind to the program's end for this."""

    CASES = [
        ("runtime_error", "qd terminate called after an uncaught exception: uncaught probe\r\n"),
        ("int", "qd terminate called after an uncaught exception of a type not derived from "
                "std::exception\r\n"),
        ("none", "qd terminate called without an active exception\r\n"),
    ]

    def test_the_debugger_line_and_the_abort(self):
        for kind, line in self.CASES:
            with self.subTest(kind):
                result = neb.run(neb.build_path("tests", "helpers", "uncaught_throw.exe"), [kind])
                self.assertEqual(result.returncode, 3, result.stdout + result.stderr)
                self.assertIn(line, neb.debug_lines(result.stderr))


if __name__ == "__main__":
    unittest.main()
