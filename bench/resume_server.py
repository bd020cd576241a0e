#!/usr/bin/env python3
"""Serves one file of SIZE bytes that breaks off at half on its first request of each round,
as a flaky line does; later requests honour "Range: bytes=N-" (with If-Range). Counts the
body bytes it sends: GET /count answers the count and starts a new round.
Prints its port on the first line.  Usage: resume_server.py SIZE"""
import http.server
import sys
import threading

SIZE = int(sys.argv[1])
DATA = bytes((i * 7 + i // 4096) & 0xFF for i in range(SIZE))
ETAG = '"big-v1"'
LOCK = threading.Lock()
STATE = {"sent": 0, "first": True}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        if self.path == "/count":
            with LOCK:
                body = str(STATE["sent"]).encode()
                STATE["sent"], STATE["first"] = 0, True
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        if self.path.endswith("/"):
            body = b'<a href="big.bin">big</a>\n'
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        start = 0
        ranged = self.headers.get("Range", "")
        if ranged.startswith("bytes=") and self.headers.get("If-Range", ETAG) == ETAG:
            start = int(ranged[6:].split("-")[0])
        with LOCK:
            broken = STATE["first"]
            STATE["first"] = False
        self.send_response(206 if start else 200)
        self.send_header("ETag", ETAG)
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(SIZE - start))
        if start:
            self.send_header("Content-Range", f"bytes {start}-{SIZE - 1}/{SIZE}")
        self.end_headers()
        end = SIZE // 2 if broken else SIZE
        chunk = DATA[start:end]
        self.wfile.write(chunk)
        with LOCK:
            STATE["sent"] += len(chunk)
        if broken:
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(2)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
