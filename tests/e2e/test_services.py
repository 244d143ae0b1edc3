"""Starting and stopping a real service through the engine under Wine:
Lua_SCM against the test_service helper, installed through the service
manager for each test."""
import subprocess
import unittest
import uuid

import neb

SERVICE_STOPPED = 1
SERVICE_START_PENDING = 2
SERVICE_STOP_PENDING = 3
SERVICE_RUNNING = 4

SCM = "print(Lua_SCM(arg[1], arg[2]))"
GAVE_UP = "qd Fun:Lua_SCM, Description: gave up waiting for state %d, the service stays in state %d\r\n"


def service_tool(*args):
    completed = subprocess.run([neb.WINE, neb.build_path("tests", "helpers", "test_service.exe"), *args],
                               env=neb.env(WINEDEBUG="-all"), capture_output=True, encoding="utf-8",
                               timeout=60)
    return completed


class ServiceCase(unittest.TestCase):
    def setUp(self):
        self.name = "NEBTestService_" + uuid.uuid4().hex[:8]
        self.installed = False

    def tearDown(self):
        if self.installed:
            service_tool("remove", self.name)

    def install(self, behaviour):
        completed = service_tool("install", self.name, behaviour)
        self.assertEqual(completed.returncode, 0, completed.stdout)
        self.installed = True

    def state(self):
        return int(service_tool("state", self.name).stdout.split()[1])

    def scm(self, action, name=None):
        # A service that never settles is given up on within seconds; the
        # timeout here only keeps a hanging run from blocking the suite.
        result = neb.run_lua(SCM, [name or self.name, action], timeout=90)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        result.answer = result.stdout.strip()
        return result


class StartStopTest(ServiceCase):
    def test_start_and_stop_in_any_letter_case(self):
        self.install("normal")
        for action, state in [("START", SERVICE_RUNNING), ("start", SERVICE_RUNNING),
                              ("Stop", SERVICE_STOPPED), ("stop", SERVICE_STOPPED), ("sTaRt", SERVICE_RUNNING)]:
            with self.subTest(action=action):
                result = self.scm(action)
                self.assertEqual(result.answer, "true")
                self.assertEqual(self.state(), state)
                self.assertEqual(result.debug, [])
        self.assertEqual(self.scm("STOP").answer, "true")

    def test_a_service_that_is_not_installed_is_true_at_once(self):
        for action in ["start", "stop", "restart"]:
            with self.subTest(action=action):
                result = self.scm(action, name="NEBTestNoSuchService")
                self.assertEqual(result.answer, "true")
                self.assertEqual(result.debug, [])

    def test_an_unknown_action_is_false_and_changes_nothing(self):
        self.install("normal")
        result = self.scm("restart")
        self.assertEqual(result.answer, "false")
        self.assertEqual(self.state(), SERVICE_STOPPED)
        self.assertEqual(result.debug[0], "qd Unknow Error in fun:Lua_SCM\r\n")
        self.assertTrue(result.debug[1].startswith("qd qd file:"), result.debug)


class BoundedWaitTest(ServiceCase):
    """A service that never reaches the wanted state is given up on once it
    has shown no progress for its wait hint plus a grace of 5 s."""

    def test_never_starting_service(self):
        self.install("never-starts")
        result = self.scm("start")
        self.assertEqual(result.answer, "false")
        self.assertEqual(result.debug, [GAVE_UP % (SERVICE_RUNNING, SERVICE_START_PENDING)])
        self.assertEqual(self.state(), SERVICE_START_PENDING)

    def test_service_that_stops_again_during_its_start(self):
        self.install("quits")
        result = self.scm("start")
        self.assertEqual(result.answer, "false")
        self.assertEqual(result.debug, [GAVE_UP % (SERVICE_RUNNING, SERVICE_STOPPED)])

    def test_service_that_never_stops(self):
        self.install("never-stops")
        self.assertEqual(self.scm("start").answer, "true")
        result = self.scm("stop")
        self.assertEqual(result.answer, "false")
        self.assertEqual(result.debug, [GAVE_UP % (SERVICE_STOPPED, SERVICE_STOP_PENDING)])


if __name__ == "__main__":
    unittest.main()
