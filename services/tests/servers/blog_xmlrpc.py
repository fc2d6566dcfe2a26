#!/usr/bin/env python3
"""A stand-in WordPress blog for the posting tests: an XML-RPC server on 127.0.0.1 that
implements metaWeblog.newPost and appends every call, with the request path, as one JSON line
to the record file.

Usage: blog_xmlrpc.py RECORD_FILE
Prints the port it listens on as the first line of standard output.

Answers by the call's arguments:
  password "wrong"      -> fault 403 "Incorrect username or password."
  user "int-ids"        -> the post id as an int (WordPress sends strings)
  user "slow"           -> waits 30 s before answering (for the client's timeout)
  otherwise             -> the post id as a string, ids counting from 101
"""
import json
import sys
import time
import xmlrpc.client
from socketserver import ThreadingMixIn
from xmlrpc.server import SimpleXMLRPCRequestHandler, SimpleXMLRPCServer


class Handler(SimpleXMLRPCRequestHandler):
    def is_rpc_path_valid(self):
        return True

    def do_POST(self):
        self.server.current_path = self.path
        super().do_POST()

    def log_message(self, *args):
        pass


class Server(ThreadingMixIn, SimpleXMLRPCServer):
    daemon_threads = True


def main():
    record = sys.argv[1]
    server = Server(("127.0.0.1", 0), requestHandler=Handler, allow_none=True,
                    logRequests=False, encoding="utf-8")
    state = {"next_id": 101}

    def new_post(blog_id, user, password, post, publish):
        with open(record, "a", encoding="utf-8") as f:
            f.write(json.dumps({"path": server.current_path, "blog_id": blog_id, "user": user,
                                "password": password, "post": post, "publish": publish},
                               ensure_ascii=False) + "\n")
        if password == "wrong":
            raise xmlrpc.client.Fault(403, "Incorrect username or password.")
        if user == "slow":
            time.sleep(30)
        post_id = state["next_id"]
        state["next_id"] += 1
        return post_id if user == "int-ids" else str(post_id)

    server.register_function(new_post, "metaWeblog.newPost")
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
