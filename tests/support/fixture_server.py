#!/usr/bin/env python3
"""The simulated internet's HTTP side: a loopback server that answers from a table of routes.

Usage: fixture_server.py [--routes FILE.json] [--cert CERT.pem --key KEY.pem]
Binds 127.0.0.1 on a free port and prints "PORT <n>" on stdout once it accepts connections.

A route is a JSON object:
  path        the request path to answer (required)
  query       answer only this query (compared decoded, order ignored); without it, any query
  status      numeric status (default 200), sent as "HTTP/1.1 <status> <reason>"
  status_line a raw status line instead, e.g. "ICY 200 OK"
  headers     {"Name": "value", ...}
  body        text of the body (UTF-8)
  body_file   file whose bytes are the body (relative names: beside the routes file)
  huge_body   a generated body of this many bytes
  generator   name of a function in GENERATORS that produces the body (see below)
  content_length  false to leave out Content-Length (default: sent when the length is known)
  redirect    answer 302 (or `status` when given) with this Location
  header_delay    seconds to wait before sending anything
  stall_after, stall_seconds   after this many body bytes, send nothing for that long
  drop_after  after this many body bytes, close the connection
  endless_header  true: header lines without end (the client must give up)
  trickle     send the body at this many bytes per second
  then        a route that takes this one's place once this one has answered a request, so
              that a client's next try is answered differently however soon it comes
  gzip        true: a whole body goes gzip-compressed (Content-Encoding: gzip) to a request whose
              Accept-Encoding names gzip, as a server with response compression does

Control paths (never logged):
  POST /__fixture/routes      a route object or a list of them; a route replaces one with the
                              same path and query
  GET  /__fixture/log         the request log, one block per request:
                                > METHOD PATH QUERY      (raw, as received; QUERY may be empty)
                                Name: value              (each request header)
                                                         (an empty line ends the block)
  POST /__fixture/log/clear   empties the log

A generator is a function (route, request_handler) -> iterable of bytes; add new kinds of body
(streams, playlists) as new functions registered in GENERATORS.
"""

import argparse
import gzip
import json
import os
import socket
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CONTROL_PREFIX = "/__fixture/"
CHUNK = 16384


class RouteTable:
    def __init__(self):
        self._lock = threading.Lock()
        self._routes = {}

    @staticmethod
    def _query_key(query):
        if query is None:
            return None
        return tuple(sorted(urllib.parse.parse_qsl(query, keep_blank_values=True)))

    def add(self, route, base_dir):
        route = self._prepared(route, base_dir)
        with self._lock:
            self._routes[self._key(route)] = route

    def _prepared(self, route, base_dir):
        if "path" not in route:
            raise ValueError("a route needs a path")
        route = dict(route)
        if "body_file" in route and not os.path.isabs(route["body_file"]):
            route["body_file"] = os.path.join(base_dir, route["body_file"])
        if "then" in route:
            route["then"] = self._prepared(route["then"], base_dir)
        return route

    def _key(self, route):
        return (route["path"], self._query_key(route.get("query")))

    def find(self, path, query):
        with self._lock:
            key = (path, self._query_key(query))
            if key not in self._routes:
                key = (path, None)
            route = self._routes.get(key)
            if route is not None and "then" in route:
                self._routes[key] = route["then"]
            return route


class RequestLog:
    def __init__(self):
        self._lock = threading.Lock()
        self._entries = []

    def add(self, method, path, query, headers):
        with self._lock:
            self._entries.append((method, path, query, list(headers.items())))

    def clear(self):
        with self._lock:
            self._entries.clear()

    def render(self):
        with self._lock:
            entries = list(self._entries)
        lines = []
        for method, path, query, headers in entries:
            lines.append(f"> {method} {path} {query}")
            lines.extend(f"{name}: {value}" for name, value in headers)
            lines.append("")
        return "\n".join(lines) + ("\n" if lines else "")


# --- bodies -------------------------------------------------------------------------------


