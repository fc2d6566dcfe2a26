#!/usr/bin/env python3
"""A stand-in for the Copyscape API on 127.0.0.1 for the dialog tests.

Usage: copyscape_api.py FOLDER
Prints the port it listens on as the first line of standard output. Every request is appended
to FOLDER/requests.jsonl as {"method", "path", "query", "body", "content_type"} (query and body
as the raw bytes decoded as Latin-1, so the test compares them byte for byte). The answer to
"o=balance" is the file FOLDER/balance.txt, to "o=csearch" the file FOLDER/csearch.xml, read at
each request, so a test changes the answer by rewriting the file. A missing file answers 500.
"""
import json
import os
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit


class Handler(BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, body):
        parts = urlsplit(self.path)
        with open(os.path.join(self.server.folder, "requests.jsonl"), "a",
                  encoding="utf-8") as f:
            f.write(json.dumps({"method": self.command, "path": parts.path,
                                "query": parts.query,
                                "body": body.decode("latin-1"),
                                "content_type": self.headers.get("Content-Type", "")}) + "\n")
        fields = parse_qs(parts.query, keep_blank_values=True)
        fields.update(parse_qs(body.decode("utf-8", "replace"), keep_blank_values=True))
        operation = fields.get("o", [""])[0]
        name = {"balance": "balance.txt", "csearch": "csearch.xml"}.get(operation)
        path = os.path.join(self.server.folder, name) if name else None
        if not path or not os.path.exists(path):
            self.send_response(500)
            self.end_headers()
            return
        with open(path, "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "text/xml; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        self.answer(b"")

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        self.answer(self.rfile.read(length))


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.folder = sys.argv[1]
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
