#!/usr/bin/env python3
"""Load helpers for bench/relay.sh.

origin PORT SIZE_MB   serve GET /big (SIZE_MB MiB of binary), GET /page (SIZE_MB MiB of
                      text/html with scripts and pop-ups) and GET /small (100 bytes), one
                      request per connection, on 127.0.0.1:PORT, until killed
cps PROXY ORIGIN N K  N proxied GET /small through 127.0.0.1:PROXY by K parallel clients;
                      prints connections per second
"""
import asyncio
import socket
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

    server = await asyncio.start_server(handle, "127.0.0.1", port, backlog=1024)
    async with server:
        await server.serve_forever()


def cps(proxy, origin, total, clients):
    request = ("GET http://127.0.0.1:%d/small HTTP/1.0\r\nHost: 127.0.0.1:%d\r\n\r\n" % (origin, origin)).encode()
    counter = iter(range(total))
    lock = threading.Lock()
    failures = [0]

    def worker():
        while True:
            with lock:
                if next(counter, None) is None:
                    return
            got = b""
            try:
                with socket.create_connection(("127.0.0.1", proxy), timeout=10) as s:
                    s.sendall(request)
                    while True:
                        data = s.recv(65536)
                        if not data:
                            break
                        got += data
            except OSError:
                pass
            if not got.endswith(SMALL):
                with lock:
                    failures[0] += 1

    threads = [threading.Thread(target=worker) for _ in range(clients)]
    start = time.monotonic()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    elapsed = time.monotonic() - start
    print("%.0f %d" % (total / elapsed, failures[0]))


if __name__ == "__main__":
    if sys.argv[1] == "origin":
        asyncio.run(serve(int(sys.argv[2]), int(sys.argv[3]) << 20))
    elif sys.argv[1] == "cps":
        cps(int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]))
    else:
        sys.exit(__doc__)
