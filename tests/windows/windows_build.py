"""Where the Windows build is and how its programs run under Wine, for the suites of this folder.
They run inside tests/windows/wine-session.sh, which provides the X display and the prefix."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from design import CLIENT_PX  # noqa: E402
from desktop import MAIN_TITLE, Desktop, wait_until  # noqa: E402
from xserver import XConnection  # noqa: E402

BUILD = os.environ["BVIBAN_WINDOWS_BUILD"]
VERSION = os.environ["BVIBAN_VERSION"]
FOLDER = os.path.join(BUILD, f"BVIBAN-{VERSION}-win64")
INSTALLER = os.path.join(BUILD, f"BVIBAN-{VERSION}-setup.exe")
PREFIX = os.environ["WINEPREFIX"]


def windows_path(path):
    """The Windows name of a path of this machine: Wine's drive Z: is its root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def drive_c(*parts):
    """The path on this machine of a file of the prefix's drive C:."""
    return os.path.join(PREFIX, "drive_c", *parts)


def wine(*arguments, timeout=120, **options):
    """Runs a Windows program under Wine and waits for it to end."""
    return subprocess.run(["wine", *arguments], timeout=timeout, capture_output=True, **options)


def running(program):
    """The process ids of the running Windows programs named `program` (such as bviban.exe)."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                name = f.read().split(b"\0")[0].decode(errors="replace")
        except OSError:
            continue
        if name.replace("\\", "/").rsplit("/", 1)[-1].lower() == program.lower():
            found.append(int(pid))
    return found


class WineDesktop(Desktop):
    """The session's own display, with the Windows program `program` (such as bviban.exe)
    started on it by `command`, which may hand it on and end (as the Start menu does); the
    window manager there is the session's."""

    def __init__(self, command, program):
        self.program_name = program
        self.helpers = []
        self.window_manager = None
        self.screen = None
        self.runtime_dir = tempfile.mkdtemp(prefix="bviban-windows-")
        self.environment = dict(os.environ)
        self.screen = XConnection(int(os.environ["DISPLAY"].lstrip(":").split(".")[0]))
        self.program_output = open(os.path.join(self.runtime_dir, "output.txt"), "w+b")
        self.program = subprocess.Popen(command, env=self.environment,
                                        stdout=self.program_output, stderr=subprocess.STDOUT)
        try:
            self.main = wait_until(lambda: self.find_window(MAIN_TITLE), 60,
                                   f"the window {MAIN_TITLE!r}")
            self.wait_until_active(self.main)
            # The designed area fills the client area below the menu bar.
            self.main.origin = (0, self.main.geometry()[3] - CLIENT_PX[1])
        except AssertionError as error:
            description = self.describe()
            self.close()
            raise AssertionError(f"{error}\n{description}") from None

    def assert_running(self):
        if not running(self.program_name):
            raise AssertionError(f"{self.program_name} ended:\n{self.output()}")

    def close_main_window(self, timeout=30):
        """Closes the main window as its close box would and waits until the program has
        ended. Started through a shortcut, its exit status is out of reach: 0 stands for it."""
        self.screen.request_close(int(self.main.id))
        wait_until(lambda: not running(self.program_name), timeout,
                   f"{self.program_name} to end when its window was closed")
        return 0

    def close(self):
        for pid in running(self.program_name):
            os.kill(pid, signal.SIGTERM)
        if self.program.poll() is None:
            self.program.terminate()
            self.program.wait(timeout=10)
        self.program_output.close()
        self.screen.close()
        shutil.rmtree(self.runtime_dir, ignore_errors=True)
