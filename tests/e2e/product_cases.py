"""The base of the suites that install the sample product (silent installs,
uninstalls, what the elevated programs touch): a prefix without the
product before and after each test, the installer and the uninstaller run
the way the suites run them, and a local statistics collector per test.

The classes are plain pytest classes, so that a whole class can run once
per installer variant (`VARIANTS`) and share one install across checks that
only read it (`shared_install`). `Checks` gives them unittest's assertion
methods, cleanups and sub-tests."""
import contextlib
import os
import re
import shutil
import subprocess
import time
import unittest

import pytest

import collector
import neb
import product

SILENT = ["/InstallSlience", "true"]
FOLDER = product.DEFAULT_FOLDER

# Runs a class once with the installer of the build and once with the same
# product's installer made by nebpack.
VARIANTS = pytest.mark.parametrize("variant", [product.DEFAULT_VARIANT, product.NEBPACK_VARIANT],
                                   ids=["built", "nebpack"], indirect=True)

_checker = unittest.TestCase()
_checker.maxDiff = None


class Checks:
    """unittest's assert* methods, addCleanup (run after the test, last
    added first) and subTest, for plain pytest classes."""

    @pytest.fixture(autouse=True)
    def _cleanups(self, request):
        self._request = request

    def addCleanup(self, function, *args, **kwargs):
        self._request.addfinalizer(lambda: function(*args, **kwargs))

    @contextlib.contextmanager
    def subTest(self, label=None, **params):
        """Names the case in the failure; a failure ends the test."""
        try:
            yield
        except AssertionError as failure:
            raise AssertionError("%s%s: %s" % (label + " " if label else "", params, failure)) from failure

    def __getattr__(self, name):
        if name.startswith("assert") or name == "fail":
            return getattr(_checker, name)
        raise AttributeError(name)


def reset_system():
    """The prefix without the product: no process, service, record, file,
    link or user data of it."""
    neb.run_lua("Lua_KillAllTaskByName('Lumetrica.exe')")
    neb.run(neb.build_path("product", "LumetricaServer.exe"), ["--UnInstallTask"])
    for key in ["HKLM\\" + product.PRODUCT_KEY, "HKCU\\" + product.PRODUCT_KEY,
                "HKLM\\" + product.UNINSTALL_KEY]:
        neb.reg("delete", key, "/f")
    for key in [product.RUN_KEY, product.APPROVED_RUN_KEY]:
        neb.reg("delete", key, "/v", "Lumetrica", "/f")
    for path in [product.unix_path(FOLDER), product.start_menu_folder(),
                 neb.user_folder("AppData", "Local", "Lumetrica")]:
        shutil.rmtree(path, ignore_errors=True)
    desktop_link = product.shortcut_files()["desktop"]
    if os.path.exists(desktop_link):
        os.remove(desktop_link)


def install(collector_records, variant, args=SILENT, name="setup.exe", settings=None, endpoints=None,
            timeout=180, **extra_env):
    """Runs a fresh copy of the installer; the result carries the scripts'
    log lines of this run and the seconds it took."""
    log_before = len(product.daily_log())
    env = dict(endpoints or product.collector_env(collector_records))
    if settings:
        env["NEB_TEST_SETTINGS"] = settings
    env.update(extra_env)
    started = time.monotonic()
    result = neb.run(product.installer(name, variant), args, timeout=timeout, **env)
    result.seconds = time.monotonic() - started
    result.script_log = product.script_log_lines(product.daily_log()[log_before:])
    return result


def lua_long_string(text):
    return "[==[" + text + "]==]"


class ProductCase(Checks):
    """Each test starts from a prefix without the product and leaves none,
    with `self.work`, a fresh folder of its own. `self.VARIANT` names the
    installer it runs unless a test names another (the `variant` parameter
    of a class marked with VARIANTS)."""

    VARIANT = product.DEFAULT_VARIANT

    @pytest.fixture(scope="class")
    def variant(self, request):
        return getattr(request, "param", request.cls.VARIANT)

    @pytest.fixture(autouse=True)
    def _fresh_system(self, _cleanups, variant, tmp_path):
        self.VARIANT = variant
        self.work = str(tmp_path)
        self.reset_system()
        self.addCleanup(self.reset_system)
        self.fresh_collector()

    def fresh_collector(self):
        self.collector = collector.Collector()
        self.addCleanup(self.collector.close)

    def reset_system(self):
        reset_system()

    def install(self, args=SILENT, name="setup.exe", settings=None, endpoints=None, timeout=180,
                variant=None, **extra_env):
        return install(self.collector, variant or self.VARIANT, args, name, settings, endpoints, timeout,
                       **extra_env)

    def start_product(self):
        process = neb.start(product.unix_path(FOLDER + "\\Lumetrica.exe"), ["/menu"])

        def end():
            if process.poll() is None:
                process.kill()
            process.communicate(timeout=60)
        self.addCleanup(end)
        return process

    def assertInstalledIn(self, folder):
        self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), folder)
        self.assertTrue(os.path.isfile(os.path.join(product.unix_path(folder), "Lumetrica.exe")))

    def union_ids(self):
        return [product.record(root, product.PRODUCT_KEY, value)
                for root in ("HKLM", "HKCU") for value in ("UnionId", "OEMUnionId")]

    def stat_records(self, count):
        return self.collector.received(count)

    def make_archive(self, leave_out=(), name="pack.7z"):
        """A plain 7z archive of the product's files, without some of them."""
        stage = os.path.join(self.work, "stage")
        shutil.rmtree(stage, ignore_errors=True)
        shutil.copytree(neb.build_path("product", "payload"), stage)
        for file_name in leave_out:
            os.remove(os.path.join(stage, file_name))
        archive = os.path.join(self.work, name)
        subprocess.run(["7zz", "a", "-t7z", "-m0=lzma2", "-ms=on", "-bd", "-bso0", archive, "."],
                       cwd=stage, check=True)
        return archive

    def pack_file_settings(self, archive):
        return "InstallPackFile = " + lua_long_string(neb.windows_path(archive))


