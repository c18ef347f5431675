#!/usr/bin/env python3
"""Load helpers for bench/relay.sh.

origin PORT SIZE_MB [PROCS]   serve GET /big (SIZE_MB MiB of binary), GET /page (SIZE_MB MiB of
                              text/html with scripts and pop-ups) and GET /small (100 bytes), one
                              request per connection, on 127.0.0.1:PORT from PROCS processes
                              (SO_REUSEPORT; default 4), until killed
cps KIND PROXY ORIGIN SECONDS CLIENTS
                              GET /small through 127.0.0.1:PROXY, a new connection each, by
                              CLIENTS clients at a time for SECONDS; KIND is http (an absolute
                              request) or socks5 (greeting, CONNECT to the origin's address,
                              then the request, each step awaited as a client does); prints
                              "connections/s failures listen-queue-overflows"

The clients are spread over processes (at most one per core) so that the
load itself is not what limits the rate.
"""
import asyncio
import multiprocessing
import os
import signal
import socket
import struct
import sys
import threading
import time

CHUNK = b"\x5a" * (1 << 20)
SMALL = bytes(range(100))
# A page the default filters have work on: text, a script element and a
# pop-up every few hundred bytes.
ROW = (b"<div class=\"row\"><p>Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod "
       b"tempor incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam.</p>\n"
       b"<script type=\"text/javascript\">var n = document.links.length; if (n > 3) { n--; }</script>\n"
       b"<a href=\"/next\" onclick=\"window.open('/pop', 'w')\">next page</a></div>\n")
PAGE = (ROW * ((1 << 20) // len(ROW) + 1))[: 1 << 20]
# Every wait of a client is bounded.
TIMEOUT = 10


async def serve(port, size):
    async def handle(reader, writer):
        try:
            head = await reader.readuntil(b"\r\n\r\n")
            path = head.split(b" ", 2)[1]
            if path.endswith(b"/big") or path.endswith(b"/page"):
                page = path.endswith(b"/page")
                body, kind = (PAGE, b"text/html") if page else (CHUNK, b"application/octet-stream")
                writer.write(b"HTTP/1.0 200 OK\r\nContent-Type: %s\r\nContent-Length: %d\r\n\r\n" % (kind, size))
                left = size
                while left > 0:
                    piece = body if left >= len(body) else body[:left]
                    writer.write(piece)
                    left -= len(piece)
                    await writer.drain()
            else:
                writer.write(b"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n" + SMALL)
                await writer.drain()
        except (asyncio.IncompleteReadError, ConnectionError):
            pass
        finally:
            writer.close()

    server = await asyncio.start_server(handle, "127.0.0.1", port, backlog=4096, reuse_port=True)
    async with server:
        await server.serve_forever()


def origin(port, size, procs):
    children = [multiprocessing.Process(target=lambda: asyncio.run(serve(port, size)), daemon=True)
                for _ in range(procs)]

    def stop(*_):
        for child in children:
            child.terminate()
        sys.exit(0)

    for child in children:
        child.start()
    # Set after the starts: the children keep the default end on SIGTERM.
    signal.signal(signal.SIGTERM, stop)
    for child in children:
        child.join()


def listen_overflows():
    """The kernel's count of connections dropped for a full listen queue."""
    with open("/proc/net/netstat") as f:
        lines = f.read().splitlines()
    for names, values in zip(lines[::2], lines[1::2]):
        if names.startswith("TcpExt:"):
            table = dict(zip(names.split()[1:], values.split()[1:]))
            return int(table.get("ListenOverflows", 0))
    return 0


def recv_exactly(s, n):
    got = b""
    while len(got) < n:
        data = s.recv(n - len(got))
        if not data:
            break
        got += data
    return got


def one_connection(kind, proxy, origin_port):
    """One proxied GET /small on a new connection; True when it came whole."""
    got = b""
    try:
        with socket.create_connection(("127.0.0.1", proxy), timeout=TIMEOUT) as s:
            if kind == "socks5":
                s.sendall(b"\x05\x01\x00")
                if recv_exactly(s, 2) != b"\x05\x00":
                    return False
                s.sendall(b"\x05\x01\x00\x01" + socket.inet_aton("127.0.0.1") + struct.pack(">H", origin_port))
                reply = recv_exactly(s, 10)
                if len(reply) != 10 or reply[1] != 0:
                    return False
                s.sendall(b"GET /small HTTP/1.0\r\n\r\n")
            else:
                s.sendall(b"GET http://127.0.0.1:%d/small HTTP/1.0\r\nHost: 127.0.0.1:%d\r\n\r\n"
                          % (origin_port, origin_port))
            while True:
                data = s.recv(65536)
                if not data:
                    break
                got += data
    except OSError:
        return False
    return got.endswith(SMALL)


def load_process(kind, proxy, origin_port, deadline, threads, results):
    counts = [0, 0]
    lock = threading.Lock()

    def worker():
        done = failed = 0
        while time.monotonic() < deadline:
            if one_connection(kind, proxy, origin_port):
                done += 1
            else:
                failed += 1
        with lock:
            counts[0] += done
            counts[1] += failed

    workers = [threading.Thread(target=worker) for _ in range(threads)]
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    results.put(tuple(counts))


def cps(kind, proxy, origin_port, seconds, clients):
    procs = max(1, min(clients, os.cpu_count() or 1))
    shares = [clients // procs + (1 if i < clients % procs else 0) for i in range(procs)]
    results = multiprocessing.Queue()
    overflows = listen_overflows()
    start = time.monotonic()
    deadline = start + seconds
    children = [multiprocessing.Process(target=load_process,
                                        args=(kind, proxy, origin_port, deadline, share, results))
                for share in shares]
    for child in children:
        child.start()
    done = failed = 0
    for _ in children:
        d, f = results.get(timeout=seconds + 4 * TIMEOUT)
        done += d
        failed += f
    for child in children:
        child.join()
    elapsed = time.monotonic() - start
    print("%.0f %d %d" % (done / elapsed, failed, listen_overflows() - overflows))


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "origin":
        origin(int(sys.argv[2]), int(sys.argv[3]) << 20, int(sys.argv[4]) if len(sys.argv) > 4 else 4)
    elif len(sys.argv) == 7 and sys.argv[1] == "cps" and sys.argv[2] in ("http", "socks5"):
        cps(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), float(sys.argv[5]), int(sys.argv[6]))
    else:
        sys.exit(__doc__)
