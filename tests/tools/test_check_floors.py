"""The floor check that runs in the build (tools/check_floors.py): it passes
the project as it is, and refuses a small tree in which a host-function
family includes the application and a control includes the window host,
naming the file and the line."""
import os
import subprocess
import sys
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CHECK = os.path.join(SOURCE_DIR, "tools", "check_floors.py")
FIXTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "floors_fixture")


def run_check(source_dir):
    return subprocess.run([sys.executable, CHECK, source_dir], capture_output=True, text=True)


class CheckFloorsTest(unittest.TestCase):
    def test_the_project_has_no_upward_include(self):
        result = run_check(SOURCE_DIR)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_an_upward_include_is_refused_with_file_and_line(self):
        result = run_check(FIXTURE)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.splitlines(), [
            os.path.join("hostapi", "upward.h") + ":4: hostapi/ may not include app/",
            os.path.join("ui", "controls", "upward.h") + ":5: the controls floor includes the host floor above it: "
            '#include "ui/host/paint_manager_ui.h"'])


if __name__ == "__main__":
    unittest.main()
