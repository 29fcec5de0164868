"""Loopback HTTP server for the download tests: serves the files below a folder (GET and HEAD) and a
few answers that go wrong on purpose.

    /empty            200 with an empty body
    /stall            a long body of which only the first bytes ever come
    /broken           a body that ends before its Content-Length
    /nolength/<path>  the file without a Content-Length (the connection closes after it)
    /redirect/<path>  302 to /<path>

Usage: http_test_server.py PORT ROOT. Ends by itself after a while, whatever happens.
"""
import http.server
import os
import sys
import threading
import time

LIFETIME_SECONDS = 300
STALL_SECONDS = 60


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

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
        if path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", path[len("/redirect"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        if path.startswith("/nolength/"):
            file = os.path.join(self.directory, path[len("/nolength/"):])
            if not os.path.isfile(file):
                self.send_error(404)
                return True
            self.protocol_version = "HTTP/1.0"
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            if with_body:
                with open(file, "rb") as f:
                    self.wfile.write(f.read())
            self.close_connection = True
            return True
        return False

    def do_GET(self):
        if not self._special(True):
            super().do_GET()

    def do_HEAD(self):
        if not self._special(False):
            super().do_HEAD()


def main():
    port = int(sys.argv[1])
    root = sys.argv[2]
    threading.Timer(LIFETIME_SECONDS, lambda: os._exit(0)).start()
    handler = lambda *a, **kw: Handler(*a, directory=root, **kw)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    server.daemon_threads = True
    server.serve_forever()


if __name__ == "__main__":
    main()
