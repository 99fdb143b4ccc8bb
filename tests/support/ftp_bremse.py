#!/usr/bin/python3
"""An FTP control-connection relay on loopback that slows or stops a real
FTP server, for tests and benchmarks.

Every client connection is relayed to --target-port on 127.0.0.1. Data
connections go straight between client and server (the addresses in
EPRT/PORT/EPSV/PASV are all loopback), so only the control connection is
slowed. Options:
  --reply-delay-ms N   each final reply line reaches the client N ms late
  --stor-delay-ms N    each STOR command reaches the server N ms late
  --stall-on VERB      from the first command VERB on, nothing more is relayed
                       (the connection stays open and silent)
  --stall-greeting     the server's greeting is never relayed
  --number-stor        each upload stores under its name with ".1", ".2", ...
                       appended (the name of a STOR, or of the RNTO that
                       renames a "*.tmp" upload), in the order the uploads
                       reach the server, so every upload leaves its own file
  --data-rate N        passive data connections (EPSV, PASV) are relayed too,
                       at N bytes per second each way (a slow upload)
Prints "READY port=N" once listening.
"""
import argparse
import asyncio
import re
import sys


def parse():
    p = argparse.ArgumentParser()
    p.add_argument("--target-port", type=int, required=True)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--reply-delay-ms", type=int, default=0)
    p.add_argument("--stor-delay-ms", type=int, default=0)
    p.add_argument("--stall-on", default="")
    p.add_argument("--stall-greeting", action="store_true")
    p.add_argument("--number-stor", action="store_true")
    p.add_argument("--data-rate", type=int, default=0)
    return p.parse_args()


ARGS = parse()
FOREVER = None


async def stall():
    await asyncio.Event().wait()


STORED = [0]


async def pump(reader, writer, rate):
    # At most `rate` bytes per second, in tenths of a second.
    step = max(1, rate // 10)
    try:
        while True:
            chunk = await reader.read(step)
            if not chunk:
                break
            writer.write(chunk)
            await writer.drain()
            await asyncio.sleep(len(chunk) / rate)
        if writer.can_write_eof():
            writer.write_eof()
    except (OSError, ConnectionError):
        pass


async def slow_data_port(target_port):
    # A listener that relays one data connection to the server's port slowly.
    async def relay_data(creader, cwriter):
        try:
            sreader, swriter = await asyncio.open_connection("127.0.0.1", target_port)
        except OSError:
            cwriter.close()
            return
        await asyncio.gather(pump(creader, swriter, ARGS.data_rate),
                             pump(sreader, cwriter, ARGS.data_rate))
        for w in (cwriter, swriter):
            w.close()
        listener.close()

    listener = await asyncio.start_server(relay_data, "127.0.0.1", 0)
    return listener.sockets[0].getsockname()[1]


async def rewrite_passive(line):
    text = line.decode("latin-1")
    m = re.match(r"229 (.*)\(\|\|\|(\d+)\|\)", text)
    if m:
        port = await slow_data_port(int(m.group(2)))
        return ("229 %s(|||%d|)\r\n" % (m.group(1), port)).encode("latin-1")
    m = re.match(r"227 (.*)\((\d+),(\d+),(\d+),(\d+),(\d+),(\d+)\)", text)
    if m:
        port = await slow_data_port(int(m.group(6)) * 256 + int(m.group(7)))
        return ("227 %s(127,0,0,1,%d,%d)\r\n" % (m.group(1), port >> 8, port & 255)).encode(
            "latin-1")
    return line


async def relay(creader, cwriter):
    try:
        sreader, swriter = await asyncio.open_connection("127.0.0.1", ARGS.target_port)
    except OSError:
        cwriter.close()
        return

    async def client_to_server():
        while True:
            line = await creader.readline()
            if not line:
                break
            text = line.decode("latin-1").rstrip("\r\n")
            verb = text.split(" ", 1)[0].upper()
            if ARGS.stall_on and verb == ARGS.stall_on.upper():
                await stall()
            if verb == "STOR" and ARGS.stor_delay_ms:
                await asyncio.sleep(ARGS.stor_delay_ms / 1000)
            # An upload ends in its name with a STOR, or with the RNTO that
            # gives a temporary file its name.
            final_name = verb == "RNTO" or (verb == "STOR" and not text.endswith(".tmp"))
            if ARGS.number_stor and final_name:
                STORED[0] += 1
                line = ("%s.%d\r\n" % (text, STORED[0])).encode("latin-1")
            swriter.write(line)
            await swriter.drain()
        swriter.close()

    async def server_to_client():
        first = True
        while True:
            line = await sreader.readline()
            if not line:
                break
            if first and ARGS.stall_greeting:
                await stall()
            first = False
            final = len(line) >= 4 and line[:3].isdigit() and line[3:4] == b" "
            if final and ARGS.data_rate:
                line = await rewrite_passive(line)
            if final and ARGS.reply_delay_ms:
                await asyncio.sleep(ARGS.reply_delay_ms / 1000)
            cwriter.write(line)
            await cwriter.drain()
        cwriter.close()

    tasks = [asyncio.ensure_future(client_to_server()), asyncio.ensure_future(server_to_client())]
    await asyncio.wait(tasks, return_when=asyncio.FIRST_COMPLETED)
    for t in tasks:
        t.cancel()
    for w in (cwriter, swriter):
        try:
            w.close()
        except Exception:
            pass


async def main():
    server = await asyncio.start_server(relay, "127.0.0.1", ARGS.port)
    port = server.sockets[0].getsockname()[1]
    print("READY port=%d" % port, flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
