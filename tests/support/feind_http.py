#!/usr/bin/python3
"""A deliberately misbehaving HTTP server on loopback, for receiving tests.

Usage: feind_http.py --mode MODE [--log FILE] [--text TEXT]

Prints "READY port=N" once it listens on a free port of 127.0.0.1 and writes
the path of every request it reads to the log file, one line each.

Modes (TEXT is the message, "Hallo Welt" and CR LF unless given):
  flapping     every other poll fails, in turn by a connection reset, a 500
               answer and a refused connection; the others get TEXT
  truncated    200 with a Content-Length of 1000, 300 bytes, then a reset
  redirect     302 to the same path with a new query, for ever
  foreign      302 to another host
  redirect1    one 302 to /umgezogen/Gast.txt, which answers TEXT
  html         200 text/html page
  html-plain   200 text/plain whose body is an HTML page after blanks
  control      200 with TEXT plus escape sequences and other controls
  interim102   "102 Processing", then 200 with TEXT on the same connection
  interim103   "103 Early Hints" with a Link header, then 200 with TEXT
  gzip         200 text/plain with Content-Encoding gzip (TEXT many times)
  deflate      200 text/plain with Content-Encoding deflate (TEXT many times)
  nul          200 text/plain whose body holds NUL bytes (a picture's head)
  notmodified  200 with TEXT at the first request, 304 ever after
  bigheader    200 with TEXT behind 70 KB of header lines
  hugeline     200 with TEXT behind one header line of 10 MB
  chunked      200 with TEXT in chunks of 3 bytes (Transfer-Encoding chunked)
  good         200 with TEXT
"""

import argparse
import socket
import struct
import sys
import threading
import time
import zlib

HTML = (b"<!DOCTYPE html>\n<html><head><title>404 Not Found</title></head>"
        b"<body><h1>Nicht gefunden</h1><p>Die Seite gibt es nicht.</p></body></html>\n")
HTML_PLAIN = (b" \r\n\t <HTML><BODY>Diese Domain steht zum Verkauf</BODY></HTML>\r\n")
CONTROL = (b"Hallo \x1b[31mWelt\x1b[0m\x07\tda\r\nzwei\x0bdrei\x1b]0;Titel\x07 \x7f"
           b"vier\x01\x1f\r\n")


def antwort(status, body, content_type=b"text/plain", extra=b""):
    return (b"HTTP/1.1 " + status + b"\r\nContent-Type: " + content_type +
            b"\r\nContent-Length: " + str(len(body)).encode() +
            b"\r\nConnection: close\r\n" + extra + b"\r\n" + body)


def reset(conn):
    # SO_LINGER with a zero timeout: close() sends RST instead of FIN.
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    conn.close()


