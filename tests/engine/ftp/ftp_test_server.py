#!/usr/bin/python3
# A real FTP server for the mirror's tests (Debian's pyftpdlib), with the knobs the tests need:
# a read-only user and a slow data connection, so a test can kill the server in the middle of a transfer.
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--port", type=int, required=True)
parser.add_argument("--dir", required=True)
parser.add_argument("--user", required=True)
parser.add_argument("--password", required=True)
parser.add_argument("--passive", required=True, help="FROM-TO")
parser.add_argument("--read-only", action="store_true")
parser.add_argument("--write-limit", type=int, default=0, help="bytes per second the server takes in")
args = parser.parse_args()

authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.dir, perm="elr" if args.read_only else "elradfmwMT")
handler = FTPHandler
handler.authorizer = authorizer
first, last = (int(p) for p in args.passive.split("-"))
handler.passive_ports = range(first, last + 1)
if args.write_limit:
    dtp = ThrottledDTPHandler
    dtp.read_limit = args.write_limit
    handler.dtp_handler = dtp
server = FTPServer(("127.0.0.1", args.port), handler)
server.serve_forever()
