"""The loopback HTTP server of the e2e scenarios and the demo.

Programs reach it through their proxy setting (Config\\GlobalOptions.ini with ProxyType 2),
so it answers absolute-URI requests too and routes them by path alone.
"""
import http.server
import os
import signal
import sys
import threading
import urllib.parse


class UpdateServer:
    """Answers GET requests, absolute-URI (proxy) ones included, from a table of paths."""

    def __init__(self):
        self.routes = {}
        self.requests = []
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                path = urllib.parse.urlsplit(self.path).path or self.path
                owner.requests.append(path)
                status, body, with_length = owner.routes.get(path, (404, b"not found", True))
                self.send_response(status)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Cache-Control", "no-store")
                if with_length:
                    self.send_header("Content-Length", str(len(body)))
                else:
                    self.close_connection = True
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, kwargs={"poll_interval": 0.1}, daemon=True)
        self.thread.start()

    def route(self, path, body, status=200, with_length=True):
        self.routes[path] = (status, body, with_length)

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join(timeout=5)


def write_global_options(config_dir, port, language=1):
    """Config\\GlobalOptions.ini sending HTTP through the loopback proxy at this port."""
    os.makedirs(config_dir, exist_ok=True)
    with open(os.path.join(config_dir, "GlobalOptions.ini"), "w", newline="\r\n") as f:
        f.write("[GlobalOptions]\nLanguage=%d\nProxyType=2\nProxySvr=127.0.0.1\nProxyPort=%d\n" % (language, port))


def main(argv):
    """loopback_server.py URLPATH=FILE...: serves the files, prints the port, runs until SIGTERM."""
    server = UpdateServer()
    for pair in argv:
        path, _, name = pair.partition("=")
        with open(name, "rb") as f:
            server.route(path, f.read())
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    print(server.port, flush=True)
    while not stop.wait(0.5):
        pass
    server.stop()


if __name__ == "__main__":
    main(sys.argv[1:])
