"""An update stopped dead after every number of replacements, and a session that ends while
one runs: the installation is always the old or the new version, never a mix.

RenewaFault.exe is the updater built with a stop that only tests set (RENEWA_FAULT); the
second start is the real Renewa.exe.
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from updater_harness import (IDYES, VERSION_PATH, UpdaterScenario,  # noqa: E402
                             version_file)

WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016

OLD = {"Readme.txt": b"old readme", os.path.join("Skin", "a.png"): b"old png", "Notes.txt": b"old notes"}
NEW_ENTRIES = [("Readme.txt", b"new readme"), ("Skin/a.png", b"new png"), ("Widgets/New/x.dat", b"new data"),
               ("Notes.txt", b"new notes " * 1000)]
FILES = len(NEW_ENTRIES)


class UpdaterCrash(UpdaterScenario):
    programs = ("Renewa.exe", "RenewaFault.exe", "Kelvara.exe")

    def setUp(self):
        super().setUp()
        for name, data in OLD.items():
            os.makedirs(os.path.dirname(self.install.path(name)), exist_ok=True)
            with open(self.install.path(name), "wb") as f:
                f.write(data)
        self.old = self.snapshot()
        self.new = dict(self.old)
        for name, data in NEW_ENTRIES:
            self.new[name.replace("/", os.sep)] = (data, True)

    def leftovers(self):
        """What no finished or undone run leaves: temporary files, the journal, backups."""
        found = [name for name in self.install.files() if ".~" in name or name.endswith(".journal")]
        if os.path.exists(self.install.path("Update", "Backup")):
            found.append("Update" + os.sep + "Backup")
        return found

    def start_update(self, fault):
        self.publish_update(NEW_ENTRIES)
        kelvara, _ = self.start_kelvara()
        renewa = self.start("RenewaFault.exe", env={"RENEWA_FAULT": fault})
        self.press(self.wait_box(self.texts["question"]), IDYES)
        self.press(self.wait_box(self.texts["close"]), IDYES)
        self.assertEqual(self.wait_exit(kelvara, timeout=20), 0)
        return renewa

    def test_a_run_killed_after_any_number_of_replacements_is_undone_or_finished_by_the_next_start(self):
        for k in range(FILES + 1):
            with self.subTest(stopped_after=k):
                renewa = self.start_update("kill:%d" % k)
                self.assertEqual(self.wait_exit(renewa, timeout=60), 77)  # stopped dead
                self.assertTrue(os.path.exists(self.install.path("Update", "Install.journal")))
                # The next start, hidden, with nothing newer announced: it recovers, then ends.
                self.server.route(VERSION_PATH, version_file("6.9.2.0"))
                self.assertEqual(self.wait_exit(self.start_renewa("Hide"), timeout=30), 0)
                self.assertEqual(self.snapshot(), self.new if k == FILES else self.old)
                self.assertEqual(self.leftovers(), [])
                # Back to the old version for the next round.
                for name in self.install.files():
                    if name not in self.old and not name.startswith(("Update", "Config")):
                        os.remove(self.install.path(name))
                for name, data in OLD.items():
                    with open(self.install.path(name), "wb") as f:
                        f.write(data)
                self.assertEqual(self.snapshot(), self.old)

    def test_a_session_ending_midway_puts_the_old_version_back_before_it_ends(self):
        renewa = self.start_update("pause:2")
        journal = self.install.path("Update", "Install.journal")

        def replaced_two():
            if not os.path.exists(journal):
                return False
            with open(journal, "rb") as f:
                return b"placed 2\n" in f.read()

        self.eventually(replaced_two, 20, "the run did not reach its second replacement")
        self.assertNotEqual(self.snapshot(), self.old)  # two files are new now
        main = self.main_window()
        self.assertEqual(self.probe("send", main["hwnd"], hex(WM_QUERYENDSESSION), "0", "0")["result"], 1)
        self.probe("send", main["hwnd"], hex(WM_ENDSESSION), "1", "0")
        # Once the message is handled (the session could end right there), the old version is back.
        self.assertEqual(self.snapshot(), self.old)
        self.assertEqual(self.leftovers(), [])
        renewa.kill()


if __name__ == "__main__":
    unittest.main(verbosity=2)
