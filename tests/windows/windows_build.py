"""Where the Windows build is and how its programs run under Wine, for the suites of this folder.
They run inside tests/windows/wine-session.sh, which provides the X display and the prefix."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

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


class WineDesktop(Desktop):
    """The session's own display, with a Windows program started on it by `command`; the
    window manager there is the session's."""

    def __init__(self, command):
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
        except AssertionError as error:
            description = self.describe()
            self.close()
            raise AssertionError(f"{error}\n{description}") from None

    def close(self):
        if self.program.poll() is None:
            self.program.terminate()
            self.program.wait(timeout=10)
        self.program_output.close()
        self.screen.close()
        shutil.rmtree(self.runtime_dir, ignore_errors=True)
