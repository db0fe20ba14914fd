"""The updater when things go wrong: nothing half-installed, no silent hang, no false success."""
import os
import socket
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import KELVARA_MUTEX, WM_CLOSE  # noqa: E402
from updater_harness import (ARCHIVE_PATH, IDNO, IDOK, IDYES, VERSION_PATH, UpdaterScenario,  # noqa: E402
                             archive, corrupt, version_file)


def closed_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def nested(depth):
    return "/".join(["d"] * depth) + "/x.txt"


# Archives refused before Kelvara is asked to close, each with a sound entry beside it.
HOSTILE = {
    "nested_too_deep": lambda: archive([("Readme.txt", b"new"), (nested(40), b"x")]),
    "zip_bomb": lambda: archive([("Readme.txt", b"new"), ("zeros.bin", bytes(20 << 20))]),
    "too_many_entries": lambda: archive([("Readme.txt", b"new")] + [("f%d.txt" % i, b"") for i in range(10001)]),
    "name_too_long_for_the_destination": lambda: archive([("Readme.txt", b"new"), ("Skin/" + "n" * 230 + ".png", b"x")]),
    "unicode_case_collision": lambda: archive([("Readme.txt", b"new"), ("Ä.txt", b"upper"), ("ä.txt", b"lower")]),
    "short_name_alias": lambda: archive([("Readme.txt", b"new"), ("KELVAR~1.EXE", b"x")]),
}


class UpdaterFailures(UpdaterScenario):

    # Installed one level down, so that an entry escaping it lands in this case's own folder.
    install_subdir = "Kelvara"

    def offer(self, archive_bytes=None, status=200):
        self.server.route(VERSION_PATH, version_file("6.10.0.0", ["notes"]))
        if archive_bytes is not None:
            self.server.route(ARCHIVE_PATH, archive_bytes, status=status)

    def accept_update(self):
        renewa = self.start_renewa()
        self.press(self.wait_box(self.texts["question"]), IDYES)
        return renewa

    def assert_refused(self, archive_bytes):
        """The archive is refused before Kelvara is asked to close; nothing changes."""
        self.offer(archive_bytes)
        kelvara, _ = self.start_kelvara()
        before = self.snapshot()
        renewa = self.accept_update()
        box = self.wait_box(self.texts["failed"])
        self.press(box, IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertIsNone(kelvara.poll())  # never asked to close
        self.assertEqual(self.snapshot(), before)
        self.assertFalse(os.path.exists(os.path.join(os.path.dirname(self.install.dir), "evil.txt")))

    def test_archive_with_parent_entry_is_refused(self):
        self.assert_refused(archive([("Readme.txt", b"new"), ("..\\evil.txt", b"outside")]))

    def test_archive_through_a_link_is_refused(self):
        outside = os.path.join(self.install.top, "outside")
        os.makedirs(outside)
        os.symlink(outside, self.install.path("Widgets"))  # a reparse point under Wine
        self.assert_refused(archive([("Readme.txt", b"new"), ("Widgets/Weather/Widget.dll", b"planted")]))
        self.assertEqual(os.listdir(outside), [])

    def test_archive_with_corrupt_entry_is_refused(self):
        good = archive([("Readme.txt", b"new readme " * 50), ("Kelvara.exe", b"not really" * 100)])
        self.assert_refused(corrupt(good, "Kelvara.exe"))

    def test_kelvara_refusing_to_close_then_no_abandons(self):
        self.offer(archive([("Readme.txt", b"new")]))
        kelvara, _ = self.start_kelvara("/ignoreclose")
        before = self.snapshot()
        renewa = self.accept_update()
        self.press(self.wait_box(self.texts["close"]), IDYES)
        started = time.monotonic()
        box = self.wait_box(self.texts["close"], timeout_ms=20000)  # asked again after the wait
        self.assertGreaterEqual(time.monotonic() - started, 4.0)
        self.press(box, IDNO)
        self.press(self.wait_box(self.texts["abandoned"]), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertIsNone(kelvara.poll())
        self.assertEqual(self.snapshot(), before)
        self.assertTrue(os.path.exists(self.install.path("Update", "Update.zip")))

    def test_archive_not_found_closes_silently(self):
        self.offer(b"<html>404</html>", status=404)
        before = self.snapshot()
        renewa = self.accept_update()
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertEqual(self.windows(title=self.texts["hint"], cls="#32770"), [])
        self.assertEqual(self.snapshot(), before)

    def test_archive_that_is_no_zip_leaves_one_status_text(self):
        self.offer(b"<html>maintenance</html>")
        before = self.snapshot()
        renewa = self.accept_update()
        main = self.main_window()
        self.eventually(lambda: any("升级包无法读取" in c["text"] for c in self.children(main)),
                        message="no status text")
        self.assertIsNone(renewa.poll())  # stays until the user closes it
        self.assertEqual(self.windows(title=self.texts["hint"], cls="#32770"), [])
        self.post(main, WM_CLOSE)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertEqual(self.snapshot(), before)

    def test_unreachable_server_shown_says_so(self):
        self.write_options(closed_port())
        renewa = self.start_renewa()
        main = self.main_window()
        self.eventually(lambda: any("无法连接升级服务器" in c["text"] for c in self.children(main)),
                        timeout=20, message="no status text")
        self.assertIsNone(renewa.poll())
        self.post(main, WM_CLOSE)
        self.assertEqual(self.wait_exit(renewa), 0)

    def test_unreachable_server_hidden_ends(self):
        self.write_options(closed_port())
        renewa = self.start_renewa("Hide")
        self.assertEqual(self.wait_exit(renewa, timeout=30), 0)

    def test_failure_while_installing_restores_and_restarts_kelvara(self):
        with open(self.install.path("Readme.txt"), "wb") as f:
            f.write(b"old readme")
        os.makedirs(self.install.path("Blocked.dll"))  # a directory where the archive has a file
        self.offer(archive([("Readme.txt", b"new readme"), ("New/Added.txt", b"added"), ("Blocked.dll", b"dll")]))
        kelvara, _ = self.start_kelvara()
        before = self.snapshot()
        renewa = self.accept_update()
        self.press(self.wait_box(self.texts["close"]), IDYES)
        self.assertEqual(self.wait_exit(kelvara, timeout=20), 0)
        self.press(self.wait_box(self.texts["failed"], timeout_ms=30000), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.adopt_kelvara()  # closed by the updater, so started again
        self.assertEqual(self.snapshot(), before)
        self.assertFalse(os.path.exists(self.install.path("New")))

    def test_run_after_a_failure_installs(self):
        self.offer(corrupt(archive([("Readme.txt", b"new readme " * 50)]), "Readme.txt"))
        renewa = self.accept_update()
        self.press(self.wait_box(self.texts["failed"]), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)

        self.publish_update([("Readme.txt", b"fixed")])
        renewa = self.accept_update()
        self.press(self.wait_box(self.texts["completed"], timeout_ms=30000), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.adopt_kelvara()  # a successful update starts Kelvara
        self.assertTrue(self.mutex_exists(KELVARA_MUTEX))
        with open(self.install.path("Readme.txt"), "rb") as f:
            self.assertEqual(f.read(), b"fixed")


for _name, _make in HOSTILE.items():
    setattr(UpdaterFailures, "test_hostile_archive_%s_is_refused" % _name,
            lambda self, make=_make: self.assert_refused(make()))


if __name__ == "__main__":
    unittest.main(verbosity=2)
