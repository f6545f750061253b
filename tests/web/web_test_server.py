#!/usr/bin/env python3
"""A web server for the tests of the check's web requests (Python 3 standard library only).

    python3 tests/web/web_test_server.py --host 127.0.0.1 --port 0 [--tls-cert F --tls-key F]

prints one line "PORT <n>" on standard output once it listens, then serves until standard
input closes (or it is killed). With --lifeline N it connects to 127.0.0.1:N instead, writes the
"PORT <n>" line there and serves until that connection closes: the tests' launcher uses that,
since a program that Wine starts gets no standard input or output of its caller. Either way a
test that ends, however it ends, ends its server. --tls-self-signed serves HTTPS with a
certificate that openssl makes for --host.

Every request is recorded, and the most requests open at once per Host header; GET /_stats
(not recorded) answers with them as JSON:
    {"requests": [{"method": ..., "path": ..., "host": ..., "user_agent": ...}, ...],
     "max_open": {"127.0.0.1:PORT": n, ...}, "open": n, "bytes_sent": {"/huge": n}}
"path" is the request target as sent, query and all; "open" counts the requests being
answered now; "bytes_sent" the body bytes each streamed path has sent so far.

Paths: /ok 200; /missing 404; /gone 410; /moved 301 to /ok; /found 302 to /ok; /loop 301 to
/loop2, which 301s to /loop; /head-405 HEAD 405, GET 200; /forbidden 403; /busy 429 with
Retry-After: 1 on its first request, then 200; /flaky 503 on its first request, then 200;
/slow 200 after 5 s (?s=N for N s); /huge 100 MB on GET, streamed until the client closes
(HEAD: 200 with its Content-Length, or ?head=N the status N); /reset resets the connection without an answer; /close
closes it without an answer; /retry-long 429 with Retry-After: 120; /redirect-to?u=URL 301 to
URL; /delay-ok?ms=N 200 after N ms. Any other path: 404. "First request" counts per server.
"""

import argparse
import json
import os
import shutil
import socket
import ssl
import struct
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

HUGE_SIZE = 100 * 1024 * 1024
CHUNK = 64 * 1024

lock = threading.Lock()
requests = []
open_now = {}
max_open = {}
open_total = 0
bytes_sent = {}
path_counts = {}


def count_path(path):
    with lock:
        path_counts[path] = path_counts.get(path, 0) + 1
        return path_counts[path]


