"""The product's two libraries called the way the installer and the scripts
call them, through the native bridge: rkstat.dll against the local
collector (over HTTP, and over HTTPS with a certificate authority made and
trusted for the test), hostaid.dll against the prefix."""
import os
import shutil
import socket
import tempfile
import unittest

import pytest

import collector
import http_peer
import neb

STAT_BINDINGS = """
local lib = assert(GLibTab[arg[1]])
local function bind(name, kind) return assert(lib:Get(name, kind), name) end
stat_appid = bind("stat_appid")
stat_unionid = bind("stat_unionid")
stat_version_ex = bind("stat_version_ex")
stat_dispatch_addr = bind("stat_dispatch_addr")
stat_init = bind("stat_init", "bool")
stat_level = bind("stat_level")
stat_install_addr = bind("stat_install_addr")
stat_install = bind("stat_install", "int")
stat_http_post = bind("stat_http_post", "int")
stat_mutilaction = bind("stat_mutilaction")
stat_offline = bind("stat_offline")
stat_close = bind("stat_close")
local host, udp, http = arg[2], tonumber(arg[3]), arg[4]
function say(...) print(...) io.stdout:flush() end
"""

IDENTITY = '"appid":145,"unionid":30000,"version":"2.0.0.14","level":2'


def run_stat(test, code, udp_port, http_base):
    """Runs the bindings and `code` in the engine; the words it printed."""
    args = [neb.windows_path(neb.build_path("product", "rkstat.dll")), "127.0.0.1", str(udp_port), http_base]
    result = neb.run_lua(STAT_BINDINGS + code, args)
    test.assertEqual(result.returncode, 0, result.stderr[-2000:])
    return result.stdout.split()


class StatisticsLibraryTest(unittest.TestCase):
    def setUp(self):
        self.collector = collector.Collector()
        self.addCleanup(self.collector.close)

    def run_stat(self, code):
        return run_stat(self, code, self.collector.udp_port, "http://127.0.0.1:%d" % self.collector.http_port)

    def test_identity_then_reports_in_the_order_the_callers_keep(self):
        answers = self.run_stat("""
            say((stat_install(1)))                    -- no endpoint yet: nothing is sent
            stat_appid(145) stat_unionid(30000) stat_version_ex(2, 0, 0, 14)
            stat_dispatch_addr("127.0.0.1", udp)
            say((stat_init()))
            stat_level(2)
            stat_install_addr(host, udp)
            say((stat_install(3)))
            local codes = RawBuffer.New(8)
            codes:OffsetSetAsUInt32(0, 7) codes:OffsetSetAsUInt32(4, 4294967295)
            stat_mutilaction(codes, 2, 0)
            say((stat_http_post(http .. "/api/InstallStat", nil, 0, true)))
            local body = '{"reason":"因为"}'
            say((stat_http_post(http .. "/feedback/api/v1/feedback/add?x=1", body, #body, true)))
            stat_offline()
            stat_mutilaction(codes, 2, 0)             -- offline: not sent
            stat_close(3000)
            say((stat_install(1)), (stat_http_post(http .. "/late", nil, 0, true)))
        """)
        self.assertEqual(answers, ["0", "true", "1", "1", "1", "0", "0"])
        records = self.collector.received(4)
        self.assertEqual(len(records), 4, records)
        self.assertEqual([r["via"] for r in records[:2]], ["udp", "udp"])
        self.assertEqual(records[0]["data"], '{"event":"install",%s,"type":3}' % IDENTITY)
        self.assertEqual(records[1]["data"], '{"event":"action",%s,"codes":[7,4294967295]}' % IDENTITY)
        self.assertEqual((records[2]["path"], records[2]["body"]),
                         ("/api/InstallStat", '{"event":"report",%s,"type":3}' % IDENTITY))
        self.assertEqual(records[2]["headers"]["Content-Type"], "application/json")
        self.assertEqual((records[3]["path"], records[3]["body"]),
                         ("/feedback/api/v1/feedback/add?x=1", '{"reason":"因为"}'))

    def test_http_reports_that_are_not_sent(self):
        silent_peer = socket.socket()
        silent_peer.bind(("127.0.0.1", 0))
        silent_peer.listen(1)
        self.addCleanup(silent_peer.close)
        closed_port = collector.unused_ports(1)[0]
        cases = [
            # what the endpoint is, URL, wait for the answer, result
            ("https to a plain HTTP server", "https://127.0.0.1:%d/x" % self.collector.http_port, "true", "0"),
            ("not an address", "127.0.0.1/x", "true", "0"),
            ("nothing listens", "http://127.0.0.1:%d/x" % closed_port, "true", "0"),
            ("a peer that never answers", "http://127.0.0.1:%d/x" % silent_peer.getsockname()[1], "true", "0"),
            ("a peer that never answers, no wait", "http://127.0.0.1:%d/x" % silent_peer.getsockname()[1],
             "false", "1"),
        ]
        for label, url, wait, expected in cases:
            with self.subTest(label):
                answers = self.run_stat('say((stat_http_post("%s", nil, 0, %s)))' % (url, wait))
                self.assertEqual(answers, [expected])
        self.assertEqual(self.collector.received(), [])


