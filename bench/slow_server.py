#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 and holds every response for a while before answering, as a
distant server would. Prints its port on the first line.
Usage: slow_server.py FOLDER [DELAY_MS]"""
import functools
import http.server
import sys
import time


class HeldHandler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"  # keep-alive, as real servers offer it
    # Headers and body go out in separate writes; without this the client's delayed
    # acknowledgement would add 40 ms to every response.
    disable_nagle_algorithm = True
    delay = 0.02

    def send_head(self):
        time.sleep(self.delay)
        return super().send_head()

    def log_message(self, *args):
        pass


def main():
    folder = sys.argv[1]
    HeldHandler.delay = (int(sys.argv[2]) if len(sys.argv) > 2 else 20) / 1000
    handler = functools.partial(HeldHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
