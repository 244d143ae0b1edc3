"""The native call bridge through nebscript under Wine: RawBuffer, GLibTab,
DllManager and calls into real system functions. The Lua files in lua/ hold
the cases next to their expected values and print one line per case."""
import os
import re
import unittest

import pytest

import neb

LUA_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lua")
PEER = neb.build_path("tests", "helpers", "bridge_peer.dll")
ENV_NAME = "NEB_BRIDGE_TEST_VALUE"
ENV_VALUE = "bridge 值 value"
UNKNOWN_ARGUMENT_TYPE = "unknow argument type"
WINE_CHANNEL_LINE = re.compile(r"^[0-9a-f]+:(err|warn|fixme|trace):")


class BridgeCase(unittest.TestCase):
    def run_cases(self, script, args=(), **extra_env):
        result = neb.run_script(os.path.join(LUA_DIR, script), args, **extra_env)
        lines = result.stdout.splitlines()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr[-3000:])
        self.assertEqual(lines[-1:], ["done"], result.stdout)
        for line in lines[:-1]:
            with self.subTest(line.split(":")[0]):
                self.assertTrue(line.startswith("ok "), line)
        return result


class RawBufferTest(BridgeCase):
    def test_reads_writes_and_limits(self):
        self.run_cases("raw_buffer.lua")


class NativeCallTest(BridgeCase):
    @pytest.fixture(autouse=True)
    def _scratch(self, tmp_path):
        self.scratch = str(tmp_path)

    def test_libraries_bindings_and_calls(self):
        output = os.path.join(self.scratch, "written.txt")
        result = self.run_cases(
            "native_call.lua",
            [neb.windows_path(PEER), ENV_NAME, ENV_VALUE, neb.windows_path(output)],
            **{ENV_NAME: ENV_VALUE})
        with open(output, "rb") as f:
            self.assertEqual(f.read(), b"bridge")
        # Get's refusals each leave their line for whoever watches the debugger.
        self.assertIn("qd if (nullptr == pfn)", result.debug)
        self.assertIn("qd if (nullptr == phMod)", result.debug)


# Arguments a native function cannot be given: the call raises a script
# error, which nebscript reports on standard error with exit code 1.
REFUSED_ARGUMENTS = [
    ("a table", "{}", UNKNOWN_ARGUMENT_TYPE),
    ("a function", "print", UNKNOWN_ARGUMENT_TYPE),
    ("a coroutine", "coroutine.create(print)", UNKNOWN_ARGUMENT_TYPE),
    ("more words than any function takes", "table.unpack({}, 1, 257)", "too many arguments"),
]


class RefusedArgumentTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _scratch(self, tmp_path):
        self.scratch = str(tmp_path)

    def test_arguments_without_a_word_raise_the_script_error(self):
        for name, argument, message in REFUSED_ARGUMENTS:
            with self.subTest(name):
                script = os.path.join(self.scratch, "refused.lua")
                with open(script, "w", encoding="utf-8") as f:
                    f.write('local f = GLibTab.kernel32:Get("lstrlenA", "int")\n'
                            'f(%s)\nprint("not reached")\n' % argument)
                result = neb.run_script(script)
                self.assertEqual(result.returncode, 1)
                self.assertNotIn("not reached", result.stdout)
                report = [line for line in result.stderr.split("\n")
                          if not WINE_CHANNEL_LINE.match(line)]
                # The library puts the script position in front where the
                # chunk has line information.
                self.assertRegex(report[0], r"(^|: )%s$" % re.escape(message))
                self.assertEqual(report[1], "      <call stack>")


if __name__ == "__main__":
    unittest.main()
