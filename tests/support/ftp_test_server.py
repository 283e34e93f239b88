# A throw-away FTP (or FTPS) server for the tests: one user, one folder, a free
# loopback port printed on the first line of standard output.
import argparse
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer

ap = argparse.ArgumentParser()
ap.add_argument("--root", required=True)
ap.add_argument("--user", default="balizor")
ap.add_argument("--password", default="secret")
ap.add_argument("--port", type=int, default=0)
ap.add_argument("--cert")
ap.add_argument("--key")
ap.add_argument("--no-mlsd", action="store_true")
ap.add_argument("--refuse-rename", action="store_true")
ap.add_argument("--refuse-replace", action="store_true")
ap.add_argument("--no-size", action="store_true")
ap.add_argument("--limit", type=int, default=0, help="bytes per second of a transfer")
args = ap.parse_args()

logging.basicConfig(level=logging.ERROR)
authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

base = TLS_FTPHandler if args.cert else FTPHandler


class Handler(base):
    pass


Handler.proto_cmds = dict(base.proto_cmds)
if args.no_mlsd:
    del Handler.proto_cmds["MLSD"]
    del Handler.proto_cmds["MLST"]
if args.no_size:
    del Handler.proto_cmds["SIZE"]
if args.refuse_rename:
    Handler.ftp_RNTO = lambda self, path: self.respond("553 Rename refused.")
elif args.refuse_replace:
    # Like servers that never rename over an existing file.
    def rnto(self, path, plain=Handler.ftp_RNTO):
        if os.path.lexists(path):
            self.respond("553 File exists.")
        else:
            plain(self, path)

    Handler.ftp_RNTO = rnto
if args.cert:
    Handler.certfile = args.cert
    Handler.keyfile = args.key
    Handler.tls_control_required = True
    Handler.tls_data_required = True
if args.limit:
    # Slow enough that a test can act while a transfer runs.
    class SlowData(ThrottledDTPHandler):
        read_limit = args.limit
        write_limit = args.limit

    Handler.dtp_handler = SlowData
Handler.authorizer = authorizer
Handler.banner = "Balizor test server ready."

server = FTPServer(("127.0.0.1", args.port), Handler)
print(server.address[1], flush=True)
server.serve_forever()
