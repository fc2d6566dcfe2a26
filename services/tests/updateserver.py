#!/usr/bin/env python3
"""A local update server for the tests.

Usage: updateserver.py FOLDER [CERTIFICATE KEY]

Answers GET requests from the files of FOLDER: "/?page_id=346" is the file "page_346",
"/english_syn4.dat" the file "english_syn4.dat"; a missing file is a 404. Beside a file:
  NAME.status    the HTTP status to answer with (the file's bytes still follow)
  NAME.truncate  announce 1000 bytes more than are sent, then close the connection
  NAME.stall     announce 1000 bytes more, send what there is, then go silent for a minute
A POST is answered with the file "post_" + NAME (default: 200 and "ok") and its body is kept as
"posted_1", "posted_2", ... Every request is appended to FOLDER/requests.log as "METHOD PATH".
With a certificate and key (PEM files) it speaks HTTPS. Prints the port it listens on
(127.0.0.1 only) and serves until killed.
"""
import http.server
import os
import ssl
import sys
import time
import urllib.parse

root = sys.argv[1]


def name_for(path):
    parts = urllib.parse.urlsplit(path)
    query = urllib.parse.parse_qs(parts.query)
    if "page_id" in query:
        return "page_" + query["page_id"][0]
    return parts.path.lstrip("/")


def read(name):
    with open(os.path.join(root, name), "rb") as f:
        return f.read()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self):
        with open(os.path.join(root, "requests.log"), "a") as f:
            f.write(f"{self.command} {self.path}\n")

    def do_GET(self):
        self.record()
        name = name_for(self.path)
        if not os.path.isfile(os.path.join(root, name)):
            self.answer(404, b"not found")
            return
        self.answer_file(name)

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.record()
        count = len([n for n in os.listdir(root) if n.startswith("posted_")])
        with open(os.path.join(root, f"posted_{count + 1}"), "wb") as f:
            f.write(body)
        name = "post_" + name_for(self.path)
        if os.path.isfile(os.path.join(root, name)):
            self.answer_file(name)
        else:
            self.answer(200, b"ok")

    def answer_file(self, name):
        status = 200
        if os.path.isfile(os.path.join(root, name + ".status")):
            status = int(read(name + ".status"))
        data = read(name)
        if os.path.exists(os.path.join(root, name + ".truncate")):
            self.answer(status, data, extra=1000)
            self.close_connection = True
        elif os.path.exists(os.path.join(root, name + ".stall")):
            self.answer(status, data, extra=1000)
            time.sleep(60)
        else:
            self.answer(status, data)

    def answer(self, status, data, extra=0):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(data) + extra))
        self.end_headers()
        self.wfile.write(data)
        self.wfile.flush()


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
if len(sys.argv) > 3:
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(sys.argv[2], sys.argv[3])
    server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