def trust_root(action, der_file):
    result = neb.run(neb.build_path("tests", "helpers", "trust_root.exe"), [action, neb.windows_path(der_file)])
    assert result.returncode == 0, (action, result.returncode, result.stderr[-2000:])


class SecureReportTest(unittest.TestCase):
    """stat_http_post to https addresses. The prefix trusts a certificate
    authority made for the test, for as long as the test runs; a server
    whose certificate does not chain to a trusted root, or names another
    host, must get nothing."""

    @classmethod
    def setUpClass(cls):
        folder = tempfile.mkdtemp(prefix="neb-tls-")
        cls.addClassCleanup(shutil.rmtree, folder, ignore_errors=True)
        authority = http_peer.TestAuthority(folder)
        trust_root("add", authority.der)
        cls.addClassCleanup(trust_root, "remove", authority.der)
        issued = authority.server_context("127.0.0.1")
        cls.trusted = collector.Collector(tls_context=issued)
        cls.addClassCleanup(cls.trusted.close)
        # Answers every POST with 501: a TLS exchange that works and an
        # answer that is not 2xx.
        cls.refusing = http_peer.Server(issued)
        cls.addClassCleanup(cls.refusing.stop)
        cls.untrusted = collector.Collector(tls_context=http_peer.self_signed_context(folder, "127.0.0.1"))
        cls.addClassCleanup(cls.untrusted.close)
        cls.misnamed = collector.Collector(tls_context=authority.server_context("stat.example.invalid"))
        cls.addClassCleanup(cls.misnamed.close)

    def test_a_trusted_server_gets_the_reports(self):
        answers = run_stat(self, """
            say((stat_http_post(http .. "/api/InstallStat", nil, 0, true)))
            local body = '{"reason":"因为"}'
            say((stat_http_post(http .. "/feedback/add?x=1", body, #body, true)))
            say((stat_http_post(http .. "/no-wait", "{}", 2, false)))
        """, self.trusted.udp_port, "https://127.0.0.1:%d" % self.trusted.http_port)
        self.assertEqual(answers, ["1", "1", "1"])
        records = self.trusted.received(3)
        self.assertEqual([(r["path"], r["body"]) for r in records], [
            ("/api/InstallStat", '{"event":"report","appid":0,"unionid":0,"version":"0.0.0.0","level":0,"type":0}'),
            ("/feedback/add?x=1", '{"reason":"因为"}'),
            ("/no-wait", "{}"),
        ])
        self.assertEqual(records[1]["headers"]["Content-Type"], "application/json")

    def test_reports_that_are_not_accepted(self):
        # A server that takes the connection and never answers the handshake
        # is not among them: Wine's WinHTTP waits for the handshake without
        # the timeouts it was given.
        cases = [
            # the server, waits for the answer, result
            ("answers 501", self.refusing.server_address[1], "true", "0"),
            ("answers 501, no wait", self.refusing.server_address[1], "false", "1"),
            ("self-signed", self.untrusted.http_port, "true", "0"),
            ("self-signed, no wait", self.untrusted.http_port, "false", "0"),
            ("issued for another name", self.misnamed.http_port, "true", "0"),
            ("issued for another name, no wait", self.misnamed.http_port, "false", "0"),
        ]
        for label, port, wait, expected in cases:
            with self.subTest(label):
                code = 'say((stat_http_post("https://127.0.0.1:%d/x", "{}", 2, %s)))' % (port, wait)
                self.assertEqual(run_stat(self, code, self.trusted.udp_port, ""), [expected])
        self.assertEqual(self.untrusted.received(), [])
        self.assertEqual(self.misnamed.received(), [])


