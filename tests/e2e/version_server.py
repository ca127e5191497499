"""A one-file HTTP server on 127.0.0.1 that publishes a version text.

Tests start it around one version check: it answers every request with the
given body and records what each request looked like, so a test can check
that the program sent a GET of /information/tallowind.txt with the user agent
"brindle-oakmoor".

Run by hand: python3 version_server.py 1.1 [port]
"""

import http.server
import sys
import threading

VERSION_PATH = "/information/tallowind.txt"
USER_AGENT = "brindle-oakmoor"
DEFAULT_PORT = 18080


class VersionServer:
    """Serves `body` (bytes) on 127.0.0.1:`port` in a thread of its own.

    Use as a context manager. `requests` lists (method, path, user agent) of
    every request received; `problems()` names those that were not a GET of
    the version text with the program's user agent.
    """

    def __init__(self, body: bytes, port: int = DEFAULT_PORT):
        self.body = body
        self.port = port
        self.requests = []
        self._server = None
        self._thread = None

    def problems(self):
        return [
            f"{method} {path} with user agent {agent!r}"
            for method, path, agent in self.requests
            if method != "GET" or path != VERSION_PATH or agent != USER_AGENT
        ]

    def __enter__(self):
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def _record(self):
                owner.requests.append((self.command, self.path, self.headers.get("User-Agent")))

            def do_GET(self):
                self._record()
                self.send_response(200)
                self.send_header("Content-Type", "text/plain")
                self.send_header("Content-Length", str(len(owner.body)))
                self.send_header("Cache-Control", "no-cache")
                self.end_headers()
                try:
                    self.wfile.write(owner.body)
                except (BrokenPipeError, ConnectionResetError):
                    pass  # the program stops reading an oversized reply

            def do_HEAD(self):
                self._record()
                self.send_response(405)
                self.end_headers()

            do_POST = do_PUT = do_HEAD

            def log_message(self, format, *args):
                pass

        class Server(http.server.ThreadingHTTPServer):
            allow_reuse_address = True
            daemon_threads = True

            def handle_error(self, request, client_address):
                pass  # a client that hangs up is no fault of the server

        self._server = Server(("127.0.0.1", self.port), Handler)
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join(timeout=10)
        return False


if __name__ == "__main__":
    body = sys.argv[1].encode("ascii") if len(sys.argv) > 1 else b"1.0"
    port = int(sys.argv[2]) if len(sys.argv) > 2 else DEFAULT_PORT
    with VersionServer(body, port) as server:
        print(f"serving {body!r} on http://127.0.0.1:{port}{VERSION_PATH}; Ctrl-C stops")
        try:
            threading.Event().wait()
        except KeyboardInterrupt:
            pass
