"""Finding and ending real processes through the engine under Wine:
Lua_TaskKill, Lua_KillAllTaskByName, Lua_GetProcessId,
Lua_GetImagePathByPid and Lua_EnablePrivilege, against window_target
helpers that record what is posted to their window."""
import os
import shutil
import subprocess
import time
import unittest

import pytest
import uuid

import neb

WM_CLOSE = 16
WM_SYSCOMMAND = 274
SC_CLOSE = 61536
# window_target stops (printing "stopped") on this message; the window step
# tests post it last, so everything the target printed before it came from
# the call under test.
STOP_MESSAGE = 0x8001

CLOSE_REQUESTS = ["posted %d %d 0" % (WM_SYSCOMMAND, SC_CLOSE), "posted %d 0 0" % WM_CLOSE]


class WindowTarget:
    """A running window_target: its Windows process id and what it printed.

    Its standard error is not kept: the first window program of a session
    starts Wine's desktop process, which inherits that stream and keeps it
    open for as long as any window exists."""

    def __init__(self, program, window_class, mode="close", seconds=60):
        self.process = subprocess.Popen(
            [neb.WINE, program, "--class", window_class, "--mode", mode, "--seconds", str(seconds)],
            env=neb.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, encoding="utf-8", errors="replace")
        first = self.process.stdout.readline().split()
        if len(first) != 3 or first[0] != "ready":
            self.close()
            raise RuntimeError("window_target did not start: %r" % first)
        self.pid = int(first[1].split("=")[1])

    def finish(self, timeout=60):
        """Waits for the target to end: (its lines after "ready", exit code)."""
        stdout, _ = self.process.communicate(timeout=timeout)
        return stdout.splitlines(), self.process.returncode

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.process.stdout.close()


class ProcessCase(unittest.TestCase):
    def setUp(self):
        # A name and a window class of this test's own, so that nothing else
        # running in the prefix matches.
        tag = uuid.uuid4().hex[:8]
        self.exe_name = "nebtarget_%s.exe" % tag
        self.window_class = "NEBTarget_%s" % tag
        self.program = neb.stage(neb.build_path("tests", "helpers", "window_target.exe"), self.exe_name)
        self.targets = []

    def tearDown(self):
        for target in self.targets:
            target.close()
        shutil.rmtree(os.path.dirname(self.program), ignore_errors=True)

    def target(self, mode="close", program=None):
        target = WindowTarget(program or self.program, self.window_class, mode)
        self.targets.append(target)
        return target

    def lua(self, code, *args):
        result = neb.run_lua(code, [str(a) for a in args], timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return result


class EndingTest(ProcessCase):
    def test_a_window_that_closes_ends_without_termination(self):
        target = self.target("close")
        result = self.lua("print(Lua_KillAllTaskByName(arg[1]))", self.exe_name.upper())
        self.assertEqual(result.stdout.split(), ["true"])
        lines, code = target.finish()
        self.assertEqual(lines[0], CLOSE_REQUESTS[0])
        self.assertEqual(lines[-1], "closed")
        self.assertEqual(code, 7, "the target ended on its own, with its own exit code")

    def test_a_window_that_ignores_close_is_terminated_after_the_wait(self):
        target = self.target("ignore")
        started = time.monotonic()
        result = self.lua("print(Lua_TaskKill(arg[1], nil))", target.pid)
        elapsed = time.monotonic() - started
        self.assertEqual(result.stdout.split(), ["true"])
        lines, code = target.finish()
        self.assertEqual(lines, CLOSE_REQUESTS, "asked to close, and nothing from the skipped window step")
        self.assertEqual(code, 0, "terminated with exit code 0")
        self.assertGreaterEqual(elapsed, 3.0, "the close requests get 3 s before termination")

    def test_targets_that_are_not_there_count_as_ended(self):
        # An id that names no process, no id at all (-1), the idle process id,
        # and a name that matches nothing.
        for target in [999999, -1, 0, "nebtarget_nosuch.exe"]:
            with self.subTest(target=target):
                code = "print(Lua_TaskKill(%s), Lua_KillAllTaskByName(%s))" % ((neb.lua_string(str(target)),) * 2)
                self.assertEqual(self.lua(code).stdout.split(), ["true", "true"])

    def test_only_the_first_process_of_a_name_is_ended(self):
        first, second = self.target("close"), self.target("close")
        result = self.lua("print(Lua_KillAllTaskByName(arg[1]))\nprint(Lua_GetProcessId(arg[1]))",
                          self.exe_name)
        lines = result.stdout.split()
        self.assertEqual(lines[0], "true")
        self.assertEqual(len(lines), 2, "one of the two is left")
        survivor = int(lines[1])
        self.assertIn(survivor, (first.pid, second.pid))
        ended = first if survivor == second.pid else second
        self.assertEqual(ended.finish()[0][-1], "closed")


class WindowStepTest(ProcessCase):
    """Lua_TaskKill's message to a window class, with a target name that
    matches no process so that only the window step acts."""

    def posted(self, call):
        target = self.target("ignore")
        code = "print(%s)\nLua_TaskKill('nebtarget_nosuch.exe', arg[1], %d)" % (call, STOP_MESSAGE)
        result = self.lua(code, self.window_class)
        lines, code = target.finish()
        self.assertEqual(lines[-1], "stopped")
        self.assertEqual(result.stdout.split(), ["true"])
        return lines[:-1]

    def test_message_by_argument_presence(self):
        cases = [
            ("two arguments: message 0", "Lua_TaskKill('nebtarget_nosuch.exe', arg[1])", ["posted 0 0 0"]),
            ("nil message: the close command", "Lua_TaskKill('nebtarget_nosuch.exe', arg[1], nil)",
             ["posted %d %d 0" % (WM_SYSCOMMAND, SC_CLOSE)]),
            ("message and parameters", "Lua_TaskKill('nebtarget_nosuch.exe', arg[1], 32773, 5, -6)",
             ["posted 32773 5 -6"]),
            ("numeric strings", "Lua_TaskKill('nebtarget_nosuch.exe', arg[1], '32774', '7')",
             ["posted 32774 7 0"]),
            ("nil class: no window step", "Lua_TaskKill('nebtarget_nosuch.exe', nil, 32773)", []),
            ("another class", "Lua_TaskKill('nebtarget_nosuch.exe', 'NEBNoSuchClass', 32773)", []),
            ("empty class", "Lua_TaskKill('nebtarget_nosuch.exe', '', nil)", []),
        ]
        for name, call, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.posted(call), expected)


