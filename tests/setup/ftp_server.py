#!/usr/bin/env python3
"""An FTP server on loopback for the installer tests: anonymous, read-only on ROOT; the first
transfer breaks after BREAK_AT bytes; REST is honoured (350).

  ftp_server.py ROOT BREAK_AT

Prints "port N" when it listens, then each REST and RETR command it receives; stops when its
standard input closes.
"""
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

root, break_at = sys.argv[1], int(sys.argv[2])
broken = [False]


class BreakingDTP(DTPHandler):
    def send(self, data):
        if not broken[0] and self.tot_bytes_sent + len(data) > break_at:
            broken[0] = True
            keep = break_at - self.tot_bytes_sent
            sent = super().send(data[:keep]) if keep > 0 else 0
            self.handle_close()  # closes and gives the control connection its reply
            return sent
        return super().send(data)


class Handler(FTPHandler):
    dtp_handler = BreakingDTP
    use_sendfile = False  # so that every byte goes through BreakingDTP.send

    def pre_process_command(self, line, cmd, arg):
        if cmd in ("REST", "RETR"):
            print(line, flush=True)
        return super().pre_process_command(line, cmd, arg)


authorizer = DummyAuthorizer()
authorizer.add_anonymous(root)
Handler.authorizer = authorizer
Handler.log_prefix = ""
server = FTPServer(("127.0.0.1", 0), Handler)
stop = threading.Event()
threading.Thread(target=lambda: (sys.stdin.read(), stop.set()), daemon=True).start()
print("port %d" % server.address[1], flush=True)
while not stop.is_set():
    server.serve_forever(timeout=0.1, blocking=False)
server.close_all()
