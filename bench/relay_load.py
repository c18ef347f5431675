#!/usr/bin/env python3
"""Load helpers for bench/relay.sh.

origin PORT SIZE_MB   serve GET /big (SIZE_MB MiB) and GET /small (100 bytes), one request
                      per connection, on 127.0.0.1:PORT, until killed
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


async def serve(port, size):
    async def handle(reader, writer):
        try:
            head = await reader.readuntil(b"\r\n\r\n")
            path = head.split(b" ", 2)[1]
            if path.endswith(b"/big"):
                writer.write(b"HTTP/1.0 200 OK\r\nContent-Length: %d\r\n\r\n" % size)
                left = size
                while left > 0:
                    piece = CHUNK if left >= len(CHUNK) else CHUNK[:left]
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
