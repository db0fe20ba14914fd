"""The updater's main roads: an update installed, declined, hidden, and a second updater."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import KELVARA_MUTEX  # noqa: E402
from updater_harness import (ARCHIVE_PATH, IDNO, IDOK, IDYES, RENEWA_MUTEX, VERSION_PATH,  # noqa: E402
                             UpdaterScenario, version_file)

NOTES = ["修复了天气插件的显示问题", "Sidebar: faster start"]


class UpdaterFlow(UpdaterScenario):

    def offer(self, version="6.10.0.0"):
        self.server.route(VERSION_PATH, version_file(version, NOTES))

    def test_full_update_installs_and_restarts_kelvara(self):
        with open(self.install.path("Readme.txt"), "wb") as f:
            f.write(b"old readme")
        os.chmod(self.install.path("Readme.txt"), 0o444)  # read-only under Wine
        with open(self.install.path("Kelvara.exe"), "rb") as f:
            kelvara_bytes = f.read()
        self.publish_update([
            ("Kelvara.exe", kelvara_bytes),
            ("Readme.txt", b"new readme", 0x21),
            ("Widgets/", b""),
            ("Widgets/Weather/Notes.txt", "说明".encode("utf-8")),
        ], notes=NOTES + ['"Beta" channel', '"引号"'])
        # A link among old backups: clearing them leaves the link and what it points to.
        outside = os.path.join(self.install.top, "outside")
        os.makedirs(outside)
        with open(os.path.join(outside, "keep.txt"), "wb") as f:
            f.write(b"not the updater's")
        os.makedirs(self.install.path("Update", "Backup"))
        os.symlink(outside, self.install.path("Update", "Backup", "old"))
        kelvara, kelvara_window = self.start_kelvara()
        renewa = self.start_renewa()

        box = self.wait_box(self.texts["question"])
        main = self.main_window()
        self.assertTrue(main["visible"])
        self.assertEqual(main["title"], self.texts["title"])
        memo = self.memo_text(main)
        for note in NOTES + ['"Beta" channel', '"引号"']:  # quotes read back as published
            self.assertIn(note, memo)
        self.press(box, IDYES)

        box = self.wait_box(self.texts["close"])
        self.press(box, IDYES)
        self.assertEqual(self.wait_exit(kelvara, timeout=20), 0)  # closed by 0x847

        box = self.wait_box(self.texts["completed"], timeout_ms=30000)
        self.press(box, IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.adopt_kelvara()  # started again
        self.assertTrue(self.mutex_exists(KELVARA_MUTEX))

        with open(self.install.path("Readme.txt"), "rb") as f:
            self.assertEqual(f.read(), b"new readme")
        self.assertEqual(os.stat(self.install.path("Readme.txt")).st_mode & 0o222, 0)  # read-only kept
        with open(self.install.path("Widgets", "Weather", "Notes.txt"), "rb") as f:
            self.assertEqual(f.read().decode("utf-8"), "说明")
        self.assertEqual(self.server.requests, [VERSION_PATH, ARCHIVE_PATH])
        self.assertEqual(os.listdir(self.install.path("Update", "Backup")), ["old"])  # this run's backup gone
        self.assertTrue(os.path.islink(self.install.path("Update", "Backup", "old")))
        with open(os.path.join(outside, "keep.txt"), "rb") as f:
            self.assertEqual(f.read(), b"not the updater's")
        self.assertFalse(self.mutex_exists(RENEWA_MUTEX))

    def test_hide_in_any_letter_case_without_update_shows_nothing_and_ends(self):
        self.server.route(VERSION_PATH, version_file("6.9.2", NOTES))  # equals 6.9.2.0
        for spelling in ("Hide", "hIDE", "HIDE"):
            with self.subTest(spelling=spelling):
                renewa = self.start_renewa(spelling)
                # Not honoured, the updater would say it is up to date and wait for OK.
                self.assertEqual(self.wait_exit(renewa), 0)
                self.assertEqual(self.windows(title=self.texts["hint"], cls="#32770"), [])
                # The next one must not meet this one's mutex and end at once.
                self.eventually(lambda: not self.mutex_exists(RENEWA_MUTEX), 5, "the updater's mutex stayed")
        self.assertEqual(self.server.requests, [VERSION_PATH] * 3)

    def test_hide_only_counts_as_the_first_argument(self):
        self.server.route(VERSION_PATH, version_file("6.9.2", NOTES))
        renewa = self.start_renewa("ignored", "Hide")
        box = self.wait_box(self.texts["up_to_date"])  # shown: Hide was not the first argument
        self.press(box, IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)

    def test_hide_with_update_shows_window_with_notes_and_question(self):
        self.offer()
        before = self.snapshot()
        renewa = self.start_renewa("Hide")
        box = self.wait_box(self.texts["question"])
        main = self.main_window()
        self.assertTrue(main["visible"])
        self.assertIn(NOTES[0], self.memo_text(main))
        self.press(box, IDNO)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertEqual(self.snapshot(), before)

    def test_no_to_the_update_question_ends_without_download(self):
        self.offer()
        before = self.snapshot()
        renewa = self.start_renewa()
        box = self.wait_box(self.texts["question"])
        self.press(box, IDNO)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertEqual(self.server.requests, [VERSION_PATH])
        self.assertEqual(self.snapshot(), before)

    def test_up_to_date_message_when_shown(self):
        self.server.route(VERSION_PATH, version_file("6.9.1.99"))
        renewa = self.start_renewa()
        box = self.wait_box(self.texts["up_to_date"])
        self.press(box, IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)

    def test_version_file_without_length_replaces_the_old_copy(self):
        os.makedirs(self.install.path("Update"))
        with open(self.install.path("Update", "Update.ini"), "wb") as f:
            f.write(version_file("9.9.9.9"))  # an older answer that announced an update
        body = version_file("6.9.2.0")
        self.server.route(VERSION_PATH, body, with_length=False)
        renewa = self.start_renewa()
        box = self.wait_box(self.texts["up_to_date"])
        self.press(box, IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        with open(self.install.path("Update", "Update.ini"), "rb") as f:
            self.assertEqual(f.read(), body)

    def test_second_updater_ends_at_once(self):
        self.offer()
        first = self.start_renewa()
        box = self.wait_box(self.texts["question"])
        second = self.start_renewa()
        self.assertEqual(self.wait_exit(second), 0)
        self.assertIsNone(first.poll())
        self.assertEqual(len(self.windows(cls="TFmMain")), 1)
        self.assertEqual(self.server.requests, [VERSION_PATH])
        self.press(box, IDNO)
        self.assertEqual(self.wait_exit(first), 0)


class UpdaterFlowEnglish(UpdaterScenario):
    language = 0

    def test_english_texts(self):
        self.server.route(VERSION_PATH, version_file("7", NOTES))
        renewa = self.start_renewa()
        box = self.wait_box(self.texts["question"])
        main = self.main_window()
        self.assertEqual(main["title"], "Kelvara Auto update")
        texts = [c["text"] for c in self.children(main)]
        self.assertIn("Content", texts)
        self.assertIn("Progress", texts)
        self.press(box, IDNO)
        self.assertEqual(self.wait_exit(renewa), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
