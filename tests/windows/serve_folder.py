"""Serves a folder over HTTP on 127.0.0.1 at a free port, printed on standard output; each
request is logged on standard error. For the update check of the Windows real-window test.

    serve_folder.py FOLDER
"""
import functools
import http.server
import sys


def main():
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
