"""The program on a private desktop, used as a person uses it: X input through xdotool, and
read back only through the screen, the window list and the clipboard."""

import os
import re
import shlex
import shutil
import subprocess
import tempfile
import time
import unittest

from design import CLIENT_PX
from xserver import XConnection, Xvfb

MAIN_TITLE = "Quorvel by Brivanta"


def wait_until(condition, timeout, what, interval=0.05):
    """Polls until condition() returns something true and returns it; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Window:
    """A window on the screen. Positions given to its methods are relative to `origin` in its
    client area: the top-left corner of the designed area, which in the main window lies below
    the menu bar."""

    def __init__(self, desktop, window_id):
        self.desktop = desktop
        self.id = window_id
        self.origin = (0, 0)

    def geometry(self):
        """(x, y, width, height) of the window's client area on the screen. xdotool would add
        the window manager's frame to the position."""
        done = subprocess.run(["xwininfo", "-id", self.id], env=self.desktop.environment,
                              capture_output=True, timeout=30)
        if done.returncode != 0:
            raise AssertionError(f"xwininfo -id {self.id} failed: {done.stderr!r}")
        values = dict(line.strip().split(": ", 1) for line in done.stdout.decode().splitlines()
                      if ": " in line)
        return tuple(int(values[key]) for key in ("Absolute upper-left X",
                                                  "Absolute upper-left Y", "Width", "Height"))

    def title(self):
        return self.desktop.xdotool("getwindowname", self.id).rstrip("\n")

    def area(self):
        """(x, y, width, height) on the screen of the area from `origin` to the client area's
        bottom-right corner."""
        left, top, width, height = self.geometry()
        return (left + self.origin[0], top + self.origin[1], width - self.origin[0],
                height - self.origin[1])

    def grab(self, x=0, y=0, width=None, height=None):
        """Pixels of the area, or of a rectangle of it."""
        left, top, full_width, full_height = self.area()
        return self.desktop.screen.grab(left + x, top + y,
                                        width if width is not None else full_width,
                                        height if height is not None else full_height)

    def pixel(self, x, y):
        return self.grab(x, y, 1, 1).pixel(0, 0)

    def mouse_move(self, x, y):
        left, top, _, _ = self.area()
        self.desktop.mouse_move(left + x, top + y)

    def click(self, x, y, button=1):
        self.mouse_move(x, y)
        self.desktop.xdotool("click", str(button))

    def exists(self):
        return self.id in self.desktop.visible_windows(".*")