class SupportLibraryTest(unittest.TestCase):
    @pytest.fixture(autouse=True)
    def _work(self, c_drive_tmp_path):
        self.work = c_drive_tmp_path

    def call(self, code, **extra_env):
        program = "local lib = assert(GLibTab[arg[1]])\n" + code
        result = neb.run_lua(program, [neb.windows_path(neb.build_path("product", "hostaid.dll"))], **extra_env)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        return result.stdout.split()

    def test_is_os_win7_follows_the_windows_version(self):
        key = "HKCU\\Software\\Wine\\AppDefaults\\nebscript.exe"
        self.addCleanup(neb.reg, "delete", key, "/f")
        for version, expected in [("win7", "true"), ("win10", "false"), ("win81", "false")]:
            with self.subTest(version=version):
                neb.reg("add", key, "/v", "Version", "/d", version, "/f")
                self.assertEqual(self.call('print((lib:Get("IsOSWin7", "bool")()))'), [expected])

    def test_allow_account_privilege_on_a_folder(self):
        folder = neb.c_drive_path(self.work)
        code = ('print((lib:Get("AllowAccountPrivilege", "bool")(WString.New(nil, arg[2]))))\n')
        for path, expected in [(folder, "true"), (folder + "\\missing", "false"), ("", "false")]:
            with self.subTest(path=path):
                program = "local lib = assert(GLibTab[arg[1]])\n" + code
                result = neb.run_lua(program, [neb.windows_path(neb.build_path("product", "hostaid.dll")), path])
                self.assertEqual(result.stdout.split(), [expected])

    def test_unpin_removes_the_pinned_copy_of_a_quick_launch_link(self):
        quick_launch = neb.user_folder("AppData", "Roaming", "Microsoft", "Internet Explorer", "Quick Launch")
        pinned = os.path.join(quick_launch, "User Pinned", "TaskBar")
        os.makedirs(pinned, exist_ok=True)
        self.addCleanup(shutil.rmtree, quick_launch, ignore_errors=True)
        for name in ["Lumetrica.lnk", "Other.lnk"]:
            with open(os.path.join(pinned, name), "wb") as f:
                f.write(b"link")
        code = ('local unpin = lib:Get("UnpinFromTaskbar", "void")\n'
                'unpin(WString.New(nil, "%APPDATA%\\\\Microsoft\\\\Internet Explorer\\\\Quick Launch\\\\Lumetrica.lnk"))\n'
                'unpin(WString.New(nil, "%APPDATA%\\\\Microsoft\\\\Internet Explorer\\\\Quick Launch\\\\Gone.lnk"))\n'
                'print("done")\n')
        self.assertEqual(self.call(code), ["done"])
        self.assertEqual(os.listdir(pinned), ["Other.lnk"])


if __name__ == "__main__":
    unittest.main()
