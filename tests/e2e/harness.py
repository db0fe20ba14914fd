"""Whole-program scenarios under Wine: temporary installations, programs, the probe.

Python 3 standard library only. Every program a scenario starts is ended by that
scenario, by its own pid; every wait is bounded.
"""
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BIN = os.environ.get("ORVO_BIN", os.path.join(ROOT, "build", "win64", "bin"))
WORK = os.environ.get("ORVO_E2E_WORK", os.path.join(ROOT, "build", "win64", "e2e"))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")

KELVARA_MUTEX = r"Global\Norrel_Mutex_Kelvara"
SIDEBAR_MUTEX = r"Global\Norrel_Mutex_OrvoWidget"

WS_EX_TOOLWINDOW = 0x80
WS_EX_APPWINDOW = 0x40000
WM_CLOSE = 0x0010
WM_SIDEBAR_SAVEANDCLOSE = 0x0846
WM_KELVARA_CLOSE = 0x0847


def windows_path(path):
    """The path as a Windows program under Wine sees it (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def text_arg(text):
    """A probe argument that survives any command-line code page."""
    if text.isascii():
        return text
    return "hex:" + text.encode("utf-8").hex()


def monitors():
    """The X display's monitors as [left, top, right, bottom], numbered as Windows programs
    under Wine number them: the primary one first."""
    out = subprocess.run(["xrandr", "--listmonitors"], capture_output=True, text=True, check=True,
                         timeout=10).stdout
    found = []
    for line in out.splitlines()[1:]:
        # " 1: +DUMMY1 1024/271x768/203+1280+0  DUMMY1"
        match = re.match(r"\s*\d+: \+?(\*?)\S+ (\d+)/\d+x(\d+)/\d+\+(-?\d+)\+(-?\d+)", line)
        if match:
            primary, width, height, left, top = match.groups()
            left, top = int(left), int(top)
            found.append((primary != "*", [left, top, left + int(width), top + int(height)]))
    if not found:
        raise AssertionError("xrandr lists no monitors:\n" + out)
    return [rect for _later, rect in sorted(found, key=lambda item: item[0])]


def test_widget(install, name, settings, source="Test"):
    """Widgets\\<name>\\Widget.dll from a test widget library, with its Seting.ini."""
    directory = install.path("Widgets", name)
    os.makedirs(directory, exist_ok=True)
    shutil.copy2(os.path.join(BIN, "testwidgets", source, "Widget.dll"), directory)
    with open(os.path.join(directory, "Seting.ini"), "w", newline="\r\n") as f:
        f.write("[TestWidget]\nName=%s\n%s" % (name, settings))


def copy_skins(install):
    shutil.copytree(os.path.join(BIN, "Skin"), install.path("Skin"), dirs_exist_ok=True)


def install_weather_widget(install):
    """The weather widget as installed: Widgets\\Weather with its library, icon, city codes and images."""
    widget_dir = install.path("Widgets", "Weather")
    source = os.path.join(BIN, "Widgets", "Weather")
    os.makedirs(widget_dir)
    for name in ("Widget.dll", "Icon.png", "CityCode.txt"):
        shutil.copy2(os.path.join(source, name), widget_dir)
    shutil.copytree(os.path.join(source, "Images"), os.path.join(widget_dir, "Images"))


def xdotool(*args):
    """Real input on the X display."""
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=10)


def region(png, left, top, width, height):
    """The RGB pixels of a rectangle of a PNG, row by row."""
    raw = subprocess.run(["convert", png, "-crop", "%dx%d+%d+%d" % (width, height, left, top), "+repage",
                          "-depth", "8", "rgb:-"], capture_output=True, check=True, timeout=30).stdout
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]


class Installation:
    """A temporary installation directory holding the programs a scenario needs."""

    def __init__(self, name, programs=("OrvoWidget.exe", "Kelvara.exe"), subdir=None):
        os.makedirs(WORK, exist_ok=True)
        self.top = tempfile.mkdtemp(prefix=name + "-", dir=WORK)
        self.dir = os.path.join(self.top, subdir) if subdir else self.top
        os.makedirs(self.dir, exist_ok=True)
        for program in programs:
            shutil.copy2(os.path.join(BIN, program), self.dir)

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def files(self):
        found = set()
        for top, _dirs, names in os.walk(self.dir):
            for name in names:
                found.add(os.path.relpath(os.path.join(top, name), self.dir))
        return found

    def remove(self):
        shutil.rmtree(self.top, ignore_errors=True)


class Scenario(unittest.TestCase):
    """Base of every e2e test case: starts programs, ends them all afterwards."""

    # The programs copied into each case's installation, and an optional subdirectory of its
    # temporary directory to install into.
    programs = ("OrvoWidget.exe", "Kelvara.exe")
    install_subdir = None

    def setUp(self):
        self._processes = []      # Popen objects of programs started by this case
        self._windows_pids = set()  # Windows pids of programs they started in turn
        self.install = Installation(self.id().split(".")[-1], programs=self.programs, subdir=self.install_subdir)

    def tearDown(self):
        for pid in sorted(self._windows_pids):
            self.probe("kill", str(pid), check=False)
        for process in self._processes:
            if process.poll() is None:
                process.send_signal(signal.SIGKILL)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
        self.install.remove()

    # Programs

    def start(self, program, *args, env=None):
        """Starts a program of the installation under Wine (with these extra environment
        variables); returns its Popen."""
        process = subprocess.Popen([WINE_RUN, windows_path(self.install.path(program)), *args],
                                   cwd=self.install.dir, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, env={**os.environ, **(env or {})})
        self._processes.append(process)
        return process

    def adopt(self, window):
        """Ends the program owning this window when the case ends (it was not started here)."""
        self._windows_pids.add(window["pid"])

    def wait_exit(self, process, timeout=20):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail("program did not end within %s s" % timeout)

    def start_kelvara(self, *args):
        process = self.start("Kelvara.exe", *args)
        window = self.wait_window(cls="TFmKelvaraMain")
        return process, window

    # The probe

    def probe(self, *args, check=True, timeout=30):
        result = subprocess.run([WINE_RUN, windows_path(os.path.join(BIN, "probe.exe")), *args],
                                capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise AssertionError("probe %s failed (%d)" % (" ".join(args), result.returncode))
        out = result.stdout.strip()
        return json.loads(out) if out else result.returncode

    def _filter(self, cls=None, title=None, pid=None):
        args = []
        if cls is not None:
            args += ["--class", text_arg(cls)]
        if title is not None:
            args += ["--title", text_arg(title)]
        if pid is not None:
            args += ["--pid", str(pid)]
        return args

    def windows(self, cls=None, title=None, pid=None):
        return self.probe("windows", *self._filter(cls, title, pid))

    def wait_window(self, cls=None, title=None, pid=None, timeout_ms=15000):
        result = self.probe("wait", *self._filter(cls, title, pid), "--timeout", str(timeout_ms),
                            check=False, timeout=timeout_ms / 1000 + 20)
        if not isinstance(result, dict):
            self.fail("no window class=%r title=%r within %d ms" % (cls, title, timeout_ms))
        return result

    def wait_gone(self, window, timeout_ms=10000):
        return self.probe("wait-gone", window["hwnd"], "--timeout", str(timeout_ms), check=False,
                          timeout=timeout_ms / 1000 + 20) == 0

    def info(self, window):
        return self.probe("info", window["hwnd"])

    def children(self, window):
        return self.probe("children", window["hwnd"])

    def click(self, window, caption):
        self.probe("click", window["hwnd"], text_arg(caption))

    def post(self, window, message, wparam=0, lparam=0):
        self.probe("post", window["hwnd"], hex(message), str(wparam), str(lparam))

    def move(self, window, left, top, width, height):
        self.probe("move", window["hwnd"], str(left), str(top), str(width), str(height))

    def screenshot(self, name):
        """The whole X display as a PNG in the installation's parent directory."""
        path = os.path.join(self.install.top, name)
        subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root", path],
                       check=True, timeout=30)
        return path

    @staticmethod
    def pixels(png, points):
        """RGB of each (x, y) of a PNG, read by ImageMagick."""
        result = []
        for x, y in points:
            out = subprocess.run(["convert", png, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8", "txt:-"],
                                 capture_output=True, text=True, check=True, timeout=30).stdout
            values = out.splitlines()[-1].split("(")[1].split(")")[0].split(",")
            result.append(tuple(int(float(v)) for v in values[:3]))
        return result

    def mutex_exists(self, name):
        return self.probe("mutex", name)["exists"]

    def x_window_managed(self, x_window):
        """Whether Wine has made this X window a managed one (no longer override-redirect)."""
        out = subprocess.run(["xwininfo", "-id", str(x_window)], capture_output=True, text=True, timeout=10).stdout
        return "Override Redirect State: no" in out

    def activate(self, window, timeout=10.0):
        """Makes the window the foreground window and waits until Wine is done with it. With no
        window manager, Wine turns a window into a managed one when it is first activated: it
        unmaps and maps its X window, the X focus falls back to the root, and the activation
        is taken away again, asynchronously. A press caught in between loses its capture and
        never starts the drag, so the press waits for the window's input state to settle."""
        self.assertEqual(self.probe("activate", window["hwnd"], check=False), 0)
        deadline = time.monotonic() + timeout
        previous = None
        while True:
            state = self.probe("input", window["hwnd"])
            if state == previous and self.x_window_managed(state["x_window"]):
                return
            if time.monotonic() >= deadline:
                self.fail("the window's activation did not settle: %r" % (state,))
            previous = state
            time.sleep(0.2)

    def drag(self, window, grab, drop, steps):
        """A real drag with the left button: press, move in steps, release. The window is made the
        foreground window first, as a window manager would on the click: under Wine without one,
        a window activated only by the click is remapped at its first move step, which ends the
        system's move loop there. The first step must have started that loop."""
        self.activate(window)
        xdotool("mousemove", *grab)
        xdotool("mousedown", 1)
        time.sleep(0.2)
        for i in range(1, steps + 1):
            xdotool("mousemove", grab[0] + (drop[0] - grab[0]) * i // steps, grab[1] + (drop[1] - grab[1]) * i // steps)
            time.sleep(0.05)
            if i == 1:
                self.wait_moving(window)
        time.sleep(0.2)
        xdotool("mouseup", 1)

    def wait_moving(self, window, timeout=5.0):
        deadline = time.monotonic() + timeout
        while True:
            state = self.probe("input", window["hwnd"])
            if state["in_move_size"] and state["move_size"] == window["hwnd"]:
                return
            if time.monotonic() >= deadline:
                xdotool("mouseup", 1)
                self.fail("the press and first move did not start the move loop: %r" % (state,))
            time.sleep(0.1)

    def eventually(self, predicate, timeout=10.0, message="condition not met"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if predicate():
                return
            time.sleep(0.1)
        self.fail(message)