class Desktop:
    """A private Xvfb with Debian's openbox as its window manager, and the program started on
    it: `program` is its path, or a whole command as a list. The window manager gives the focus,
    as on a user's desktop."""

    def __init__(self, program, extra_environment=None, main_active=True):
        self.helpers = []
        self.window_manager = None
        self.program = None
        self.program_output = None
        self.screen = None
        self.runtime_dir = tempfile.mkdtemp(prefix="bviban-e2e-")
        os.chmod(self.runtime_dir, 0o700)
        self.xvfb = Xvfb()
        try:
            self.environment = {
                key: value for key, value in os.environ.items()
                if not key.startswith(("QT_", "WAYLAND_", "XDG_RUNTIME_DIR", "DISPLAY",
                                       "http_proxy", "HTTP_PROXY", "no_proxy", "NO_PROXY"))}
            self.environment.update(DISPLAY=self.xvfb.name, XDG_RUNTIME_DIR=self.runtime_dir)
            self.screen = XConnection(self.xvfb.number)
            self.start_window_manager()
            program_environment = dict(self.environment, **(extra_environment or {}))
            self.program_output = open(os.path.join(self.runtime_dir, "output.txt"), "w+b")
            command = program if isinstance(program, list) else [program]
            self.program = subprocess.Popen(command, env=program_environment,
                                            stdout=self.program_output,
                                            stderr=subprocess.STDOUT)
            try:
                self.main = wait_until(lambda: self.find_window(MAIN_TITLE), 30,
                                       f"the window {MAIN_TITLE!r}")
                # A window that the arguments open at once may take the focus first.
                if main_active:
                    self.wait_until_active(self.main)
                # The designed area fills the client area below the menu bar.
                self.main.origin = (0, self.main.geometry()[3] - CLIENT_PX[1])
            except AssertionError as error:
                raise AssertionError(f"{error}\n{self.describe()}") from None
        except BaseException:
            self.close()
            raise

    def describe(self):
        """What the screen and the program show, for a failure's message."""
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.environment,
                              capture_output=True, timeout=30).stdout.decode(errors="replace")
        running = "running" if self.program.poll() is None else f"ended ({self.program.returncode})"
        return f"windows:\n{tree}\nprogram {running}, output:\n{self.output()}"

    def start_window_manager(self):
        """Starts openbox with its system-wide configuration, whatever the user's own, and
        waits until it is ready. It claims the screen before it reads the windows' events: a
        window mapped in between may never be shown, so readiness is its start-up command,
        which it runs once it handles events."""
        home = os.path.join(self.runtime_dir, "openbox")
        ready = os.path.join(home, "ready")
        os.mkdir(home)
        wm_environment = dict(self.environment, XDG_CONFIG_HOME=home, XDG_CACHE_HOME=home,
                              XDG_DATA_HOME=home)
        self.window_manager = subprocess.Popen(
            ["openbox", "--startup", f"touch {shlex.quote(ready)}"], env=wm_environment,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: os.path.exists(ready), 20, "openbox to be ready", interval=0.01)

    def active_window(self):
        done = subprocess.run(["xdotool", "getactivewindow"], env=self.environment,
                              capture_output=True, timeout=30)
        return done.stdout.decode().strip() if done.returncode == 0 else None

    def wait_until_active(self, window, timeout=10):
        """Waits until the window manager has activated the window."""
        wait_until(lambda: self.active_window() == window.id, timeout,
                   f"the window {window.id} to be active")

    def xdotool(self, *arguments):
        done = subprocess.run(["xdotool", *arguments], env=self.environment,
                              capture_output=True, timeout=30)
        if done.returncode != 0:
            raise AssertionError(f"xdotool {' '.join(arguments)} failed: {done.stderr!r}")
        return done.stdout.decode("utf-8", errors="replace")

    def visible_windows(self, pattern):
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                              env=self.environment, capture_output=True, timeout=30)
        return done.stdout.decode().split()

    def find_window(self, title):
        """The visible window whose title is exactly `title`, or None."""
        last_word = re.sub(r"([][.*+?(){}|^$\\])", r"\\\1", title.split(" ")[-1])
        for window_id in self.visible_windows(last_word):
            window = Window(self, window_id)
            try:
                if window.title() == title:
                    return window
            except AssertionError:
                # Closed between the listing and the question: it is no longer there.
                if window_id in self.visible_windows(last_word):
                    raise
        return None

    def wait_for_window(self, title, timeout=10):
        return wait_until(lambda: self.find_window(title), timeout, f"the window {title!r}")

    def wait_until_gone(self, title, timeout=10):
        wait_until(lambda: self.find_window(title) is None, timeout,
                   f"the window {title!r} to close")

    def mouse_move(self, x, y):
        """Moves the pointer to a screen position and waits until it is there. xdotool's own
        wait would last until its time-out when the pointer is there already."""
        location = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in location.splitlines() if "=" in line)
        if (int(values["X"]), int(values["Y"])) != (x, y):
            self.xdotool("mousemove", "--sync", str(x), str(y))

    def key(self, *keys):
        self.xdotool("key", "--delay", "30", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "30", text)

    def clipboard(self):
        done = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.environment,
                              capture_output=True, timeout=10)
        return done.stdout.decode("utf-8") if done.returncode == 0 else None

    def set_clipboard(self, text):
        """Offers `text` on the clipboard from another program, as a person copying it would."""
        helper = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"],
                                  env=self.environment, stdin=subprocess.PIPE,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        helper.stdin.write(text.encode("utf-8"))
        helper.stdin.close()
        self.helpers.append(helper)
        wait_until(lambda: self.clipboard() == text, 10, "the clipboard to take the text")

    def output(self):
        self.program_output.seek(0)
        return self.program_output.read().decode("utf-8", errors="replace")

    def assert_running(self):
        if self.program.poll() is not None:
            raise AssertionError(f"the program ended with status {self.program.returncode}:\n"
                                 f"{self.output()}")

    def assert_clean_exit(self):
        """Closes the main window and checks that the program ends cleanly."""
        self.assert_running()
        status = self.close_main_window()
        if status != 0:
            raise AssertionError(f"the program ended with status {status}:\n{self.output()}")

    def close_main_window(self, timeout=30):
        """Closes the main window as its close box would and returns the program's exit
        status (a sanitizer build reports leaks and errors through it)."""
        self.screen.request_close(int(self.main.id))
        try:
            return self.program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end when its window was closed")

    def close(self):
        for process in [*self.helpers, self.program, self.window_manager]:
            if process is not None and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self.program_output is not None:
            self.program_output.close()
        if self.screen is not None:
            self.screen.close()
        self.xvfb.stop()
        shutil.rmtree(self.runtime_dir, ignore_errors=True)


class DesktopTestCase(unittest.TestCase):
    """Each test gets the program on a desktop of its own and must end with a clean exit. The
    program gets the arguments that `arguments()` gives."""

    environment = None

    def arguments(self):
        return []

    def setUp(self):
        arguments = self.arguments()
        self.desktop = Desktop([os.environ.get("BVIBAN_PROGRAM", "bviban"), *arguments],
                               self.environment, main_active=not arguments)
        # Also when a subclass's set-up fails after this point, which skips tearDown.
        self.addCleanup(self.desktop.close)
        self.main = self.desktop.main

    def tearDown(self):
        self.desktop.assert_clean_exit()

    def type_codes(self, abi, cab, account):
        """Types the calculator's three codes from the first field, Enter moving on."""
        self.desktop.type(abi)
        self.desktop.key("Return")
        self.desktop.type(cab)
        self.desktop.key("Return")
        self.desktop.type(account)

    def calculate(self, abi, cab, account, press):
        """Types the codes and presses "Calcola IBAN", which Enter reaches, with `press`."""
        self.type_codes(abi, cab, account)
        self.desktop.key("Return", press)