class ProcessIdTest(ProcessCase):
    def test_all_instances_in_any_letter_case_or_minus_one(self):
        first, second = self.target(), self.target()
        code = ("print(Lua_GetProcessId(arg[1]))\n"
                "print(Lua_GetProcessId('surplus', arg[1]:upper()))\n"
                "print(Lua_GetProcessId('nebtarget_nosuch.exe'))\n")
        lines = self.lua(code, self.exe_name).stdout.splitlines()
        expected = sorted([first.pid, second.pid])
        self.assertEqual(sorted(int(v) for v in lines[0].split()), expected)
        self.assertEqual(sorted(int(v) for v in lines[1].split()), expected, "name from the top")
        self.assertEqual(lines[2], "-1")


class ImagePathTest(ProcessCase):
    @pytest.fixture(autouse=True)
    def _tmp_folder(self, tmp_path):
        self.tmp_folder = str(tmp_path)

    CODE = ("local path = Lua_GetImagePathByPid('surplus', tonumber(arg[1]))\n"
            "print(select('#', Lua_GetImagePathByPid(tonumber(arg[1]))), path)\n")

    def image_path(self, pid):
        return self.lua(self.CODE, pid).stdout.rstrip("\n").split("\t")

    def test_a_process_on_drive_c(self):
        target = self.target()
        count, path = self.image_path(target.pid)
        self.assertEqual(count, "1")
        self.assertEqual(path.lower(), neb.c_drive_path(self.program).lower())

    def test_a_process_started_from_a_mapped_drive(self):
        folder = self.tmp_folder
        shutil.copy2(self.program, os.path.join(folder, self.exe_name))
        with neb.mapped_drive("D", folder):
            target = self.target(program="D:\\" + self.exe_name)
            count, path = self.image_path(target.pid)
            target.close()
        self.assertEqual(count, "1")
        self.assertEqual(path.lower(), ("D:\\" + self.exe_name).lower())

    def test_an_id_without_a_process_gives_no_value(self):
        result = self.lua("print(select('#', Lua_GetImagePathByPid(999999)), select('#', Lua_GetImagePathByPid()))")
        self.assertEqual(result.stdout.split(), ["0", "0"])


class PrivilegeTest(unittest.TestCase):
    def test_enable_privilege_reads_its_arguments_from_the_top(self):
        cases = [
            ("'SeDebugPrivilege', true", "true"),
            ("'SeDebugPrivilege', false", "true"),
            ("'SeShutdownPrivilege', 0", "true"),
            ("'SeNoSuchPrivilege', 'SeDebugPrivilege', true", "true"),
            ("'SeNoSuchPrivilege', true", "false"),
            ("'SeDebugPrivilege', true, 'SeNoSuchPrivilege', nil", "false"),
        ]
        for arguments, expected in cases:
            with self.subTest(arguments):
                result = neb.run_lua("print(Lua_EnablePrivilege(%s))" % arguments)
                self.assertEqual(result.stdout.split(), [expected])
                failed = [line for line in result.debug if "LookupPrivilegeValue failed!" in line]
                self.assertEqual(len(failed), 1 if expected == "false" else 0, result.debug)
                if failed:
                    self.assertTrue(failed[0].startswith("qd LookupPrivilegeValue failed!qd file:"))


if __name__ == "__main__":
    unittest.main()
