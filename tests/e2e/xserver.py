"""A private X server for the suite, and a minimal X11 client that reads screen pixels and
asks windows to close.

Xvfb picks a free display number itself (-displayfd). The client speaks the X11 protocol over
the server's local socket (no authorisation is needed for a private Xvfb): GetImage on the root
window, so that a screenshot of a small area costs a millisecond rather than the start of an
external program, and the WM_DELETE_WINDOW message that a window manager's close box sends.
"""

import os
import select
import socket
import struct
import subprocess


class XServerError(RuntimeError):
    pass


class Xvfb:
    def __init__(self, width=1024, height=768):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        try:
            number = self._read_display_number(read_fd, timeout=20)
        finally:
            os.close(read_fd)
        if not number:
            self.stop()
            raise XServerError("Xvfb did not start")
        self.number = int(number)
        self.name = f":{self.number}"

    @staticmethod
    def _read_display_number(fd, timeout):
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([fd], [], [], timeout)
            if not ready:
                return ""
            chunk = os.read(fd, 16)
            if not chunk:
                return ""
            text += chunk
        return text.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class Image:
    """Pixels of a rectangle of the screen, addressed relative to its top-left corner."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self._data = data

    def pixel(self, x, y):
        # ZPixmap, 32 bits per pixel, least significant byte first: blue, green, red, unused.
        offset = 4 * (y * self.width + x)
        blue, green, red = self._data[offset], self._data[offset + 1], self._data[offset + 2]
        return red, green, blue

    def pixels(self):
        for y in range(self.height):
            for x in range(self.width):
                yield x, y, self.pixel(x, y)


class XConnection:
    """A connection to a display that reads its screen and closes windows politely."""

    def __init__(self, display_number):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(20)
        self.sock.connect(f"/tmp/.X11-unix/X{display_number}")
        self.sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        status, _, _, _, extra = struct.unpack("<BBHHH", self._receive(8))
        setup = self._receive(4 * extra)
        if status != 1:
            raise XServerError("the X server refused the connection")
        vendor_length, _, screen_count, format_count = struct.unpack_from("<HHBB", setup, 16)
        offset = 32 + (vendor_length + 3) // 4 * 4 + 8 * format_count
        for i in range(format_count):
            depth, bits_per_pixel = struct.unpack_from("<BB", setup, 32 + (vendor_length + 3) // 4 * 4 + 8 * i)
            if depth == 24 and bits_per_pixel != 32:
                raise XServerError("unexpected pixel format")
        (self.root,) = struct.unpack_from("<I", setup, offset)

    def _receive(self, size):
        data = bytearray()
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                raise XServerError("the X server closed the connection")
            data += chunk
        return bytes(data)

    def _reply(self):
        header = self._receive(32)
        # Events that every client receives (MappingNotify when xdotool remaps a key) may come
        # first; they are 32 bytes each.
        while header[0] > 1:
            header = self._receive(32)
        if header[0] == 0:
            raise XServerError(f"the X server reports error {header[1]}")
        (length,) = struct.unpack_from("<I", header, 4)
        return header, self._receive(4 * length)

    def grab(self, x, y, width, height):
        """The screen's pixels in the rectangle (absolute coordinates)."""
        self.sock.sendall(struct.pack("<BBHIhhHHI", 73, 2, 5, self.root, x, y, width, height,
                                      0xFFFFFFFF))
        _, data = self._reply()
        return Image(width, height, data)

    def atom(self, name):
        encoded = name.encode("ascii")
        padded = encoded + b"\0" * (-len(encoded) % 4)
        self.sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + len(padded) // 4, len(encoded)) +
                          padded)
        header, _ = self._reply()
        return struct.unpack_from("<I", header, 8)[0]

    def request_close(self, window):
        """Sends the window the WM_DELETE_WINDOW message of the ICCCM, as a close box does."""
        protocols = self.atom("WM_PROTOCOLS")
        delete = self.atom("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        self.sock.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + event)

    def close(self):
        self.sock.close()
