"""The weather widget in the bar: first forecast, failed downloads, the city dialog, undocking.

The widget reaches the loopback server through the sidebar's proxy setting; its window text
always equals its city caption, so the probe reads the state the user sees.
"""
import configparser
import os
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (ROOT, WM_SIDEBAR_SAVEANDCLOSE, Scenario, copy_skins, install_weather_widget,  # noqa: E402
                     monitors, region, text_arg, xdotool)
from loopback_server import UpdateServer, write_global_options  # noqa: E402

SAMPLE_PAGE = os.path.join(ROOT, "tests", "fixtures", "weather", "sample.shtml")
ZHUHAI = "/html/weather/101280701.shtml"
BEIJING = "/html/weather/101010100.shtml"
REFRESHING = "刷新..."
FAILED = "获取天气失败"
DOCKED_SIZE = (146, 65)
FLOATING_SIZE = (278, 192)
WIDGET_LINE = b"Weather\\Widget.dll\r\n"


def white_pixels(pixels):
    """Pixels of the white captions; the docked backgrounds and the sun have none."""
    return sum(1 for p in pixels if min(p) > 200)


def read_ini(path):
    """An INI file the widget wrote: UTF-16 with a byte-order mark, or code page 936."""
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("utf-16") if data[:2] in (b"\xff\xfe", b"\xfe\xff") else data.decode("gbk")
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini.read_string(text)
    return ini


