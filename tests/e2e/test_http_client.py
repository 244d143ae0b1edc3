"""The HTTP client under Wine against real servers on loopback: a plain HTTP
server, a second one to redirect to, and an HTTPS server with a self-signed
certificate made for the run. tests/helpers/http_get.exe drives one client
through a row of requests, as the install worker does."""
import unittest

import pytest

import neb
from http_peer import NOT_FOUND_BODY, QUERY_BODY, QUERY_PATH, TEXT_BODY, Server, closed_port, self_signed_context

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
    @pytest.fixture(scope="class", autouse=True)
    def servers(self, request, tmp_path_factory):
        cls = request.cls
        cls.http = Server()
        cls.other = Server()
        cls.https = Server(self_signed_context(str(tmp_path_factory.mktemp("certificate"))))
        cls.http.redirect_target = cls.other.url("")
        cls.https.redirect_target = cls.other.url("")
        yield
        for server in (cls.http, cls.other, cls.https):
            server.stop()

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