def fixed_body(route):
    """The body's bytes when the route gives them whole, else None."""
    if "body_file" in route:
        with open(route["body_file"], "rb") as f:
            return f.read()
    if "body" in route:
        return route["body"].encode("utf-8")
    return None


def huge_body_chunks(total):
    pattern = (b"0123456789abcdef" * (CHUNK // 16))
    sent = 0
    while sent < total:
        piece = pattern[: min(CHUNK, total - sent)]
        sent += len(piece)
        yield piece


# name -> function(route, handler) -> iterable of bytes. Streaming kinds register here.
GENERATORS = {}


def icy_stream(route, handler):
    """body_file's bytes with ICY metadata blocks after every `icy_metaint` bytes.

    `icy_titles` is a list of [audio_offset, text]: each text goes into the first block at or
    after its offset; other blocks are empty (length byte 0). With `icy_cut_block`, the stream
    ends with a length byte that promises more text than follows.
    """
    metaint = int(route["icy_metaint"])
    titles = sorted((int(at), text.encode("utf-8")) for at, text in route.get("icy_titles", []))
    audio = fixed_body(route) or b""
    sent = 0
    while sent < len(audio):
        piece = audio[sent : sent + metaint]
        sent += len(piece)
        yield piece
        if len(piece) < metaint:
            break
        text = b""
        while titles and titles[0][0] <= sent:
            text = titles.pop(0)[1]
        blocks = (len(text) + 15) // 16
        yield bytes([blocks]) + text.ljust(blocks * 16, b"\0")
    if route.get("icy_cut_block"):
        yield bytes([200]) + b"StreamTitle='cut"


GENERATORS["icy"] = icy_stream


def endless_header(handler):
    """A status line, then header lines without end, until the client goes away."""
    handler.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n")
    line = b"X-Filler: " + b"x" * 1000 + b"\r\n"
    for _ in range(100000):
        handler.wfile.write(line)
    handler.wfile.flush()


def body_of(route, handler):
    """(length or None, iterable of bytes) for the route's body."""
    if "generator" in route:
        return None, GENERATORS[route["generator"]](route, handler)
    if "huge_body" in route:
        total = int(route["huge_body"])
        return total, huge_body_chunks(total)
    data = fixed_body(route)
    if data is None:
        data = b""
    return len(data), [data]


# --- misbehaviour ---------------------------------------------------------------------------


class ConnectionDropped(Exception):
    pass


def send_body(wfile, route, chunks):
    """Writes the chunks, applying the route's stall, drop and trickle."""
    stall_after = route.get("stall_after")
    drop_after = route.get("drop_after")
    rate = route.get("trickle")
    sent = 0
    stalled = False
    for chunk in chunks:
        while chunk:
            limit = len(chunk)
            if stall_after is not None and not stalled:
                limit = min(limit, max(0, stall_after - sent))
            if drop_after is not None:
                limit = min(limit, max(0, drop_after - sent))
            if rate:
                limit = min(limit, max(1, int(rate) // 10))
            if limit > 0:
                wfile.write(chunk[:limit])
                wfile.flush()
                sent += limit
                chunk = chunk[limit:]
                if rate:
                    time.sleep(limit / float(rate))
            if drop_after is not None and sent >= drop_after:
                raise ConnectionDropped()
            if stall_after is not None and not stalled and sent >= stall_after:
                stalled = True
                time.sleep(float(route.get("stall_seconds", 3600)))


# --- the handler ----------------------------------------------------------------------------


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "fixture"

    def log_message(self, format, *args):  # keep test output quiet
        pass

    def _split_target(self):
        parts = urllib.parse.urlsplit(self.path)
        return parts.path, parts.query

    def _reply_plain(self, status, text):
        data = text.encode("utf-8")
        self.wfile.write(
            f"HTTP/1.1 {status} {self.responses.get(status, ('',))[0]}\r\n"
            f"Content-Type: text/plain; charset=utf-8\r\nContent-Length: {len(data)}\r\n"
            f"Connection: close\r\n\r\n".encode("latin-1") + data
        )

    def _control(self, path):
        server = self.server
        if path == CONTROL_PREFIX + "routes" and self.command == "POST":
            length = int(self.headers.get("Content-Length", "0"))
            routes = json.loads(self.rfile.read(length).decode("utf-8"))
            for route in routes if isinstance(routes, list) else [routes]:
                server.routes.add(route, server.base_dir)
            self._reply_plain(200, "ok\n")
        elif path == CONTROL_PREFIX + "log" and self.command == "GET":
            self._reply_plain(200, server.log.render())
        elif path == CONTROL_PREFIX + "log/clear" and self.command == "POST":
            server.log.clear()
            self._reply_plain(200, "ok\n")
        else:
            self._reply_plain(404, "unknown control path\n")

    def _status_line(self, route):
        if "status_line" in route:
            return route["status_line"]
        status = int(route.get("status", 302 if "redirect" in route else 200))
        reason = self.responses.get(status, ("Status",))[0]
        return f"HTTP/1.1 {status} {reason}"

    def _answer(self):
        path, query = self._split_target()
        if path.startswith(CONTROL_PREFIX):
            self._control(path)
            return
        self.server.log.add(self.command, path, query, self.headers)
        route = self.server.routes.find(path, query)
        if route is None:
            self._reply_plain(404, "not found\n")
            return
        if "header_delay" in route:
            time.sleep(float(route["header_delay"]))
        if route.get("endless_header"):
            endless_header(self)
            return
        length, chunks = body_of(route, self)
        headers = dict(route.get("headers", {}))
        if route.get("gzip") and "gzip" in self.headers.get("Accept-Encoding", ""):
            data = gzip.compress(b"".join(chunks), compresslevel=6)
            length, chunks = len(data), [data]
            headers["Content-Encoding"] = "gzip"
            headers["Vary"] = "Accept-Encoding"
        if "redirect" in route:
            headers["Location"] = route["redirect"]
        if length is not None and route.get("content_length", True):
            headers.setdefault("Content-Length", str(length))
        headers.setdefault("Connection", "close")
        head = self._status_line(route) + "\r\n"
        head += "".join(f"{name}: {value}\r\n" for name, value in headers.items())
        self.wfile.write((head + "\r\n").encode("utf-8"))
        self.wfile.flush()
        if self.command == "HEAD":
            return
        try:
            send_body(self.wfile, route, chunks)
        except ConnectionDropped:
            self._drop()

    def _drop(self):
        # Close at once, without a clean end of the body.
        self.close_connection = True
        try:
            self.connection.setsockopt(
                socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00"
            )
        except OSError:
            pass

    def do_GET(self):
        self._guarded(self._answer)

    do_POST = do_GET
    do_HEAD = do_GET

    def _guarded(self, action):
        try:
            action()
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            pass  # the client went away: nothing to tell it


class FixtureServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, base_dir):
        super().__init__(("127.0.0.1", 0), Handler)
        self.routes = RouteTable()
        self.log = RequestLog()
        self.base_dir = base_dir

    def handle_error(self, request, client_address):
        # A client that leaves mid-handshake or mid-request is normal in these tests.
        error = sys.exc_info()[1]
        if not isinstance(error, (ssl.SSLError, ConnectionError, TimeoutError)):
            super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--routes")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()

    base_dir = os.path.dirname(os.path.abspath(args.routes)) if args.routes else os.getcwd()
    server = FixtureServer(base_dir)
    if args.routes:
        with open(args.routes, "r", encoding="utf-8") as f:
            routes = json.load(f)
        for route in routes if isinstance(routes, list) else [routes]:
            server.routes.add(route, base_dir)
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        # The handshake happens in the request's thread, so a silent client blocks nobody.
        server.socket = context.wrap_socket(
            server.socket, server_side=True, do_handshake_on_connect=False
        )
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
