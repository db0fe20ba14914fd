"""The sidebar program's start: beside Kelvara only, once per machine."""
import configparser
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import (KELVARA_MUTEX, SIDEBAR_MUTEX, WM_SIDEBAR_SAVEANDCLOSE, WS_EX_APPWINDOW,  # noqa: E402
                     WS_EX_TOOLWINDOW, Scenario, monitors)

SECOND_INSTANCE_TEXT = "[Kelvara 侧边栏]已经启动，不能再次启动"
SIDEBAR_KEYS = ["sidebarautohide", "sidebarwindesk", "sidebarmonitor", "sidebaralign", "sidebarskin",
                "widgetinterval"]


class SidebarStartup(Scenario):

    def start_sidebar(self):
        process = self.start("OrvoWidget.exe")
        bar = self.wait_window(cls="TFmOrvoSidebar")
        return process, bar

    def test_without_kelvara_starts_it_and_ends(self):
        self.assertFalse(self.mutex_exists(KELVARA_MUTEX))
        sidebar = self.start("OrvoWidget.exe")
        self.assertEqual(self.wait_exit(sidebar), 0)
        # The stand-in refuses to run when the mutex exists already: its window shows
        # that the sidebar's probe closed its handle before starting it.
        kelvara = self.wait_window(cls="TFmKelvaraMain")
        self.adopt(kelvara)
        self.assertTrue(self.mutex_exists(KELVARA_MUTEX))
        self.assertEqual(self.windows(cls="TFmOrvoSidebar"), [])
        self.assertFalse(self.mutex_exists(SIDEBAR_MUTEX))
        self.assertEqual(self.install.files(), {"OrvoWidget.exe", "Kelvara.exe"})

    def test_without_kelvara_program_ends_silently(self):
        os.remove(self.install.path("Kelvara.exe"))
        sidebar = self.start("OrvoWidget.exe")
        self.assertEqual(self.wait_exit(sidebar), 0)
        self.assertFalse(self.mutex_exists(KELVARA_MUTEX))
        self.assertEqual(self.install.files(), {"OrvoWidget.exe"})

    def test_second_sidebar_shows_message_and_leaves_first_alone(self):
        self.start_kelvara()
        first, bar = self.start_sidebar()
        before = self.info(bar)
        files_before = self.install.files()

        second = self.start("OrvoWidget.exe")
        box = self.wait_window(title="提示", cls="#32770")
        texts = [child["text"] for child in self.children(box) if child["class"].lower() == "static"]
        self.assertIn(SECOND_INSTANCE_TEXT, texts)
        buttons = [child["text"].replace("&", "") for child in self.children(box)
                   if child["class"].lower() == "button"]
        self.assertEqual(len(buttons), 1)
        # Owned by the second program's hidden application window.
        owner = self.probe("info", box["owner"])
        self.assertEqual(owner["class"], "TApplication")
        self.assertEqual(owner["pid"], box["pid"])
        self.assertNotEqual(box["pid"], bar["pid"])

        self.click(box, buttons[0])
        self.assertEqual(self.wait_exit(second), 0)
        self.assertIsNone(first.poll())
        self.assertEqual(self.info(bar), before)
        self.assertEqual(self.install.files(), files_before)

    def test_windows_stay_out_of_taskbar(self):
        self.start_kelvara()
        _process, bar = self.start_sidebar()
        self.assertEqual(bar["rect"][2] - bar["rect"][0], 150)
        self.assertTrue(bar["visible"])
        self.assertTrue(bar["exstyle"] & WS_EX_TOOLWINDOW)
        self.assertFalse(bar["exstyle"] & WS_EX_APPWINDOW)

        app = self.probe("info", bar["owner"])
        self.assertEqual(app["class"], "TApplication")
        self.assertEqual(app["title"], "侧边栏")
        self.assertFalse(app["visible"])
        self.assertTrue(app["exstyle"] & WS_EX_TOOLWINDOW)
        self.assertFalse(app["exstyle"] & WS_EX_APPWINDOW)

    def test_save_and_close_writes_options_and_ends(self):
        self.start_kelvara()
        process, bar = self.start_sidebar()
        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)
        self.assertFalse(self.mutex_exists(SIDEBAR_MUTEX))

        ini = configparser.ConfigParser()
        ini.read(self.install.path("Config", "WidgetOptions.ini"), encoding="utf-8")
        self.assertEqual(list(ini["Sidebar"].keys()), SIDEBAR_KEYS)
        self.assertEqual(dict(ini["Sidebar"]), {
            "sidebarautohide": "0", "sidebarwindesk": "0", "sidebarmonitor": "0", "sidebaralign": "1",
            "sidebarskin": "White.png", "widgetinterval": "10"})
        self.assertFalse(os.path.exists(self.install.path("Config", "GlobalOptions.ini")))

    def test_saved_options_survive_a_restart(self):
        os.makedirs(self.install.path("Config"))
        with open(self.install.path("Config", "WidgetOptions.ini"), "w", newline="\r\n") as f:
            f.write("[Sidebar]\nSidebarAlign=0\nSidebarMonitor=3\nWidgetInterval=4\n[Mine]\nKeep=1\n")
        screens = monitors()
        self.start_kelvara()
        process, bar = self.start_sidebar()
        self.assertEqual(bar["rect"][0], screens[-1][0])  # left edge of the last monitor
        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)
        ini = configparser.ConfigParser()
        ini.read(self.install.path("Config", "WidgetOptions.ini"), encoding="utf-8")
        self.assertEqual(ini["Sidebar"]["SidebarAlign"], "0")
        self.assertEqual(ini["Sidebar"]["SidebarMonitor"], str(len(screens) - 1))  # clamped to the monitors present
        self.assertEqual(ini["Sidebar"]["WidgetInterval"], "4")
        self.assertEqual(ini["Mine"]["Keep"], "1")


class SidebarStartupBeyondAnsiPath(Scenario):
    """Hangul is outside code page 936: an ANSI conversion of this path would be lost."""

    install_subdir = "한글 安装"

    def test_starts_kelvara_from_unicode_installation_path(self):
        sidebar = self.start("OrvoWidget.exe")
        self.assertEqual(self.wait_exit(sidebar), 0)
        kelvara = self.wait_window(cls="TFmKelvaraMain")
        self.adopt(kelvara)


if __name__ == "__main__":
    unittest.main(verbosity=2)
