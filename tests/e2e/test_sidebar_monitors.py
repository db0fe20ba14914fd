"""The bar on a desktop of two monitors side by side (tools/test provides one): on monitor 1 at
the desktop's right edge and at the inner edge, and a first height from the work area."""
import configparser
import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import BIN, ROOT, WM_SIDEBAR_SAVEANDCLOSE, WORK, Scenario, copy_skins, monitors  # noqa: E402

WORKAREA = "_NET_WORKAREA"
RESERVED = 40  # a panel's strip at the bottom of the desktop
WHITE = (255, 255, 255)


def root_property(name):
    """A cardinal property of the root window as xprop prints its values, or None."""
    out = subprocess.run(["xprop", "-root", "-notype", name], capture_output=True, text=True, check=True,
                         timeout=10).stdout
    return out.split("=", 1)[1].strip() if "=" in out else None


def set_root_property(name, value):
    if value is None:
        subprocess.run(["xprop", "-root", "-remove", name], check=True, timeout=10)
    else:
        subprocess.run(["xprop", "-root", "-f", name, "32c", "-set", name, value], check=True, timeout=10)


def wine_shell(script, env, timeout):
    """Runs bash with tools/wine-env sourced; returns what it printed."""
    return subprocess.run(["bash", "-c", "source %s/tools/wine-env; %s" % (ROOT, script)], env=env,
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True,
                          timeout=timeout).stdout


class WineSession:
    """A Wine session of its own, in a prefix of its own kept under the e2e work directory.
    Wine takes the work areas in once per session, when its first program starts; the
    session of the test run started long before this scenario set one."""

    def __init__(self):
        self.env = dict(os.environ, WINEPREFIX=os.path.join(WORK, "wine-own-session"), ORVO_BIN=BIN)
        self.started = False
        self.hold = ""
        self.saved = os.environ.get("WINEPREFIX")

    def start(self):
        # Made once (slow), then reused; the held hidden window keeps its desktop process. Its
        # server and services get no pipe of ours, or reading the output would wait for them.
        self.started = True
        out = wine_shell("{ wine_prepare; wine_server_start; } </dev/null >/dev/null 2>&1; echo $ORVO_HOLD_PID",
                         self.env, timeout=300)
        self.hold = out.strip()
        os.environ["WINEPREFIX"] = self.env["WINEPREFIX"]

    def stop(self):
        if self.started:
            wine_shell("ORVO_HOLD_PID=%s; wine_server_stop </dev/null >/dev/null 2>&1" % self.hold, self.env,
                       timeout=60)
        if self.saved is None:
            os.environ.pop("WINEPREFIX", None)
        else:
            os.environ["WINEPREFIX"] = self.saved


class XWindowGeometries:
    """Every place and size the X server reports for top-level windows while it runs."""

    def __init__(self, path):
        self.path = path
        self.out = open(path, "w")
        self.process = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                                        stdout=self.out, stderr=subprocess.DEVNULL)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)
        self.out.close()

    def seen(self):
        """[(x, y, width, height)] in the order the server reported them."""
        with open(self.path) as f:
            text = f.read()
        return [tuple(int(v) for v in m) for m in
                re.findall(r"(?:Create|Configure)Notify event.*?\((-?\d+),(-?\d+)\), width (\d+), height (\d+)",
                           text, re.S)]


class SidebarMonitors(Scenario):

    def setUp(self):
        self.screens = monitors()
        if len(self.screens) < 2:
            self.fail("needs two monitors side by side, found %r (tools/test provides them)" % self.screens)
        super().setUp()
        copy_skins(self.install)
        os.makedirs(self.install.path("Config"))

    def options(self, **sidebar):
        with open(self.install.path("Config", "WidgetOptions.ini"), "w", newline="\r\n") as f:
            f.write("[Sidebar]\nSidebarSkin=Graphite.png\n")
            f.write("".join("%s=%s\n" % item for item in sidebar.items()))

    def saved_options(self):
        ini = configparser.ConfigParser()
        ini.read(self.install.path("Config", "WidgetOptions.ini"), encoding="utf-8")
        return ini["Sidebar"]

    def wait_rect(self, bar, rect, timeout=5):
        deadline = time.monotonic() + timeout
        while self.info(bar)["rect"] != rect:
            if time.monotonic() >= deadline:
                self.fail("bar at %r, not %r" % (self.info(bar)["rect"], rect))
            time.sleep(0.1)

    def test_bar_on_monitor_1_at_the_outer_and_the_inner_edge(self):
        screen = self.screens[1]
        _kelvara, main = self.start_kelvara()
        # White across monitor 1 behind the bar: where the bar is, it covers it.
        self.move(main, screen[0], 300, screen[2] - screen[0], 300)
        for align, left, beside in ((1, screen[2] - 150, screen[2] - 151), (0, screen[0], screen[0] + 150)):
            with self.subTest(align=align):
                self.options(SidebarMonitor=1, SidebarAlign=align)
                process = self.start("OrvoWidget.exe")
                try:
                    self.check_bar_on_monitor_1(process, [left, 0, left + 150, screen[3]], beside)
                finally:
                    # A bar left running would be the one the next case finds.
                    if process.poll() is None:
                        process.kill()
                        process.wait(timeout=10)
                saved = self.saved_options()
                self.assertEqual((saved["SidebarMonitor"], saved["SidebarAlign"]), ("1", str(align)))

    def check_bar_on_monitor_1(self, process, rect, beside):
        bar = self.wait_window(cls="TFmOrvoSidebar")
        # At the edge, as high as this shorter monitor, and kept so past the height follow's ticks.
        self.wait_rect(bar, rect)
        time.sleep(0.5)
        self.assertEqual(self.info(bar)["rect"], rect)
        glass, next_to = self.pixels(self.screenshot("monitor1-%d.png" % rect[0]), [(rect[0] + 75, 450), (beside, 450)])
        self.assertLess(max(glass), 90)  # the dark glass, drawn on monitor 1 over the white window
        self.assertEqual(next_to, WHITE)
        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)

    def test_first_height_is_the_work_area_height(self):
        screen = self.screens[0]
        work_bottom = screen[3] - RESERVED
        previous = root_property(WORKAREA)
        self.addCleanup(set_root_property, WORKAREA, previous)
        set_root_property(WORKAREA, "0, 0, %d, %d" % (max(s[2] for s in self.screens), work_bottom))
        session = WineSession()
        self.addCleanup(session.stop)  # after tearDown, which ends the programs inside it
        session.start()

        self.start_kelvara()
        self.options(SidebarMonitor=0, SidebarAlign=1)
        watch = XWindowGeometries(os.path.join(self.install.top, "xev.txt"))
        self.addCleanup(watch.stop)
        process = self.start("OrvoWidget.exe")
        bar = self.wait_window(cls="TFmOrvoSidebar")
        left = screen[2] - 150
        # Then it takes the whole monitor, over the reserved strip.
        self.wait_rect(bar, [left, 0, screen[2], screen[3]])
        heights = lambda: [h for x, y, w, h in watch.seen() if (x, y, w) == (left, 0, 150)]  # noqa: E731
        self.eventually(lambda: screen[3] in heights(), 5, "the X server never showed the bar's last height")
        watch.stop()
        self.assertEqual(heights()[0], work_bottom, "heights shown at the bar's place: %r" % heights())
        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
