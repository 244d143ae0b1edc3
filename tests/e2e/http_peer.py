"""A small HTTP(S) server on loopback with the answers the HTTP client's
tests and the dialog's number query need: texts, errors, redirects, and
bodies that stall, trickle or never end."""
import http.server
import os
import socket
import ssl
import subprocess
import threading
import time

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


def _openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True)


def _server_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def self_signed_context(folder, name="neb-self-signed.invalid"):
    """A server context with a certificate made now and signed by itself;
    by default for a name that is not the address the client asks for."""
    cert, key = os.path.join(folder, "self-" + name + ".pem"), os.path.join(folder, "self-" + name + ".key")
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + name,
             "-addext", "subjectAltName=" + _alt_name(name), "-keyout", key, "-out", cert)
    return _server_context(cert, key)


def _alt_name(name):
    """The certificate's other names for `name`. An address is written both
    as an address and as a DNS name: Wine's host-name check reads the DNS
    names alone, Windows reads the address."""
    if name.replace(".", "").isdigit():
        return "DNS:%s,IP:%s" % (name, name)
    return "DNS:" + name


class TestAuthority:
    """A certificate authority made now in `folder`, which issues server
    certificates. `der` is its own certificate in DER, for a trust store."""

    def __init__(self, folder):
        self.folder = folder
        self.cert, self.key = os.path.join(folder, "ca.pem"), os.path.join(folder, "ca.key")
        self.der = os.path.join(folder, "ca.der")
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=NEB Test Root",
                 "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign",
                 "-keyout", self.key, "-out", self.cert)
        _openssl("x509", "-in", self.cert, "-outform", "DER", "-out", self.der)

    def server_context(self, name):
        """A server context with a certificate for `name` (a host name or an
        IPv4 address) issued by this authority."""
        cert, key = os.path.join(self.folder, name + ".pem"), os.path.join(self.folder, name + ".key")
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + name,
                 "-CA", self.cert, "-CAkey", self.key, "-addext", "subjectAltName=" + _alt_name(name),
                 "-addext", "basicConstraints=critical,CA:FALSE", "-addext", "extendedKeyUsage=serverAuth",
                 "-keyout", key, "-out", cert)
        return _server_context(cert, key)
