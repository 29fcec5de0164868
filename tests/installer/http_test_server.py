"""Loopback HTTP server for the download tests: serves the files below a folder (GET and HEAD) and a
few answers that go wrong on purpose.

    /empty            200 with an empty body
    /stall            a long body of which only the first bytes ever come
    /broken           a body that ends before its Content-Length
    /nolength/<path>  the file without a Content-Length (the connection closes after it)
    /redirect/<path>  302 to /<path>
    /location/<url>   302 to <url> (any scheme, any server)

Requests in the absolute form that a client sends to a proxy ("GET http://host/path") are served as
requests for their path, so a program that cannot be told the server can be sent here through
http_proxy.

Usage: http_test_server.py PORT ROOT [--tls CERT KEY] [--hold] [--rate BYTES_PER_SECOND]
    --tls   serve HTTPS with that certificate and key
    --hold  a GET of a file sends it without a length and then keeps the connection open for a while
    --rate  a GET of a file sends its body at about that rate
Ends by itself after a while, whatever happens.
"""
import http.server
import os
import ssl
import sys
import threading
import time
import urllib.parse

LIFETIME_SECONDS = 300
STALL_SECONDS = 60


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def parse_request(self):
        if not super().parse_request():
            return False
        if self.path.startswith(("http://", "https://")):
            parts = urllib.parse.urlsplit(self.path)
            self.path = parts.path + ("?" + parts.query if parts.query else "")
        return True

    def copyfile(self, source, outputfile):
        if not RATE:
            return super().copyfile(source, outputfile)
        piece = max(1, RATE // 20)
        try:
            while True:
                data = source.read(piece)
                if not data:
                    return
                outputfile.write(data)
                outputfile.flush()
                time.sleep(0.05)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True  # the client went away in the middle: nothing to tell

    def _special(self, with_body):
        path = self.path.split("?", 1)[0]
        if path == "/empty":
            self.send_response(200)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        if path in ("/stall", "/broken"):
            self.send_response(200)
            self.send_header("Content-Length", "1000000")
            self.end_headers()
            if with_body:
                self.wfile.write(b"PK\x03\x04012345")
                self.wfile.flush()
                if path == "/stall":
                    time.sleep(STALL_SECONDS)
                self.close_connection = True
            return True
        if path.startswith("/redirect/") or path.startswith("/location/"):
            self.send_response(302)
            if path.startswith("/redirect/"):
                self.send_header("Location", path[len("/redirect"):])
            else:
                self.send_header("Location", self.path[len("/location/"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        if path.startswith("/nolength/"):
            self._without_length(path[len("/nolength/"):], with_body, 0)
            return True
        if HOLD and with_body:
            self._without_length(path.lstrip("/"), with_body, STALL_SECONDS)
            return True
        return False

    def _without_length(self, relative, with_body, hold_seconds):
        file = os.path.join(self.directory, relative)
        if not os.path.isfile(file):
            self.send_error(404)
            return
        self.protocol_version = "HTTP/1.0"
        self.send_response(200)
        self.send_header("Connection", "close")
        self.end_headers()
        if with_body:
            with open(file, "rb") as f:
                self.wfile.write(f.read())
            self.wfile.flush()
            time.sleep(hold_seconds)
        self.close_connection = True

    def do_GET(self):
        if not self._special(True):
            super().do_GET()

    def do_HEAD(self):
        if not self._special(False):
            super().do_HEAD()


HOLD = False
RATE = 0


def main():
    global HOLD, RATE
    port = int(sys.argv[1])
    root = sys.argv[2]
    options = sys.argv[3:]
    HOLD = "--hold" in options
    if "--rate" in options:
        RATE = int(options[options.index("--rate") + 1])
    threading.Timer(LIFETIME_SECONDS, lambda: os._exit(0)).start()
    handler = lambda *a, **kw: Handler(*a, directory=root, **kw)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    if "--tls" in options:
        at = options.index("--tls")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options[at + 1], options[at + 2])
        # Handshakes happen in the connection threads, so a client that never starts one blocks nobody.
        server.socket = context.wrap_socket(server.socket, server_side=True, do_handshake_on_connect=False)
    server.serve_forever()


if __name__ == "__main__":
    main()
