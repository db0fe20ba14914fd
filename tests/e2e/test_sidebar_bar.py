"""The skinned bar on screen: right edge, tool strip, docked widgets, per-pixel alpha."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import WM_SIDEBAR_SAVEANDCLOSE, Scenario, copy_skins, monitors, test_widget  # noqa: E402

# A window of the Graphite skin with nothing in it, in skin pixels: the bar stretches the skin
# to its height, so on screen the hole is about twice as tall.
HOLE = (100, 230, 30, 40)  # left, top, width, height


class SidebarBar(Scenario):

    def setUp(self):
        super().setUp()
        copy_skins(self.install)
        test_widget(self.install, "Clock", "Height=110\nColor=0xD04020\n")
        test_widget(self.install, "Notes", "Height=140\nColor=0x20A060\n")
        with open(self.install.path("LockWidgets.txt"), "w", newline="\r\n") as f:
            f.write("Clock\\Widget.dll\nNotes\\Widget.dll\n")
        os.makedirs(self.install.path("Config"))
        # None of the shipped skins has a fully transparent pixel; this one has a hole.
        background = self.install.path("Skin", "sidebar", "background")
        left, top, width, height = HOLE
        subprocess.run(["convert", os.path.join(background, "Graphite.png"), "(", "-size", "%dx%d" % (width, height),
                        "xc:none", ")", "-geometry", "+%d+%d" % (left, top), "-compose", "copy", "-composite",
                        "PNG32:" + os.path.join(background, "GraphiteHole.png")], check=True, timeout=30)
        with open(self.install.path("Config", "WidgetOptions.ini"), "w", newline="\r\n") as f:
            f.write("[Sidebar]\nSidebarSkin=GraphiteHole.png\n")

    def test_bar_with_two_docked_widgets_on_screen(self):
        screen = monitors()[0]  # where the bar stands by default, at its right edge
        _kelvara, main = self.start_kelvara()
        # A white window reaching under the bar shows whether the bar blends or covers.
        self.move(main, screen[2] - 380, 300, 400, 300)
        process = self.start("OrvoWidget.exe")
        bar = self.wait_window(cls="TFmOrvoSidebar")
        clock = self.wait_window(cls="TTestWidget", title="Clock")
        notes = self.wait_window(cls="TTestWidget", title="Notes")
        self.eventually(lambda: self.info(bar)["rect"][3] == screen[3], 3, "bar did not take the monitor height")
        left = self.info(bar)["rect"][0]
        self.assertEqual(left, screen[2] - 150)
        self.assertEqual(self.info(clock)["rect"][:2], [left + 10, 40])
        self.assertEqual(self.info(notes)["rect"][:2], [left + 10, 40 + 110 + 10])

        shot = self.screenshot("bar.png")
        hole = (left + HOLE[0] + HOLE[2] // 2, (HOLE[1] + HOLE[3] // 2) * screen[3] // 423)
        outside, beside, glass, strip, clock_px, notes_px, through = self.pixels(
            shot, [(left - 130, 500), (left - 1, 500), (left + 75, 500), (left + 32 + 20, 8 + 11), (left + 60, 90),
                   (left + 60, 230), hole])
        # Only the bar's own pixels are covered: the white window right beside it stays white,
        # and so does what lies under the hole in its skin.
        self.assertEqual(outside, (255, 255, 255))
        self.assertEqual(beside, (255, 255, 255))
        self.assertEqual(through, (255, 255, 255))
        # The dark glass skin fills the bar, with the lighter tool strip on top of it. (Without a
        # compositing manager X shows translucent pixels over black, so only the skin is read.)
        self.assertLess(max(glass), 90)
        self.assertGreater(max(strip), max(glass))
        self.assertGreater(clock_px[0], 150)  # the docked widgets show in their slots
        self.assertGreater(notes_px[1], 120)

        self.post(bar, WM_SIDEBAR_SAVEANDCLOSE)
        self.assertEqual(self.wait_exit(process), 0)
        with open(self.install.path("LockWidgets.txt"), "rb") as f:
            self.assertEqual(f.read(), b"Clock\\Widget.dll\r\nNotes\\Widget.dll\r\n")


if __name__ == "__main__":
    unittest.main(verbosity=2)
