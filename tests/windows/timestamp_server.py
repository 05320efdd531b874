"""An RFC 3161 time-stamping service on 127.0.0.1 for the signature tests: answers each POSTed
request with `openssl ts -reply` under the authority that make_signing_keys.sh made in DIR.
Prints the port it listens on.

    python3 timestamp_server.py DIR
"""
import http.server
import os
import subprocess
import sys
import tempfile

KEYS = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        request = self.rfile.read(int(self.headers.get("Content-Length", "0")))
        with tempfile.TemporaryDirectory() as scratch:
            query, reply = os.path.join(scratch, "query"), os.path.join(scratch, "reply")
            with open(query, "wb") as out:
                out.write(request)
            made = subprocess.run(
                ["openssl", "ts", "-reply", "-config", os.path.join(KEYS, "tsa.cnf"),
                 "-queryfile", query, "-out", reply], capture_output=True, check=False)
            if made.returncode != 0:
                sys.stderr.write(made.stderr.decode(errors="replace"))
                self.send_error(500)
                return
            with open(reply, "rb") as answer:
                body = answer.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_port, flush=True)
server.serve_forever()
