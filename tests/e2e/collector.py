#!/usr/bin/env python3
"""A local statistics collector: takes UDP datagrams and HTTP requests on
loopback and records each one, in the order they arrive.

As a module: Collector() starts both listeners on free ports (the HTTP one
over TLS when given a server context); received() gives the records. As a
program (for the main job):

    collector.py RECORD_FILE

prints "udp PORT" and "http PORT" once it listens, then appends one JSON
line per record to RECORD_FILE until it is stopped.

A record is {"via": "udp", "data": text} or {"via": "http", "method": ...,
"path": ..., "headers": {...}, "body": text}.
"""
import http.server
import json
import socket
import socketserver
import sys
import threading

LOOPBACK = "127.0.0.1"


class Collector:
    def __init__(self, on_record=None, tls_context=None):
        self._records = []
        self._lock = threading.Lock()
        self._arrived = threading.Condition(self._lock)
        self._on_record = on_record
        self._udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self._udp.bind((LOOPBACK, 0))
        self.udp_port = self._udp.getsockname()[1]
        self._http = _HttpServer((LOOPBACK, 0), _Handler, self)
        if tls_context:
            self._http.socket = tls_context.wrap_socket(self._http.socket, server_side=True)
        self.http_port = self._http.server_address[1]
        self._threads = [threading.Thread(target=self._serve_udp, daemon=True),
                         threading.Thread(target=self._http.serve_forever, daemon=True)]
        for thread in self._threads:
            thread.start()

    def record(self, entry):
        with self._lock:
            self._records.append(entry)
            self._arrived.notify_all()
        if self._on_record:
            self._on_record(entry)

    def received(self, count=0, timeout=10):
        """The records so far, after waiting up to `timeout` seconds for at
        least `count` of them."""
        with self._lock:
            self._arrived.wait_for(lambda: len(self._records) >= count, timeout)
            return list(self._records)

    def _serve_udp(self):
        while True:
            try:
                data, _ = self._udp.recvfrom(65536)
            except OSError:
                return
            self.record({"via": "udp", "data": data.decode("utf-8", "replace")})

    def close(self):
        self._http.shutdown()
        self._http.server_close()
        self._udp.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class _HttpServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True

    def __init__(self, address, handler, collector):
        self.collector = collector
        super().__init__(address, handler)


class _Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        self.server.collector.record({"via": "http", "method": "POST", "path": self.path,
                                      "headers": dict(self.headers.items()),
                                      "body": body.decode("utf-8", "replace")})
        self.send_response(200)
        self.send_header("Content-Length", "2")
        self.end_headers()
        self.wfile.write(b"ok")

    def log_message(self, *args):
        pass


def unused_ports(count=2):
    """Loopback ports that nothing listens on (for as long as nothing
    else takes them)."""
    sockets = [socket.socket() for _ in range(count)]
    for s in sockets:
        s.bind((LOOPBACK, 0))
    ports = [s.getsockname()[1] for s in sockets]
    for s in sockets:
        s.close()
    return ports


def main():
    record_file = sys.argv[1]

    def append(entry):
        with open(record_file, "a", encoding="utf-8") as f:
            f.write(json.dumps(entry, ensure_ascii=False) + "\n")

    collector = Collector(on_record=append)
    print("udp %d" % collector.udp_port)
    print("http %d" % collector.http_port, flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()
