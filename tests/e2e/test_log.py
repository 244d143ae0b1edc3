"""The daily install log under Wine: the dated file, appending across runs,
the line layout with its location prefix, clearing out old logs, and a log
that cannot be opened."""
import datetime
import os
import re
import unittest

import pytest

import neb
import product

LOG_NAME = "LumetricaClientInstall"
DATED_LOG = re.compile(r"^LumetricaClientInstall_(\d{4}-\d{2}-\d{2})\.log$")
# [date time.ms] [level] [thread id] [file function: line] message
LINE = re.compile(r"^\[(\d{4}-\d{2}-\d{2}) \d{2}:\d{2}:\d{2}\.\d{3}\] \[(\w+)\] \[(\d+)\] (.*)$")


def dated_name(date):
    return "%s_%s.log" % (LOG_NAME, date.isoformat())


def touch(folder, name):
    with open(os.path.join(folder, name), "w") as f:
        f.write("kept\n")


class LogWriterTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _c_drive_folder(self, c_drive_tmp_path):
        self.c_drive_folder = c_drive_tmp_path

    def setUp(self):
        self.folder = self.c_drive_folder

    def write(self, *texts, base=None):
        base = base or neb.c_drive_path(os.path.join(self.folder, LOG_NAME + ".log"))
        result = neb.run(neb.build_path("tests", "helpers", "log_writer.exe"), [base, *texts])
        self.assertEqual(result.returncode, 0, result.stderr)
        return result

    @staticmethod
    def source_lines(result):
        """The helper's report of where each write that reaches the file stands."""
        lines = {}
        for report in result.stdout.splitlines():
            what, line = report.rsplit(" at ", 1)
            lines[what] = int(line)
        return lines

    def read_log(self):
        names = [n for n in os.listdir(self.folder) if DATED_LOG.match(n)]
        self.assertEqual(len(names), 1, os.listdir(self.folder))
        with open(os.path.join(self.folder, names[0]), encoding="ascii", newline="") as f:
            text = f.read()
        self.assertTrue(text.endswith("\r\n"), text)
        return names[0], text.splitlines()

    def test_two_runs_on_one_day_append_to_one_dated_file_in_the_line_layout(self):
        before = datetime.date.today()
        first = self.source_lines(self.write("first"))
        second = self.source_lines(self.write("second", "third"))
        after = datetime.date.today()

        name, lines = self.read_log()
        file_date = DATED_LOG.match(name).group(1)
        self.assertIn(file_date, {before.isoformat(), after.isoformat()})
        expected = [
            ("info", "[log_writer.cpp WriteLines: %d] info first" % first["info first"]),
            ("error", "[log_writer.cpp WriteLines: %d] error 7-seven" % first["error"]),
            ("info", "[log_writer.cpp WriteLines: %d] info second" % second["info second"]),
            ("info", "[log_writer.cpp WriteLines: %d] info third" % second["info third"]),
            ("error", "[log_writer.cpp WriteLines: %d] error 7-seven" % second["error"]),
        ]
        parsed = [LINE.match(line) for line in lines]
        self.assertTrue(all(parsed), lines)
        self.assertEqual([(m.group(2), m.group(4)) for m in parsed], expected)
        self.assertEqual({m.group(1) for m in parsed}, {file_date})
        self.assertEqual(len({m.group(3) for m in parsed[:2]}), 1)  # one thread per run

    def test_opening_the_log_clears_out_the_older_logs_beside_it(self):
        today = datetime.date.today()
        yesterday = today - datetime.timedelta(days=1)
        for name in [dated_name(yesterday), "LumetricaClientInstall_2001-01-01.log",
                     "LumetricaClientInstall.log", "Other_2001-01-01.log"]:
            touch(self.folder, name)
        self.write("text")
        self.assertEqual(sorted(os.listdir(self.folder)), sorted([
            dated_name(yesterday), dated_name(today), "LumetricaClientInstall.log", "Other_2001-01-01.log"]))

    def test_a_log_that_cannot_be_opened_leaves_a_debug_line_and_every_write_harmless(self):
        touch(self.folder, "not_a_folder")
        base = neb.c_drive_path(os.path.join(self.folder, "not_a_folder", LOG_NAME + ".log"))
        result = self.write("lost", base=base)
        self.assertEqual(len(result.debug), 1, result.debug)
        self.assertTrue(result.debug[0].startswith("Failed opening file "), result.debug)
        self.assertIn("not_a_folder\\" + LOG_NAME + "_", result.debug[0])
        self.assertEqual(sorted(os.listdir(self.folder)), ["not_a_folder"])


class InstallerLogTest(unittest.TestCase):
    def test_start_up_opens_the_dated_log_in_the_temporary_folder(self):
        temp = neb.user_folder("Temp")
        for name in os.listdir(temp):
            if name.startswith(LOG_NAME):
                os.remove(os.path.join(temp, name))
        touch(temp, "LumetricaClientInstall_2001-01-01.log")
        touch(temp, "LumetricaClientInstall.log")
        before = datetime.date.today()
        program = neb.stage(neb.build_path("tests", "e2e", "trail_installer.exe"))
        self.assertEqual(neb.run(program, ["/InstallSlience", "true"]).returncode, 0)
        logs = [n for n in os.listdir(temp) if n.startswith(LOG_NAME)]
        self.assertEqual(len(logs), 1, logs)
        self.assertIn(logs[0], {dated_name(before), dated_name(datetime.date.today())})

    def test_script_text_is_written_as_utf8_whatever_the_code_page(self):
        # The prefix's ANSI code page holds none of these scripts: written
        # through it they would come out as "?".
        acp = neb.run_lua("print(GLibTab.kernel32:Get('GetACP', 'uint')())").stdout.strip()
        self.assertNotIn(acp, ("936", "950", "932", "949", "1251", "1253"))
        text = "安装路径：C:\\测试 Установка Ωμέγα"
        # The script's own UTF-8 bytes, written as escapes: the environment
        # that carries the settings would pass them through the code page.
        escaped = "".join("\\%d" % byte for byte in text.encode("utf-8"))
        settings = 'Lua_Logout("%s") os.exit(0)' % escaped
        log = product.daily_log_path()
        before = os.path.getsize(log) if os.path.exists(log) else 0
        program = neb.stage(neb.build_path("tests", "e2e", "collector_installer.exe"))
        self.assertEqual(neb.run(program, ["/InstallSlience", "true"], NEB_TEST_SETTINGS=settings).returncode, 0)
        with open(log, "rb") as f:
            f.seek(before)
            written = f.read()
        self.assertIn(b"] log:" + text.encode("utf-8") + b"\r\n", written)


if __name__ == "__main__":
    unittest.main()
