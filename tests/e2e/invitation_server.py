"""An HTTP server of the suite's own on 127.0.0.1 that stands in for the proxy: the program's
hidden browser, told by http_proxy, sends it the invitation request, whose request line it
keeps. It answers with `status`: 200 by default, or an error when the test sets one."""

import http.server
import threading


# Far above the 64 KiB that Python's server takes by default: the suite sends longer values.
MAX_REQUEST_LINE = 1 << 20


class _Handler(http.server.BaseHTTPRequestHandler):
    def handle_one_request(self):
        self.raw_requestline = self.rfile.readline(MAX_REQUEST_LINE + 1)
        if not self.raw_requestline or len(self.raw_requestline) > MAX_REQUEST_LINE:
            self.close_connection = True
            return
        if self.parse_request() and self.command == "GET":
            self.do_GET()
            self.wfile.flush()

    def do_GET(self):
        self.server.request_lines.append(self.requestline)
        body = b"OK"
        self.send_response(self.server.status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *arguments):
        pass


class InvitationServer:
    def __init__(self):
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), _Handler)
        self.httpd.request_lines = []
        self.httpd.status = 200
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    @property
    def proxy(self):
        return f"http://127.0.0.1:{self.httpd.server_address[1]}"

    @property
    def status(self):
        return self.httpd.status

    @status.setter
    def status(self, value):
        self.httpd.status = value

    @property
    def request_lines(self):
        return list(self.httpd.request_lines)

    def close(self):
        """Stops serving: from then on a connection to its port is refused."""
        if self.thread.is_alive():
            self.httpd.shutdown()
            self.httpd.server_close()
            self.thread.join()
