#!/usr/bin/python3
"""Local stand-in for the shared Varnek server account.

One root folder is served by FTP (account varnekdb / Wald2619, active and
passive mode) and by HTTP.  The HTTP web root is the folder named like the
host inside the root, as on the real server.  Answers carry no-cache headers;
a missing file is answered with status 404 and an XML error document, the way
common storage servers answer.
Like a static web server, HTTP/1.1 connections are kept alive and files carry
ETag and Last-Modified; If-None-Match / If-Modified-Since are answered 304.

Run with Debian's Python (pyftpdlib from python3-pyftpdlib):
    /usr/bin/python3 server/varnek_server.py --root DIR [--ftp-port N] [--http-port N]
        [--user NAME --password TEXT] [--tls --cert FILE --key FILE]
With --tls the FTP server asks for explicit TLS (AUTH TLS) on the control and
every data connection (python3-openssl), and HTTP becomes HTTPS; FILE are the
server certificate (PEM, the chain to its authority may follow) and its key.
Port 0 picks a free port.  When both servers listen, one line is printed:
    READY ftp=<port> http=<port>
"""
import argparse
import logging
import os
import signal
import ssl
import sys
import threading
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

USER = "varnekdb"
PASSWORD = "Wald2619"
ADDRESSES = ("test", "info", "d-bw-001")

NOT_FOUND = (b'<?xml version="1.0" encoding="UTF-8"?>\n'
             b"<Error><Code>NoSuchKey</Code>"
             b"<Message>The specified key does not exist.</Message></Error>\n")


def make_http_handler(web_root):
    class Handler(SimpleHTTPRequestHandler):
        # Like a static web server (nginx): connections are kept alive, and
        # files are answered with ETag and Last-Modified and revalidated by
        # If-None-Match / If-Modified-Since (304, no body).
        protocol_version = "HTTP/1.1"
        timeout = 60  # an idle kept-alive connection is closed after this

        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=web_root, **kwargs)

        @staticmethod
        def validators(fs):
            import email.utils
            # Nanoseconds: two uploads within one second stay apart.
            etag = '"%x-%x"' % (fs.st_mtime_ns, fs.st_size)
            return etag, email.utils.formatdate(fs.st_mtime, usegmt=True)

        def unchanged(self, fs, etag):
            import email.utils
            inm = self.headers.get("If-None-Match")
            if inm is not None:
                tags = [t.strip() for t in inm.split(",")]
                return "*" in tags or etag in tags or ("W/" + etag) in tags
            ims = self.headers.get("If-Modified-Since")
            if ims is None:
                return False
            try:
                since = email.utils.parsedate_to_datetime(ims).timestamp()
            except (TypeError, IndexError, OverflowError, ValueError):
                return False
            return int(fs.st_mtime) <= since

        def send_head(self):
            path = self.translate_path(self.path)
            if os.path.isdir(path) or path.endswith("/"):
                return super().send_head()
            try:
                f = open(path, "rb")
            except OSError:
                self.send_error(404, "File not found")
                return None
            try:
                fs = os.fstat(f.fileno())
                etag, last_modified = self.validators(fs)
                if self.unchanged(fs, etag):
                    f.close()
                    self.send_response(304)
                    self.send_header("ETag", etag)
                    self.send_header("Last-Modified", last_modified)
                    self.end_headers()
                    return None
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Length", str(fs.st_size))
                self.send_header("Last-Modified", last_modified)
                self.send_header("ETag", etag)
                self.end_headers()
                return f
            except Exception:
                f.close()
                raise

        def end_headers(self):
            self.send_header("Cache-Control", "no-cache, no-store, must-revalidate")
            self.send_header("Pragma", "no-cache")
            self.send_header("Expires", "0")
            super().end_headers()

        def send_error(self, code, message=None, explain=None):
            if code != 404:
                return super().send_error(code, message, explain)
            self.send_response(404, "Not Found")
            self.send_header("Content-Type", "application/xml")
            self.send_header("Content-Length", str(len(NOT_FOUND)))
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(NOT_FOUND)

        def log_message(self, fmt, *args):
            pass

    return Handler


def tls_ftp_handler(args):
    """FTP handler that serves nobody who does not speak TLS first."""
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class DataHandler(TLS_DTPHandler):
        # A data connection whose handshake has begun must stay readable:
        # pyftpdlib 1.5.7 would take the client's hello for a hang-up and
        # reset the connection (curl shakes hands before the transfer
        # command; fixed upstream after 1.5.7).
        def readable(self):
            return self._ssl_accepting or super().readable()

    class Handler(TLS_FTPHandler):
        dtp_handler = DataHandler
        certfile = args.cert
        keyfile = args.key
        tls_control_required = True
        tls_data_required = True

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help="folder served by FTP")
    parser.add_argument("--host-name", default="localhost",
                        help="host name; the web root is ROOT/HOST-NAME")
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--ftp-port", type=int, default=2121)
    parser.add_argument("--http-port", type=int, default=8080)
    parser.add_argument("--user", default=USER, help="FTP user (default %(default)s)")
    parser.add_argument("--password", default=PASSWORD, help="password of --user")
    parser.add_argument("--tls", action="store_true",
                        help="FTP with explicit TLS only, HTTPS instead of HTTP")
    parser.add_argument("--cert", help="server certificate (PEM) for --tls")
    parser.add_argument("--key", help="key of the server certificate (PEM) for --tls")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    if args.tls and not (args.cert and args.key):
        parser.error("--tls needs --cert and --key")

    root = os.path.abspath(args.root)
    web_root = os.path.join(root, args.host_name)
    for address in ADDRESSES:
        os.makedirs(os.path.join(web_root, "vx", "stillbox", "vxvx", address), exist_ok=True)

    logging.basicConfig(level=logging.INFO if args.verbose else logging.WARNING)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, root, perm="elradfmwMT")
    ftp_handler = type("VarnekFTPHandler", (tls_ftp_handler(args) if args.tls else FTPHandler,), {})
    ftp_handler.authorizer = authorizer
    ftp_handler.banner = "Varnek local server ready."
    ftp_handler.permit_privileged_ports = True
    # Names that are no UTF-8 (an old Latin-1 upload) are listed and found
    # with their own bytes, not as "?".
    ftp_handler.unicode_errors = "surrogateescape"
    ftp_server = FTPServer((args.bind, args.ftp_port), ftp_handler)
    ftp_server.max_cons = 64

    http_server = ThreadingHTTPServer((args.bind, args.http_port), make_http_handler(web_root))
    http_server.daemon_threads = True
    if args.tls:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        # The handshake runs on the request's own thread, so a client that
        # never finishes it holds up nobody else.
        http_server.socket = context.wrap_socket(http_server.socket, server_side=True,
                                                 do_handshake_on_connect=False)

    threading.Thread(target=http_server.serve_forever, daemon=True).start()

    def stop(*_):
        ftp_server.close_all()
        http_server.shutdown()
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    print("READY ftp=%d http=%d" % (ftp_server.address[1], http_server.server_address[1]),
          flush=True)
    ftp_server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