class Server:
    def __init__(self, mode, log, text):
        self.mode = mode
        self.log = log
        self.text = text
        self.count = 0
        self.good_next = True
        self.kinds = ["reset", "500", "refused"]
        self.kind = 0
        self.lock = threading.Lock()
        self.listener = self.listen(0)
        self.port = self.listener.getsockname()[1]

    def listen(self, port):
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(("127.0.0.1", port))
        s.listen(16)
        return s

    def note(self, path):
        if self.log:
            with open(self.log, "a", encoding="utf-8") as f:
                f.write(path + "\n")

    def serve(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                # The listener is closed while refusing; wait for the new one.
                time.sleep(0.05)
                continue
            threading.Thread(target=self.handle, args=(conn,), daemon=True).start()

    def refuse_for(self, seconds):
        # Nothing listens for a while: connections are refused.
        old = self.listener
        try:
            old.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        old.close()

        def reopen():
            time.sleep(seconds)
            self.listener = self.listen(self.port)
        t = threading.Thread(target=reopen, daemon=True)
        t.start()

    def handle(self, conn):
        data = b""
        conn.settimeout(5)
        try:
            while b"\r\n\r\n" not in data:
                chunk = conn.recv(4096)
                if not chunk:
                    conn.close()
                    return
                data += chunk
        except OSError:
            conn.close()
            return
        line = data.split(b"\r\n", 1)[0].decode("latin-1")
        parts = line.split(" ")
        path = parts[1] if len(parts) > 1 else ""
        with self.lock:
            self.count += 1
            n = self.count
        self.note(path)
        try:
            self.answer(conn, path, n)
        except OSError:
            pass

    def answer(self, conn, path, n):
        text = self.text
        mode = self.mode
        if mode == "flapping":
            with self.lock:
                good = self.good_next
                kind = self.kinds[self.kind % len(self.kinds)]
                if good and kind == "refused":
                    self.kind += 1
                elif good:
                    self.good_next = False
                else:
                    self.kind += 1
                    self.good_next = True
            if good:
                conn.sendall(antwort(b"200 OK", text))
                conn.close()
                if kind == "refused":
                    # Nothing listens past the next poll: it is refused.
                    self.refuse_for(2.6)
            elif kind == "reset":
                reset(conn)
            else:
                conn.sendall(antwort(b"500 Internal Server Error", b"<h1>Fehler</h1>", b"text/html"))
                conn.close()
            return
        if mode == "truncated":
            body = (b"Nur ein Teil der Nachricht " * 40)[:300]
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 1000\r\n\r\n" + body)
            time.sleep(0.1)
            reset(conn)
            return
        if mode == "redirect":
            base = path.split("?", 1)[0]
            loc = "%s?n=%d" % (base, n)
            conn.sendall(antwort(b"302 Found", b"", extra=b"Location: " + loc.encode() + b"\r\n"))
            conn.close()
            return
        if mode == "foreign":
            conn.sendall(antwort(b"302 Found", b"",
                                 extra=b"Location: http://anderswo.invalid/Gast.txt\r\n"))
            conn.close()
            return
        if mode == "redirect1":
            if path.startswith("/umgezogen/"):
                conn.sendall(antwort(b"200 OK", text))
            else:
                conn.sendall(antwort(b"302 Found", b"", extra=b"Location: /umgezogen/Gast.txt\r\n"))
            conn.close()
            return
        if mode == "html":
            conn.sendall(antwort(b"200 OK", HTML, b"text/html; charset=utf-8"))
        elif mode == "html-plain":
            conn.sendall(antwort(b"200 OK", HTML_PLAIN))
        elif mode == "control":
            conn.sendall(antwort(b"200 OK", CONTROL))
        elif mode == "interim102":
            conn.sendall(b"HTTP/1.1 102 Processing\r\n\r\n" + antwort(b"200 OK", text))
        elif mode == "interim103":
            conn.sendall(b"HTTP/1.1 103 Early Hints\r\nLink: </stil.css>; rel=preload\r\n\r\n" +
                         antwort(b"200 OK", text))
        elif mode in ("gzip", "deflate"):
            if mode == "gzip":
                c = zlib.compressobj(9, zlib.DEFLATED, 31)
                body = c.compress(text * 4000) + c.flush()
            else:
                body = zlib.compress(text * 4000)
            conn.sendall(antwort(b"200 OK", body, extra=b"Content-Encoding: " + mode.encode() + b"\r\n"))
        elif mode == "nul":
            conn.sendall(antwort(b"200 OK", b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" + text))
        elif mode == "notmodified":
            if n == 1:
                conn.sendall(antwort(b"200 OK", text))
            else:
                conn.sendall(b"HTTP/1.1 304 Not Modified\r\nConnection: close\r\n\r\n")
        elif mode == "bigheader":
            fill = b"".join(b"X-Fuell-%d: %s\r\n" % (i, b"x" * 90) for i in range(700))
            conn.sendall(antwort(b"200 OK", text, extra=fill))
        elif mode == "chunked":
            chunks = b"".join(b"%x;x=1\r\n%s\r\n" % (len(text[i:i + 3]), text[i:i + 3])
                              for i in range(0, len(text), 3))
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                         b"Transfer-Encoding: chunked\r\n\r\n" + chunks + b"0\r\nX-Ende: 1\r\n\r\n")
            time.sleep(0.5)  # the answer is whole before the connection ends
        elif mode == "hugeline":
            conn.sendall(antwort(b"200 OK", text, extra=b"X-Riese: " + b"x" * (10 * 1024 * 1024) + b"\r\n"))
        else:
            conn.sendall(antwort(b"200 OK", text))
        conn.close()


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--mode", required=True)
    p.add_argument("--log")
    p.add_argument("--text", default="Hallo Welt\r\n")
    a = p.parse_args()
    text = a.text.encode("cp1252")
    server = Server(a.mode, a.log, text)
    print("READY port=%d" % server.port, flush=True)
    try:
        server.serve()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