def dead_port():
    """A loopback port that nobody listens on."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class WeatherWidget(Scenario):

    def setUp(self):
        super().setUp()
        copy_skins(self.install)
        install_weather_widget(self.install)
        with open(self.install.path("LockWidgets.txt"), "wb") as f:
            f.write(WIDGET_LINE)
        self.server = UpdateServer()
        self.addCleanup(self.server.stop)
        with open(SAMPLE_PAGE, "rb") as f:
            self.page = f.read()
        self.server.route(ZHUHAI, self.page)
        write_global_options(self.install.path("Config"), self.server.port)
        self.kelvara_started = False

    # Steps

    def start_bar(self):
        """Starts the sidebar (and Kelvara once); returns the process, the bar, the widget and
        the moment the widget's window was seen."""
        if not self.kelvara_started:
            self.start_kelvara()
            self.kelvara_started = True
        process = self.start("OrvoWidget.exe")
        bar = self.wait_window(cls="TFmOrvoSidebar")
        widget = self.wait_window(cls="TFmWeather")
        created = time.monotonic()
        height = monitors()[0][3]  # the bar's monitor by default
        self.eventually(lambda: self.info(bar)["rect"][3] == height, 5, "bar did not take the monitor height")
        self.bar_left = self.info(bar)["rect"][0]
        return process, bar, widget, created

    def slot(self):
        left, top = self.bar_left + 10, 40
        return [left, top, left + DOCKED_SIZE[0], top + DOCKED_SIZE[1]]

    def wait_rect(self, widget, rect, timeout=5.0):
        self.wait_fact(widget, "rect", lambda facts: facts["rect"], rect, timeout)

    def wait_docked(self, widget):
        self.wait_rect(widget, self.slot())

    def wait_size(self, widget, size, timeout=5.0):
        self.wait_fact(widget, "size", lambda facts: (facts["rect"][2] - facts["rect"][0],
                                                      facts["rect"][3] - facts["rect"][1]), size, timeout)

    def wait_title(self, widget, title, timeout):
        self.wait_fact(widget, "title", lambda facts: facts["title"], title, timeout)

    def wait_fact(self, widget, name, fact, value, timeout):
        deadline = time.monotonic() + timeout
        while True:
            seen = fact(self.info(widget))
            if seen == value:
                return
            if time.monotonic() >= deadline:
                self.fail("widget %s stayed %r, not %r (at %r)" % (name, seen, value, self.info(widget)["rect"]))
            time.sleep(0.1)

    @staticmethod
    def wait_until(moment):
        time.sleep(max(0.0, moment - time.monotonic()))

    def save_and_close(self, bar, process):
        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)

    def settings(self):
        return read_ini(self.install.path("Widgets", "Weather", "Seting.ini"))

    def widget_lists(self):
        lists = []
        for name in ("LockWidgets.txt", "UnLockWidgets.txt"):
            path = self.install.path(name)
            if not os.path.exists(path):
                lists.append(b"")
                continue
            with open(path, "rb") as f:
                lists.append(f.read())
        return lists

    def docked_face(self, shot, left, top, width, height):
        """A rectangle of the docked widget, in its own coordinates."""
        return region(shot, self.slot()[0] + left, self.slot()[1] + top, width, height)

    def open_city_dialog(self, widget):
        """Right click on the widget, then the keyboard in its menu: Up from nothing selected
        picks the last item ("关闭小工具"), Up again "设置", Enter runs it. Activated first, so
        that Wine's remap on a first activation cannot close the menu under the keys."""
        self.activate(widget)
        rect = self.info(widget)["rect"]
        xdotool("mousemove", rect[0] + 60, rect[1] + 30)
        xdotool("click", 3)
        self.wait_window(cls="#32768", timeout_ms=5000)
        xdotool("key", "Up", "Up", "Return")
        return self.wait_window(cls="TFmWeatherSet", title="天气预报选项", timeout_ms=5000)

    # Scenarios

    def test_first_forecast_then_city_dialog_then_save(self):
        process, bar, widget, created = self.start_bar()
        self.server.route(BEIJING, self.page)
        self.wait_docked(widget)
        self.assertEqual(self.info(widget)["title"], REFRESHING)

        # The first download comes about 10 s after the window, not before.
        self.wait_until(created + 5)
        self.assertEqual(self.server.requests, [])
        self.assertEqual(self.info(widget)["title"], REFRESHING)
        refreshing = self.screenshot("refreshing.png")
        self.eventually(lambda: self.server.requests, max(1.0, created + 20 - time.monotonic()),
                        "no download within 20 s of the window's creation")
        self.wait_title(widget, "珠海", 5)
        self.assertEqual(self.server.requests, [ZHUHAI])
        self.assertEqual(self.info(widget)["rect"], self.slot())

        # The forecast is drawn: the temperature row, empty while refreshing, now holds text.
        shown = self.screenshot("forecast.png")
        self.assertLess(white_pixels(self.docked_face(refreshing, 60, 6, 61, 23)), 10)
        self.assertGreater(white_pixels(self.docked_face(shown, 60, 6, 61, 23)), 50)

        dialog = self.open_city_dialog(widget)
        self.assertEqual(dialog["owner"], widget["hwnd"])
        edits = [c for c in self.children(dialog) if c["class"].lower() == "edit"]
        self.assertEqual(edits[0]["text"], "珠海")  # the city in use
        self.assertEqual(self.probe("settext", edits[0]["hwnd"], text_arg("北京")), 0)
        self.click(dialog, "确定")
        self.assertTrue(self.wait_gone(dialog, 5000), "the dialog stayed")
        self.wait_title(widget, "北京", 10)
        self.assertEqual(self.server.requests, [ZHUHAI, BEIJING])
        self.assertEqual(self.info(widget)["rect"], self.slot())

        self.save_and_close(bar, process)
        settings = self.settings()
        self.assertEqual(settings["Widget"]["LockSidebar"], "1")
        self.assertEqual([settings["Widget"]["DefaultLeft"], settings["Widget"]["DefaultTop"]],
                         [str(v) for v in self.slot()[:2]])
        self.assertEqual(settings["Weather"]["City"], "北京")
        self.assertEqual(self.widget_lists(), [WIDGET_LINE, b""])

    def failed_download(self, expected_requests):
        process, bar, widget, created = self.start_bar()
        self.wait_docked(widget)
        time.sleep(1)
        before = self.screenshot("refreshing.png")
        self.wait_until(created + 8)
        self.assertEqual(self.info(widget)["title"], REFRESHING)
        self.wait_title(widget, FAILED, max(1.0, created + 25 - time.monotonic()))
        self.assertEqual(self.server.requests, expected_requests)

        # Only the caption changed: place, size, face and dock state are the same.
        self.assertEqual(self.info(widget)["rect"], self.slot())
        after = self.screenshot("failed.png")
        top_row = [self.docked_face(shot, 0, 0, DOCKED_SIZE[0], 30) for shot in (before, after)]
        changed = sum(1 for a, b in zip(*top_row) if a != b)
        self.assertEqual(changed, 0, "%d pixels above the caption changed" % changed)
        self.save_and_close(bar, process)
        settings = self.settings()
        self.assertEqual(settings["Widget"]["LockSidebar"], "1")
        self.assertEqual(settings["Weather"]["City"], "珠海")
        self.assertEqual(self.widget_lists(), [WIDGET_LINE, b""])

    def test_404_answer_shows_failure_and_keeps_the_widget(self):
        self.server.route(ZHUHAI, b"<html>gone</html>", status=404)
        self.failed_download([ZHUHAI])

    def test_closed_proxy_port_shows_failure_and_keeps_the_widget(self):
        write_global_options(self.install.path("Config"), dead_port())
        self.failed_download([])

    def test_dragged_off_the_bar_floats_and_dragged_back_docks(self):
        process, bar, widget, _created = self.start_bar()
        self.wait_docked(widget)
        slot = self.slot()
        grab = (slot[0] + 30, slot[1] + 30)
        drop = (330, 570)  # the lower left, clear of the bar and of Kelvara's window
        self.drag(widget, grab, drop, 12)
        self.wait_size(widget, FLOATING_SIZE)
        rect = self.info(widget)["rect"]
        left, top = rect[:2]
        self.assertLess(rect[2], self.bar_left)  # clear of the bar, where it was dropped
        self.assertGreater(top, 300)

        # The floating face is drawn over the whole window (inset past its rounded corners).
        shot = self.screenshot("floating.png")
        desktop = self.pixels(shot, [(5, 795)])[0]
        inside = region(shot, left + 10, top + 10, FLOATING_SIZE[0] - 20, FLOATING_SIZE[1] - 20)
        self.assertEqual(inside.count(desktop), 0, "desktop colour %r inside the floating widget" % (desktop,))

        self.save_and_close(bar, process)
        settings = self.settings()
        self.assertEqual(settings["Widget"]["LockSidebar"], "0")
        self.assertEqual([settings["Widget"]["DefaultLeft"], settings["Widget"]["DefaultTop"]],
                         [str(left), str(top)])
        self.assertEqual(self.widget_lists(), [b"", WIDGET_LINE])

        # Started again it floats where it was; dropped over the bar it glides into its slot.
        process, bar, widget, _created = self.start_bar()
        self.wait_rect(widget, rect)  # floating where it was saved
        self.drag(widget, (left + 30, top + 30), (self.bar_left + 40, 300), 12)
        self.wait_docked(widget)
        self.save_and_close(bar, process)
        self.assertEqual(self.settings()["Widget"]["LockSidebar"], "1")
        self.assertEqual(self.widget_lists(), [WIDGET_LINE, b""])


if __name__ == "__main__":
    unittest.main(verbosity=2)
