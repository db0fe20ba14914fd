"""The widget gallery and the settings dialog, opened and used with the real mouse.

The gallery is opened from the bar's add button, a tile is selected and double-clicked; the
settings dialog is opened from the bar's menu, its edge and monitor lists are changed and
applied. Positions on screen come from the windows' rectangles as the probe reads them.
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (WM_SIDEBAR_SAVEANDCLOSE, Scenario, copy_skins, install_weather_widget,  # noqa: E402
                     monitors, region, xdotool)

GALLERY_TITLE = "添加小工具"
SETTINGS_TITLE = "侧边栏设置"
ADD_BUTTON = (40 + 8, 11 + 8)      # the bar's add button, in the bar
FIRST_TILE = (68 + 60, 95 + 50)    # the first tile, in the gallery
VISION = (32, 355, 257, 12)        # where the selected widget's name and version are drawn


def is_blue(pixel):
    r, g, b = pixel
    return b > 120 and b > r + 60 and b > g + 60


def blue_ink(pixels):
    """Pixels of the blue captions: blue well above red and green."""
    return sum(1 for p in pixels if is_blue(p))


def ink_columns(pixels, width):
    """The first and last column holding blue ink in a row-by-row region, or None."""
    columns = [i % width for i, p in enumerate(pixels) if is_blue(p)]
    return (min(columns), max(columns)) if columns else None


class SidebarDialogs(Scenario):

    def setUp(self):
        super().setUp()
        copy_skins(self.install)
        install_weather_widget(self.install)

    def start_bar(self):
        self.start_kelvara()
        process = self.start("OrvoWidget.exe")
        bar = self.wait_window(cls="TFmOrvoSidebar")
        self.eventually(lambda: self.info(bar)["visible"], 5, "bar not shown")
        return process, bar

    def click_at(self, x, y, button=1, repeat=1):
        xdotool("mousemove", x, y)
        time.sleep(0.2)
        xdotool("click", "--repeat", repeat, "--delay", 120, button)

    def test_gallery_selects_and_adds_the_weather_widget(self):
        process, bar = self.start_bar()
        left, top = self.info(bar)["rect"][:2]
        self.click_at(left + ADD_BUTTON[0], top + ADD_BUTTON[1])
        gallery = self.wait_window(cls="TFmWidgetAdd", title=GALLERY_TITLE)
        self.eventually(lambda: self.info(gallery)["visible"], 5, "gallery not shown")
        g = self.info(gallery)["rect"]
        self.assertEqual((g[2] - g[0], g[3] - g[1]), (662, 463))

        before = blue_ink(region(self.screenshot("gallery-before.png"), g[0] + VISION[0], g[1] + VISION[1],
                                 VISION[2], VISION[3]))
        self.click_at(g[0] + FIRST_TILE[0], g[1] + FIRST_TILE[1])
        time.sleep(0.5)
        shot = self.screenshot("gallery.png")
        vision = region(shot, g[0] + VISION[0], g[1] + VISION[1], VISION[2], VISION[3])
        self.assertEqual(before, 0)
        # "天气预报  1.0.0.0": four Chinese characters, two spaces and the version in blue 12 px,
        # about 130 pixels from the left of the line (the name alone would be about 50).
        self.assertGreater(blue_ink(vision), 60)
        first, last = ink_columns(vision, VISION[2])
        self.assertLess(first, 4)
        self.assertTrue(100 <= last - first <= 200, "selection text %d pixels wide" % (last - first))
        # The frame is drawn from its skin: the body light, the margin outside it transparent.
        body, = self.pixels(shot, [(g[0] + 300, g[1] + 200)])
        self.assertGreater(min(body), 200)

        self.assertEqual(self.windows(cls="TFmWeather"), [])
        self.click_at(g[0] + FIRST_TILE[0], g[1] + FIRST_TILE[1], repeat=2)
        widget = self.wait_window(cls="TFmWeather", timeout_ms=20000)
        bar_rect = self.info(bar)["rect"]
        # Docked in the first slot: the gap from the bar's left edge, below the tool strip.
        self.eventually(lambda: self.info(widget)["rect"][:2] == [bar_rect[0] + 10, 40], 10, "widget not docked")
        self.assertTrue(self.info(gallery)["visible"])  # the gallery stays open

        # Dragged by its top edge.
        grab = (g[0] + 300, g[1] + 12)
        self.drag(gallery, grab, (grab[0] - 100, grab[1] + 50), 10)
        self.eventually(lambda: self.info(gallery)["rect"][:2] == [g[0] - 100, g[1] + 50], 5,
                        "gallery not moved by its top edge: %r" % (self.info(gallery)["rect"],))

        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)
        with open(self.install.path("LockWidgets.txt"), "rb") as f:
            self.assertEqual(f.read(), b"Weather\\Widget.dll\r\n")

    def open_settings(self, bar):
        rect = self.info(bar)["rect"]
        self.click_at(rect[0] + 75, rect[1] + 300, button=3)
        time.sleep(0.5)
        xdotool("key", "Up", "Return")  # the last item of the menu: "系统设置"
        dialog = self.wait_window(title=SETTINGS_TITLE)
        self.eventually(lambda: self.info(dialog)["visible"], 5, "settings dialog not shown")
        self.probe("activate", dialog["hwnd"], check=False)
        return dialog

    def choose(self, dialog, control_id, key):
        """Opens a drop-down list with the mouse and picks an item with the keyboard."""
        child = next(c for c in self.children(dialog) if c["id"] == control_id)
        r = child["rect"]
        self.click_at((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
        time.sleep(0.3)
        xdotool("key", key, "Return")
        time.sleep(0.3)

    def click_button(self, dialog, caption):
        child = next(c for c in self.children(dialog) if c["text"] == caption)
        r = child["rect"]
        self.click_at((r[0] + r[2]) // 2, (r[1] + r[3]) // 2)

    def test_settings_move_the_bar_to_the_left_edge_of_the_last_monitor(self):
        process, bar = self.start_bar()
        screens = monitors()
        dialog = self.open_settings(bar)
        self.choose(dialog, 109, "End")   # cbbMoniter: the last monitor
        self.choose(dialog, 111, "Home")  # cbbAlign: "左"
        self.click_button(dialog, "应用")
        last = screens[-1]
        self.eventually(lambda: self.info(bar)["rect"][0] == last[0], 5, "bar not at the left edge of the last monitor")
        self.assertTrue(self.info(dialog)["visible"])  # Apply leaves the dialog open
        self.click_button(dialog, "取消")
        self.assertTrue(self.wait_gone(dialog))
        self.assertEqual(self.info(bar)["rect"][0], last[0])  # Cancel keeps what was applied

        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)
        with open(self.install.path("Config", "WidgetOptions.ini"), "rb") as f:
            options = f.read()
        self.assertIn(b"SidebarAlign=0", options)
        self.assertIn(b"SidebarMonitor=%d" % (len(screens) - 1), options)


if __name__ == "__main__":
    unittest.main(verbosity=2)
