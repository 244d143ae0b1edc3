"""The HTTP client under Wine against real servers on loopback: a plain HTTP
server, a second one to redirect to, and an HTTPS server with a self-signed
certificate made for the run. tests/helpers/http_get.exe drives one client
through a row of requests, as the install worker does."""
import http.server
import os
import shutil
import socket
import ssl
import subprocess
import tempfile
import threading
import time
import unittest

import neb

CURLE_OK = 0
CURLE_COULDNT_CONNECT = 7
CURLE_WRITE_ERROR = 23
CURLE_OPERATION_TIMEDOUT = 28
CURLE_FILESIZE_EXCEEDED = 63
CURLE_ABORTED_BY_CALLBACK = 42
CURLE_TOO_MANY_REDIRECTS = 47

PERFORM_FAILED = "qd curl_easy_perform failed,{}"
STOPPED_IN_WRITE = "qd write_data_get_post Stop"
UNCHANGED = "unchanged"  # what http_get hands to its first request

USER_AGENT = ("Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/58.0.3029.96 Safari/537.36")
# Outside the Basic Multilingual Plane too: one character, two UTF-16 units.
TEXT_BODY = "数字 1342395\r\n安装完成 \U0001F600"
NOT_FOUND_BODY = "页面不存在 (404)"
# What the maker's service answers to the installer's number query.
QUERY_PATH, QUERY_BODY = "/api/qmdesktop.php", " +4242\r\n"


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keeps connections open for reuse
    timeout = 30

    def log_message(self, *args):
        pass

    def _answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        server = self.server
        server.requests.append({"path": self.path, "client_port": self.client_address[1],
                                "user_agent": self.headers.get("User-Agent"),
                                "extra": self.headers.get("X-Neb-Extra"), "method": self.command})
        if self.path.startswith("/echo"):
            self._answer(200, self.path.encode("ascii", "backslashreplace"))
        elif self.path == "/text":
            self._answer(200, TEXT_BODY.encode("utf-8"), [("Content-Type", "text/plain; charset=utf-8")])
        elif self.path == QUERY_PATH:
            self._answer(200, QUERY_BODY.encode("ascii"), [("Content-Type", "text/plain")])
        elif self.path == "/empty":
            self._answer(200)
        elif self.path == "/missing":
            self._answer(404, NOT_FOUND_BODY.encode("utf-8"))
        elif self.path == "/moved":
            self._answer(302, b"moved away", [("Location", server.redirect_target + "/text")])
        elif self.path == "/loop":
            self._answer(302, b"", [("Location", "/loop")])
        elif self.path == "/slow":
            self._trickle()
        elif self.path == "/stalled":
            self._stall()
        elif self.path == "/endless":
            self._endless()
        elif self.path == "/too-long":
            self._answer(200, b"7" * (64 * 1024))
        else:
            self._answer(400, b"unknown path")

    def _stall(self):
        """Headers, the first bytes of the body, then nothing for a minute."""
        self.send_response(200)
        self.send_header("Content-Length", "100")
        self.end_headers()
        try:
            self.wfile.write(b"42")
            self.wfile.flush()
            time.sleep(60)
        except OSError:
            pass
        self.close_connection = True

    def _endless(self):
        """A body without a length that does not end (until the client goes)."""
        self.send_response(200)
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        try:
            for _ in range(10000):
                self.wfile.write(b"1" * 4096)
        except OSError:
            pass

    def _trickle(self):
        """A body that arrives for 20 s, 16 bytes every 50 ms."""
        chunk, count = b"x" * 16, 400
        self.send_response(200)
        self.send_header("Content-Length", str(len(chunk) * count))
        self.end_headers()
        try:
            for _ in range(count):
                self.wfile.write(chunk)
                self.wfile.flush()
                time.sleep(0.05)
        except OSError:
            self.close_connection = True  # the client went away


class Server(http.server.ThreadingHTTPServer):
    def __init__(self, tls_context=None):
        super().__init__(("127.0.0.1", 0), Handler)
        if tls_context:
            self.socket = tls_context.wrap_socket(self.socket, server_side=True)
        self.requests = []
        self.redirect_target = ""
        self.thread = threading.Thread(target=self.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path):
        scheme = "https" if isinstance(self.socket, ssl.SSLSocket) else "http"
        return "%s://127.0.0.1:%d%s" % (scheme, self.server_address[1], path)

    def stop(self):
        self.shutdown()
        self.server_close()


def closed_port():
    """A loopback port that nothing listens on."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def self_signed_context(folder):
    """A server context with a certificate made now, for a name that is not
    the address the client asks for."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=neb-self-signed.invalid", "-keyout", key, "-out", cert],
                   check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def fetch(*urls, stop=None, first_header=None):
    """Runs http_get: ([(code, text)] one per request, its debugger lines)."""
    args = {None: [], "before": ["--stop-before"], "during": ["--stop-after-ms", "500"]}[stop]
    if first_header:
        args += ["--header-first", first_header]
    result = neb.run(neb.build_path("tests", "helpers", "http_get.exe"), args + list(urls), timeout=120)
    if result.returncode != 0:
        raise RuntimeError("http_get failed (%d): %s" % (result.returncode, result.stderr[-2000:]))
    answers = []
    for line in result.stdout.splitlines():
        code, body = line.split(" ")
        answers.append((int(code[len("code="):]), bytes.fromhex(body[len("body="):]).decode("utf-16-be")))
    return answers, result.debug


class HttpClientCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="neb-http-")
        cls.http = Server()
        cls.other = Server()
        cls.https = Server(self_signed_context(cls.folder))
        cls.http.redirect_target = cls.other.url("")
        cls.https.redirect_target = cls.other.url("")

    @classmethod
    def tearDownClass(cls):
        for server in (cls.http, cls.other, cls.https):
            server.stop()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def setUp(self):
        for server in (self.http, self.other, self.https):
            server.requests.clear()

    def test_single_requests(self):
        refused = "http://127.0.0.1:%d/text" % closed_port()
        cases = [
            # name, URL, code, text handed back
            ("plain text", self.http.url("/text"), CURLE_OK, TEXT_BODY),
            ("self-signed HTTPS", self.https.url("/text"), CURLE_OK, TEXT_BODY),
            ("redirect to another server", self.http.url("/moved"), CURLE_OK, TEXT_BODY),
            ("redirect from HTTPS to HTTP", self.https.url("/moved"), CURLE_OK, TEXT_BODY),
            ("empty body", self.http.url("/empty"), CURLE_OK, ""),
            ("error page", self.http.url("/missing"), CURLE_OK, NOT_FOUND_BODY),
            ("connection refused", refused, CURLE_COULDNT_CONNECT, UNCHANGED),
            ("redirect loop", self.http.url("/loop"), CURLE_TOO_MANY_REDIRECTS, UNCHANGED),
        ]
        for name, url, code, text in cases:
            with self.subTest(name):
                answers, debug = fetch(url)
                self.assertEqual(answers, [(code, text)])
                self.assertEqual(debug.count(PERFORM_FAILED), 0 if code == CURLE_OK else 1, debug)

    def test_requests_are_gets_with_the_browser_user_agent(self):
        fetch(self.https.url("/moved"))
        seen = self.https.requests + self.other.requests
        self.assertEqual([(r["method"], r["path"]) for r in seen], [("GET", "/moved"), ("GET", "/text")])
        self.assertEqual({r["user_agent"] for r in seen}, {USER_AGENT})

    def test_a_header_list_is_sent_only_with_the_request_that_gives_it(self):
        text = self.http.url("/text")
        answers, _ = fetch(text, text, first_header="X-Neb-Extra: 安装")
        self.assertEqual(answers, [(CURLE_OK, TEXT_BODY)] * 2)
        self.assertEqual([r["extra"] for r in self.http.requests], ["安装".encode("utf-8").decode("latin-1"), None])

    def test_non_ascii_reaches_the_server_as_upper_case_escapes(self):
        # "一" ends in the byte 0x80; "%41" and "&" are sent as they are.
        url = self.http.url("/echo?name=安装一号&size=%41")
        expected = "/echo?name=%E5%AE%89%E8%A3%85%E4%B8%80%E5%8F%B7&size=%41"
        answers, _ = fetch(url)
        self.assertEqual(answers, [(CURLE_OK, expected)])
        self.assertEqual([r["path"] for r in self.http.requests], [expected])

    def test_a_failed_request_drops_the_handle_and_the_next_one_starts_afresh(self):
        text = self.http.url("/text")
        refused = "http://127.0.0.1:%d/text" % closed_port()
        answers, _ = fetch(text, text, refused, text)
        self.assertEqual(answers, [(CURLE_OK, TEXT_BODY), (CURLE_OK, TEXT_BODY),
                                   (CURLE_COULDNT_CONNECT, TEXT_BODY), (CURLE_OK, TEXT_BODY)])
        ports = [r["client_port"] for r in self.http.requests]
        self.assertEqual(len(ports), 3)
        self.assertEqual(ports[0], ports[1], "a kept handle reuses its connection")
        self.assertNotEqual(ports[2], ports[0], "the handle after the failure is a new one")

    def test_stop_before_a_request_aborts_it(self):
        # The progress callback runs as soon as the connection is under way,
        # before any data can arrive, so the write callback is never reached.
        answers, debug = fetch(self.http.url("/text"), stop="before")
        self.assertEqual(answers, [(CURLE_ABORTED_BY_CALLBACK, UNCHANGED)])
        self.assertIn(PERFORM_FAILED, debug)
        self.assertNotIn(STOPPED_IN_WRITE, debug)

    def test_a_stalled_server_is_given_up_after_a_short_time_without_progress(self):
        # The server holds the rest of the body back for a minute and then
        # closes (which would give a partial-file error): the time-out code
        # shows that the client gave up first.
        answers, debug = fetch(self.http.url("/stalled"), self.http.url(QUERY_PATH))
        self.assertEqual(answers, [(CURLE_OPERATION_TIMEDOUT, UNCHANGED), (CURLE_OK, QUERY_BODY)])

    def test_a_body_beyond_the_bound_fails_the_request(self):
        answers, debug = fetch(self.http.url("/too-long"), self.http.url("/endless"), self.http.url("/text"))
        self.assertEqual(answers, [(CURLE_FILESIZE_EXCEEDED, UNCHANGED), (CURLE_WRITE_ERROR, UNCHANGED),
                                   (CURLE_OK, TEXT_BODY)])
        self.assertEqual(debug.count("qd write_data_get_post too long"), 1, debug)

    def test_stop_while_data_arrives_ends_the_transfer_in_the_write_callback(self):
        answers, debug = fetch(self.http.url("/slow"), stop="during")
        self.assertEqual(answers, [(CURLE_WRITE_ERROR, UNCHANGED)])
        self.assertEqual(debug.count(STOPPED_IN_WRITE), 1, debug)
        self.assertIn(PERFORM_FAILED, debug)


if __name__ == "__main__":
    unittest.main()