class SharedInstallCase(ProductCase):
    """One silent install serves every test of the class, which only reads
    what it left (or puts back what it changed): the system is reset before
    the install and after the last test. `self.installed` is the install's
    result, with the statistics records it sent (`stat_records`)."""

    @pytest.fixture(scope="class")
    def _shared_install(self, variant):
        reset_system()
        with collector.Collector() as records:
            result = install(records, variant)
            # The shipped program's reports go to its deployment hosts.
            result.stat_records = [] if variant == product.SHIPPED_VARIANT else records.received(2)
        yield result
        reset_system()

    @pytest.fixture(autouse=True)
    def _fresh_system(self, _cleanups, variant, _shared_install, tmp_path):
        self.VARIANT = variant
        self.installed = _shared_install
        self.work = str(tmp_path)
        self.fresh_collector()


def uninstall_log():
    path = neb.user_folder("Temp", "LumetricaClientUninstall_%s.log" % time.strftime("%Y-%m-%d"))
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().splitlines()


SESSION_MANAGER = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"


def pending_deletions():
    """The paths that are to be deleted at the next restart, lower case."""
    pending = neb.reg_query(SESSION_MANAGER, "PendingFileRenameOperations") or ""
    return pending.lower()


def temporary_copies():
    """The uninstaller copies in the system's temporary folder, as Windows
    paths."""
    temp = os.path.join(neb.PREFIX, "drive_c", "windows", "temp")
    return [neb.c_drive_path(os.path.join(temp, name, "Uninstall.exe")) for name in os.listdir(temp)
            if re.fullmatch(r"Lun[0-9A-Fa-f]+\.tmp", name) and os.path.exists(os.path.join(temp, name, "Uninstall.exe"))]


class UninstallChecks:
    """The uninstaller run the way the suites run it, and what must remain
    of the product after it."""

    def uninstall(self, args=("/S",), timeout=180, **extra_env):
        """Runs the installed uninstaller and waits for it and the copy it
        starts. The result carries the starter's exit code, whether the
        whole tree ended, and the scripts' log lines of this run."""
        log_before = len(uninstall_log())
        env = dict(product.collector_env(self.collector))
        env.update(extra_env)
        result = neb.run(neb.build_path("tests", "helpers", "run_tree.exe"),
                         [str(timeout), FOLDER + "\\Uninstall.exe", *args], timeout=timeout + 30, **env)
        exit_line = [line for line in result.stdout.splitlines() if line.startswith("exit ")]
        result.exit_code = int(exit_line[0].split()[1]) if exit_line else None
        result.tree_ended = "tree ended" in result.stdout
        result.log = uninstall_log()[log_before:]
        result.script_log = product.script_log_lines(result.log)
        return result

    def installed_files(self):
        folder = product.unix_path(FOLDER)
        return product.installed_tree(folder) if os.path.isdir(folder) else []

    def assertNothingOfTheProductRemains(self):
        self.assertEqual(self.installed_files(), [])
        for key in ["HKLM\\" + product.PRODUCT_KEY, "HKCU\\" + product.PRODUCT_KEY,
                    "HKLM\\" + product.UNINSTALL_KEY]:
            self.assertFalse(neb.reg_key_exists(key), key)
        for name, path in product.shortcut_files().items():
            self.assertFalse(os.path.exists(path), name)
        self.assertFalse(os.path.exists(product.start_menu_folder()))
        self.assertIsNone(product.service_state())
        self.assertIsNone(product.run_value())
        self.assertIsNone(neb.reg_query(product.APPROVED_RUN_KEY, "Lumetrica"))
        pending = pending_deletions()
        for copy in temporary_copies():
            self.assertIn(copy.lower(), pending)

    def assertEverythingInstalledRemains(self, files):
        self.assertEqual(self.installed_files(), files)
        self.assertEqual(product.record("HKLM", product.UNINSTALL_KEY, "InstallLocation"), FOLDER)
        self.assertIsNotNone(product.run_value())
        self.assertEqual(product.service_state(), "running")

    def uninstall_reports(self, count):
        """UDP data and (path, body) of HTTP posts the collector received."""
        records = self.collector.received(count)
        return ([r["data"] for r in records if r["via"] == "udp"],
                [(r["path"], r["body"]) for r in records if r["via"] == "http"])


class UninstallCase(UninstallChecks, ProductCase):
    pass
