#!/usr/bin/python3
"""A deliberately misbehaving FTP server on loopback, for tests.

It speaks just enough FTP for the program's client (login, FEAT, PWD, CWD,
TYPE, EPSV/PASV, LIST/MLSD, RETR, STOR, SIZE) and then does what a hostile or
broken server does, chosen by --mode:

  listing    answers LIST/MLSD with the bytes of --listing (as they are);
             --repeat M sends them M times (a listing of many megabytes)
  drop-stor  reads --drop-after bytes of a STOR, then closes the data and
             the control connection without a reply
  stall-cwd  never answers CWD
  swallow-stor  takes every STOR whole, answers "226 stored" and stores nothing

--rename says how RNFR/RNTO are answered: none (502, as a server that cannot
rename), no-overwrite (RNTO onto an existing file is refused
with 553) or full.

Downloads (RETR) serve files from --root; uploads that complete are stored
there. --rate N sends listings and downloads at N bytes per second (drips). Every command received is appended to --log, one line each.
Prints "READY port=N" on stdout once it listens.
"""

import argparse
import os
import socket
import sys
import threading
import time


class Session(threading.Thread):
    def __init__(self, conn, args):
        super().__init__(daemon=True)
        self.conn = conn
        self.args = args
        self.cwd = "/"
        self.passive = None
        self.active = None  # (host, port) the client listens on
        self.rename_from = None

    def reply(self, text):
        self.conn.sendall((text + "\r\n").encode("utf-8", "surrogateescape"))

    def log(self, line):
        if self.args.log:
            with open(self.args.log, "a", encoding="utf-8", errors="replace") as f:
                f.write(line + "\n")

    def run(self):
        try:
            self.serve()
        except (OSError, ConnectionError):
            pass
        finally:
            for s in (self.passive, self.conn):
                try:
                    if s:
                        s.close()
                except OSError:
                    pass

    def read_command(self, buffer):
        while b"\n" not in buffer[0]:
            chunk = self.conn.recv(4096)
            if not chunk:
                return None
            buffer[0] += chunk
        line, _, rest = buffer[0].partition(b"\n")
        buffer[0] = rest
        return line.rstrip(b"\r").decode("utf-8", "surrogateescape")

    def open_passive(self):
        if self.passive:
            self.passive.close()
        self.passive = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.passive.bind(("127.0.0.1", 0))
        self.passive.listen(1)
        self.passive.settimeout(10)
        return self.passive.getsockname()[1]

    def accept_data(self):
        if self.active:
            target, self.active = self.active, None
            return socket.create_connection(target, timeout=10)
        if not self.passive:
            return None
        data, _ = self.passive.accept()
        self.passive.close()
        self.passive = None
        return data

    def local_path(self, name):
        path = name if name.startswith("/") else self.cwd.rstrip("/") + "/" + name
        full = os.path.normpath(os.path.join(self.args.root, path.lstrip("/")))
        if not full.startswith(os.path.normpath(self.args.root)):
            return None
        return full

    def send_listing(self, data):
        self.send_bytes(data, self.args.listing_bytes * self.args.repeat)

    def send_bytes(self, data, payload):
        try:
            if self.args.rate > 0:
                step = max(1, self.args.rate // 2)
                for i in range(0, len(payload), step):
                    data.sendall(payload[i:i + step])
                    time.sleep(step / self.args.rate)
            else:
                view = memoryview(payload)
                for i in range(0, len(payload), 65536):
                    data.sendall(view[i:i + 65536])
        finally:
            data.close()

    def serve(self):
        a = self.args
        self.reply("220 hostile test server")
        buffer = [b""]
        while True:
            line = self.read_command(buffer)
            if line is None:
                return
            self.log(line)
            verb, _, arg = line.partition(" ")
            verb = verb.upper()
            if verb == "USER":
                self.reply("331 password please")
            elif verb == "PASS":
                self.reply("230 logged in")
            elif verb == "FEAT":
                self.reply("211-Features:")
                if a.mlsd:
                    self.reply(" MLST type*;size*;modify*;")
                self.reply(" EPSV")
                self.reply("211 End")
            elif verb == "PWD":
                self.reply('257 "%s" is current' % self.cwd.replace('"', '""'))
            elif verb == "CWD":
                if a.mode == "stall-cwd":
                    continue
                self.cwd = arg if arg.startswith("/") else self.cwd.rstrip("/") + "/" + arg
                self.reply("250 ok")
            elif verb == "TYPE":
                self.reply("200 type set")
            elif verb == "EPSV":
                self.reply("229 Entering extended passive mode (|||%d|)" % self.open_passive())
            elif verb == "EPRT":
                # |1|127.0.0.1|port| or |2|::1|port|
                parts = arg.split(arg[:1]) if arg else []
                if len(parts) < 4:
                    self.reply("501 bad EPRT")
                    continue
                self.active = (parts[2], int(parts[3]))
                self.reply("200 EPRT ok")
            elif verb == "PORT":
                n = [int(x) for x in arg.split(",")]
                self.active = ("%d.%d.%d.%d" % tuple(n[:4]), n[4] * 256 + n[5])
                self.reply("200 PORT ok")
            elif verb == "PASV":
                port = self.open_passive()
                self.reply("227 Entering passive mode (127,0,0,1,%d,%d)" % (port >> 8, port & 255))
            elif verb in ("LIST", "MLSD", "NLST"):
                if verb == "MLSD" and not a.mlsd:
                    self.reply("500 unknown command")
                    continue
                data = self.accept_data()
                if not data:
                    self.reply("425 no data connection")
                    continue
                self.reply("150 here it comes")
                try:
                    self.send_listing(data)
                except OSError:
                    self.reply("426 connection closed")
                    continue
                self.reply("226 done")
            elif verb == "SIZE":
                path = self.local_path(arg)
                if path and os.path.isfile(path):
                    self.reply("213 %d" % os.path.getsize(path))
                else:
                    self.reply("550 no such file")
            elif verb == "RETR":
                path = self.local_path(arg)
                if not path or not os.path.isfile(path):
                    self.reply("550 no such file")
                    continue
                data = self.accept_data()
                if not data:
                    self.reply("425 no data connection")
                    continue
                self.reply("150 sending")
                with open(path, "rb") as f:
                    content = f.read()
                try:
                    self.send_bytes(data, content)
                except OSError:
                    self.reply("426 connection closed")
                    continue
                self.reply("226 done")
            elif verb == "STOR":
                data = self.accept_data()
                if not data:
                    self.reply("425 no data connection")
                    continue
                self.reply("150 send it")
                received = b""
                while True:
                    chunk = data.recv(65536)
                    if not chunk:
                        break
                    received += chunk
                    if a.mode == "drop-stor" and len(received) >= a.drop_after:
                        self.log("DROPPED after %d" % len(received))
                        data.close()
                        self.conn.shutdown(socket.SHUT_RDWR)
                        return
                data.close()
                path = self.local_path(arg)
                if path and a.mode != "swallow-stor":
                    with open(path, "wb") as f:
                        f.write(received)
                self.reply("226 stored")
            elif verb == "DELE" or (verb in ("RNFR", "RNTO") and a.rename != "none"):
                path = self.local_path(arg)
                if verb == "RNFR":
                    self.rename_from = path if path and os.path.isfile(path) else None
                    self.reply("350 ready" if self.rename_from else "550 no such file")
                elif verb == "RNTO":
                    source, self.rename_from = self.rename_from, None
                    if not source or not path:
                        self.reply("503 RNFR first")
                    elif a.rename == "no-overwrite" and os.path.exists(path):
                        self.reply("553 file exists")
                    else:
                        os.replace(source, path)
                        self.reply("250 renamed")
                elif path and os.path.isfile(path):
                    os.remove(path)
                    self.reply("250 deleted")
                else:
                    self.reply("550 no such file")
            elif verb == "QUIT":
                self.reply("221 bye")
                return
            elif verb in ("NOOP", "ABOR"):
                self.reply("200 ok")
            else:
                self.reply("502 not implemented")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--mode", default="listing", choices=["listing", "drop-stor", "stall-cwd", "swallow-stor"])
    p.add_argument("--rename", default="none", choices=["none", "no-overwrite", "full"])
    p.add_argument("--root", default=os.getcwd())
    p.add_argument("--listing", help="file whose bytes are the listing")
    p.add_argument("--repeat", type=int, default=1)
    p.add_argument("--rate", type=int, default=0, help="bytes per second, 0 = as fast as possible")
    p.add_argument("--mlsd", action="store_true", help="announce and answer MLSD")
    p.add_argument("--drop-after", type=int, default=65536)
    p.add_argument("--log")
    args = p.parse_args()
    args.listing_bytes = b""
    if args.listing:
        with open(args.listing, "rb") as f:
            args.listing_bytes = f.read()

    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print("READY port=%d" % server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        Session(conn, args).start()


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit(0)