def add_bytes(path, count):
    with lock:
        bytes_sent[path] = bytes_sent.get(path, 0) + count


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuorvaWebTestServer/1"

    def log_message(self, format, *args):  # quiet
        pass

    def setup(self):
        super().setup()
        if isinstance(self.connection, ssl.SSLSocket):
            self.connection.settimeout(30)
            self.connection.do_handshake()
            self.connection.settimeout(None)

    def handle(self):
        try:
            super().handle()
        except (OSError, ValueError):
            self.close_connection = True

    def finish(self):
        try:
            super().finish()
        except (OSError, ValueError):
            pass

    def do_GET(self):
        self.answer("GET")

    def do_HEAD(self):
        self.answer("HEAD")

    def do_POST(self):
        self.answer("POST")

    def host_key(self):
        host = self.headers.get("Host")
        if host:
            return host
        address = self.server.server_address
        return "%s:%d" % (address[0], address[1])

    def answer(self, method):
        global open_total
        parts = urlsplit(self.path)
        path = parts.path
        query = parse_qs(parts.query)
        if method == "GET" and path == "/_stats":
            with lock:
                body = json.dumps({"requests": list(requests), "max_open": dict(max_open),
                                   "open": open_total, "bytes_sent": dict(bytes_sent)})
            self.send_simple(200, body.encode(), "application/json")
            return
        host = self.host_key()
        with lock:
            requests.append({"method": method, "path": self.path, "host": host,
                             "user_agent": self.headers.get("User-Agent", "")})
            open_now[host] = open_now.get(host, 0) + 1
            max_open[host] = max(max_open.get(host, 0), open_now[host])
            open_total += 1
        try:
            self.dispatch(method, path, query)
        finally:
            with lock:
                open_now[host] -= 1
                open_total -= 1

    def send_simple(self, status, body=b"", content_type="text/plain", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD" and body:
            self.wfile.write(body)

    def redirect(self, status, location):
        self.send_simple(status, b"", headers=[("Location", location)])

    def dispatch(self, method, path, query):
        if path == "/ok":
            self.send_simple(200, b"ok\n")
        elif path == "/missing":
            self.send_simple(404, b"missing\n")
        elif path == "/gone":
            self.send_simple(410, b"gone\n")
        elif path == "/moved":
            self.redirect(301, "/ok")
        elif path == "/found":
            self.redirect(302, "/ok")
        elif path == "/loop":
            self.redirect(301, "/loop2")
        elif path == "/loop2":
            self.redirect(301, "/loop")
        elif path == "/head-405":
            self.send_simple(405 if method == "HEAD" else 200, b"get only\n")
        elif path == "/forbidden":
            self.send_simple(403, b"forbidden\n")
        elif path == "/busy":
            if count_path(path) == 1:
                self.send_simple(429, b"busy\n", headers=[("Retry-After", "1")])
            else:
                self.send_simple(200, b"ok\n")
        elif path == "/flaky":
            if count_path(path) == 1:
                self.send_simple(503, b"flaky\n")
            else:
                self.send_simple(200, b"ok\n")
        elif path == "/slow":
            time.sleep(float(query.get("s", ["5"])[0]))
            self.send_simple(200, b"slow\n")
        elif path == "/delay-ok":
            time.sleep(float(query.get("ms", ["0"])[0]) / 1000.0)
            self.send_simple(200, b"ok\n")
        elif path == "/huge":
            if method == "HEAD" and "head" in query:
                self.send_simple(int(query["head"][0]), b"")  # makes a checker ask with GET
            else:
                self.send_huge(method)
        elif path == "/reset":
            self.close_connection = True
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                       struct.pack("ii", 1, 0))
            self.connection.close()
        elif path == "/close":
            self.close_connection = True
            try:
                self.connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            self.connection.close()
        elif path == "/retry-long":
            self.send_simple(429, b"come back later\n", headers=[("Retry-After", "120")])
        elif path == "/redirect-to":
            self.redirect(301, query.get("u", ["/ok"])[0])
        else:
            self.send_simple(404, b"no such path\n")

    def send_huge(self, method):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(HUGE_SIZE))
        self.end_headers()
        if method == "HEAD":
            return
        self.close_connection = True
        chunk = b"x" * CHUNK
        left = HUGE_SIZE
        try:
            while left > 0:
                piece = chunk if left >= CHUNK else chunk[:left]
                self.wfile.write(piece)
                add_bytes("/huge", len(piece))
                left -= len(piece)
        except OSError:
            pass


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    request_queue_size = 128

    def handle_error(self, request, client_address):
        pass  # a client that went away is no error of the server's


def make_self_signed(host):
    folder = tempfile.mkdtemp(prefix="quorva-web-tls-")
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj",
                    "/CN=" + host, "-days", "1", "-keyout", key, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return folder, cert, key


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--tls-cert")
    parser.add_argument("--tls-key")
    parser.add_argument("--tls-self-signed", action="store_true",
                        help="serve HTTPS with a certificate that openssl makes for --host")
    parser.add_argument("--lifeline", type=int,
                        help="a port on 127.0.0.1 to write the PORT line to; serves until "
                        "that connection closes")
    args = parser.parse_args()

    lifeline = None
    if args.lifeline:
        # Connect first: when the launcher has gone already, there is nothing to serve.
        lifeline = socket.create_connection(("127.0.0.1", args.lifeline), timeout=30)
        lifeline.settimeout(None)

    server = Server((args.host, args.port), Handler)
    cert_folder = None
    if args.tls_self_signed:
        cert_folder, args.tls_cert, args.tls_key = make_self_signed(args.host)
    if args.tls_cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        server.socket = context.wrap_socket(server.socket, server_side=True,
                                            do_handshake_on_connect=False)
    if cert_folder:
        shutil.rmtree(cert_folder, ignore_errors=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    line = "PORT %d\n" % server.server_address[1]

    if lifeline is not None:
        lifeline.sendall(line.encode())
        while True:
            try:
                data = lifeline.recv(4096)
            except OSError:
                break
            if not data:
                break
    else:
        sys.stdout.write(line)
        sys.stdout.flush()
        try:
            while sys.stdin.buffer.read(4096):
                pass
        except (OSError, ValueError):
            pass
    # Threads still answering (a /slow request) must not keep the process alive.
    os._exit(0)


if __name__ == "__main__":
    main()
