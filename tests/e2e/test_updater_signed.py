"""A build that trusts one signing key: RenewaSigned.exe is the updater built with the test key
of tests/fixtures/updater. Only an archive signed by that key for the announced version is
installed; anything else is refused before Kelvara is asked to close, with nothing changed.
"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import WM_KELVARA_CLOSE  # noqa: E402
from updater_harness import (IDOK, IDYES, OTHER_KEY, TEST_KEY, VERSION_PATH,  # noqa: E402
                             UpdaterScenario)

FILES = [("Readme.txt", b"new readme"), ("Skin/a.png", b"new png")]


def edit_version_file(version_bytes, old, new):
    text = version_bytes[2:].decode("utf-16-le")
    assert old in text, (old, text)
    return version_bytes[:2] + text.replace(old, new).encode("utf-16-le")


class UpdaterSigned(UpdaterScenario):
    programs = ("RenewaSigned.exe", "Kelvara.exe")

    def setUp(self):
        super().setUp()
        with open(self.install.path("Readme.txt"), "wb") as f:
            f.write(b"old readme")

    def accept(self):
        renewa = self.start("RenewaSigned.exe")
        self.press(self.wait_box(self.texts["question"]), IDYES)
        return renewa

    def test_an_archive_signed_by_the_key_installs(self):
        self.publish_update(FILES, key=TEST_KEY)
        kelvara, _ = self.start_kelvara()
        renewa = self.accept()
        self.press(self.wait_box(self.texts["close"]), IDYES)
        self.assertEqual(self.wait_exit(kelvara, timeout=20), 0)
        self.press(self.wait_box(self.texts["completed"], timeout_ms=30000), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.adopt_kelvara()
        with open(self.install.path("Readme.txt"), "rb") as f:
            self.assertEqual(f.read(), b"new readme")
        with open(self.install.path("Skin", "a.png"), "rb") as f:
            self.assertEqual(f.read(), b"new png")

    def refused_case(self, offer):
        offer()
        kelvara, window = self.start_kelvara()
        before = self.snapshot()
        renewa = self.accept()
        self.press(self.wait_box(self.texts["failed"]), IDOK)
        self.assertEqual(self.wait_exit(renewa), 0)
        self.assertIsNone(kelvara.poll())  # never asked to close
        self.assertEqual(self.snapshot(), before)
        self.post(window, WM_KELVARA_CLOSE)  # ends it before the next case starts its own
        self.assertEqual(self.wait_exit(kelvara, timeout=20), 0)

    def test_what_is_not_signed_for_this_version_by_this_key_is_refused(self):
        def tampered_archive():
            signed, _ = self.publish_update(FILES, key=TEST_KEY)
            self.publish_update([("Readme.txt", b"planted")])  # another archive ...
            self.server.route(VERSION_PATH, signed)  # ... under the signed version file

        def tampered_version():
            # An archive signed for 6.10.0.0 offered again as a newer version.
            signed, _ = self.publish_update(FILES, key=TEST_KEY)
            self.server.route(VERSION_PATH, edit_version_file(signed, "Version=6.10.0.0", "Version=6.11.0.0"))

        def malformed():
            signed, _ = self.publish_update(FILES, key=TEST_KEY)
            self.server.route(VERSION_PATH, edit_version_file(signed, "Signature=", "Signature=!"))

        cases = {
            "tampered archive": tampered_archive,
            "tampered version": tampered_version,
            "missing signature": lambda: self.publish_update(FILES),
            "signed by another key": lambda: self.publish_update(FILES, key=OTHER_KEY),
            "malformed signature": malformed,
        }
        for name, offer in cases.items():
            with self.subTest(name):
                self.refused_case(offer)


if __name__ == "__main__":
    unittest.main(verbosity=2)
