"""The publishing tool (Publish.exe under Wine): what it writes, what it refuses, and that
its signatures are plain ECDSA P-256 with SHA-256, as OpenSSL checks them.
"""
import base64
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import WORK, windows_path  # noqa: E402
from updater_harness import FIXTURES, TEST_KEY, lay_out, run_publish  # noqa: E402

SPKI_P256 = bytes.fromhex("3059301306072a8648ce3d020106082a8648ce3d030107034200") + b"\x04"


def der_signature(raw):
    """r and s as OpenSSL reads an ECDSA signature."""
    def integer(b):
        b = b.lstrip(b"\0") or b"\0"
        if b[0] & 0x80:
            b = b"\0" + b
        return b"\x02" + bytes([len(b)]) + b
    body = integer(raw[:32]) + integer(raw[32:])
    return b"\x30" + bytes([len(body)]) + body


def version_file_text(data):
    assert data[:2] == b"\xff\xfe", data[:8]
    return data[2:].decode("utf-16-le")


class Publish(unittest.TestCase):

    def setUp(self):
        os.makedirs(WORK, exist_ok=True)
        self.top = tempfile.mkdtemp(prefix="publish-", dir=WORK)
        self.addCleanup(shutil.rmtree, self.top, True)
        self.source = os.path.join(self.top, "files")
        self.out = os.path.join(self.top, "out")
        self.notes = os.path.join(self.top, "notes.txt")
        with open(self.notes, "wb") as f:
            f.write("\ufeff修复了天气插件的显示问题\r\n  Faster start  \r\n\r\n".encode("utf-8"))

    def run_tool(self, version="6.10.0.0", key=None, source=None, out=None):
        args = ["--from", windows_path(source or self.source), "--version", version,
                "--notes", windows_path(self.notes), "--out", windows_path(out or self.out)]
        if key:
            args += ["--key", windows_path(key)]
        return run_publish(*args)

    def read_out(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def openssl_verifies(self, public_key, version, archive, signature):
        statement = ("Kelvara update\nVersion=%s\nSHA-256=%s\n" % (version, hashlib.sha256(archive).hexdigest()))
        paths = {name: os.path.join(self.top, name) for name in ("key.der", "sig.der", "statement")}
        for name, data in (("key.der", SPKI_P256 + public_key), ("sig.der", der_signature(signature)),
                           ("statement", statement.encode("utf-8"))):
            with open(paths[name], "wb") as f:
                f.write(data)
        result = subprocess.run(["openssl", "dgst", "-sha256", "-verify", paths["key.der"], "-keyform", "DER",
                                 "-signature", paths["sig.der"], paths["statement"]],
                                capture_output=True, timeout=30)
        return result.returncode == 0

    def test_writes_the_archive_and_the_signed_version_file(self):
        lay_out(self.source, [("Kelvara.exe", b"MZ" + bytes(5000)), ("Readme.txt", b"read me", 0x21),
                              ("Widgets/天气/Widget.dll", b"dll" * 100), ("Empty/", b""), ("Skin/blank.png", b"")])
        code, printed = self.run_tool(key=TEST_KEY)
        self.assertEqual(code, 0, printed)
        self.assertIn("6.10.0.0", printed)

        archive = self.read_out("Update6.zip")
        with zipfile.ZipFile(os.path.join(self.out, "Update6.zip")) as z:
            entries = {i.filename: i for i in z.infolist()}
            self.assertEqual(sorted(entries), ["Empty/", "Kelvara.exe", "Readme.txt", "Skin/", "Skin/blank.png",
                                               "Widgets/", "Widgets/天气/", "Widgets/天气/Widget.dll"])
            self.assertEqual(z.read("Widgets/天气/Widget.dll"), b"dll" * 100)
            self.assertEqual(z.read("Kelvara.exe"), b"MZ" + bytes(5000))
            self.assertEqual(entries["Kelvara.exe"].compress_type, zipfile.ZIP_DEFLATED)
            self.assertTrue(entries["Widgets/天气/Widget.dll"].flag_bits & 0x800)  # UTF-8 name
            self.assertTrue(entries["Readme.txt"].external_attr & 0x01)  # read-only kept
            self.assertFalse(entries["Kelvara.exe"].external_attr & 0x01)
            self.assertIsNone(z.testzip())

        text = version_file_text(self.read_out("Update6.txt"))
        lines = text.split("\r\n")
        self.assertEqual(lines[:2], ["[UpdateInfo]", "Version=6.10.0.0"])
        self.assertTrue(lines[2].startswith("Signature="))
        self.assertEqual(lines[3:], ["[VersionInfo]", "Line1=修复了天气插件的显示问题", "Line2=Faster start", ""])

        signature = base64.b64decode(lines[2][len("Signature="):], validate=True)
        with open(os.path.join(FIXTURES, "test-signing.pub")) as f:
            public_key = bytes.fromhex(f.read().strip())
        self.assertTrue(self.openssl_verifies(public_key, "6.10.0.0", archive, signature))
        self.assertFalse(self.openssl_verifies(public_key, "6.10.0.1", archive, signature))
        self.assertEqual(sorted(os.listdir(self.out)), ["Update6.txt", "Update6.zip"])

    def test_without_a_key_the_version_file_has_no_signature(self):
        lay_out(self.source, [("Readme.txt", b"read me")])
        code, printed = self.run_tool(version="7")
        self.assertEqual(code, 0, printed)
        self.assertNotIn("Signature", version_file_text(self.read_out("Update6.txt")))

    def test_refuses_what_the_updater_would_refuse_and_keeps_the_last_publication(self):
        not_a_key = os.path.join(self.top, "not-a-key")
        with open(not_a_key, "w") as f:
            f.write("00" * 10)
        outside = os.path.join(self.top, "outside")
        os.makedirs(outside)

        def with_files(*entries):
            return lambda: lay_out(self.source, entries)

        def link():
            lay_out(self.source, [("Readme.txt", b"x")])
            os.symlink(outside, os.path.join(self.source, "Widgets"))

        def bad_notes(data):
            def make():
                lay_out(self.source, [("Readme.txt", b"x")])
                with open(self.notes, "wb") as f:
                    f.write(data)
            return make

        cases = [
            # (what, how the tree is made, arguments, a word of the message[, exit code])
            ("names that fold alike", with_files(("Ä.txt", b"1"), ("ä.txt", b"2")), {}, "refuses"),
            ("a device name", with_files(("Readme.txt", b"x"), ("CON.txt", b"x")), {}, "refuses"),
            ("a link", link, {}, "link"),
            ("the updater's own folder", with_files(("Update/Update.zip", b"x")), {}, "Update"),
            ("no file at all", with_files(("Empty/", b"")), {}, "no file"),
            ("a version never offered", with_files(("Readme.txt", b"x")), {"version": "6.x"}, "version", 2),
            ("notes that are not UTF-8", bad_notes(b"\xb8\xfc\xd0\xc2"), {}, "UTF-8"),
            ("a note too long to read", bad_notes(b"x" * 2048), {}, "2047"),
            ("not a key", with_files(("Readme.txt", b"x")), {"key": not_a_key}, "key"),
            ("the output inside the input", with_files(("Readme.txt", b"x")),
             {"out": os.path.join(self.source, "out")}, "inside"),
            ("no such directory", lambda: None, {"source": os.path.join(self.top, "missing")}, "directory"),
        ]
        os.makedirs(self.out)
        for name in ("Update6.txt", "Update6.zip"):
            with open(os.path.join(self.out, name), "wb") as f:
                f.write(b"the last publication")
        for what, make, args, word, *code in cases:
            with self.subTest(what):
                shutil.rmtree(self.source, ignore_errors=True)
                with open(self.notes, "wb") as f:
                    f.write(b"notes")
                make()
                exit_code, printed = self.run_tool(**args)
                self.assertEqual(exit_code, code[0] if code else 1, printed)
                self.assertIn(word, printed)
                self.assertEqual(sorted(os.listdir(self.out)), ["Update6.txt", "Update6.zip"])
                for name in ("Update6.txt", "Update6.zip"):
                    self.assertEqual(self.read_out(name), b"the last publication")

    def test_usage_mistakes_exit_with_2(self):
        for args in ([], ["--from", "x"], ["--new-key", "a", "--out", "b"], ["--frm", "x"]):
            with self.subTest(args=args):
                code, printed = run_publish(*args)
                self.assertEqual(code, 2, printed)
                self.assertIn("usage:", printed)

    def test_a_new_key_signs_and_is_never_overwritten(self):
        key = os.path.join(self.top, "maker.key")
        code, printed = run_publish("--new-key", windows_path(key))
        self.assertEqual(code, 0, printed)
        public_hex = printed.split("RENEWA_UPDATE_PUBLIC_KEY=")[1].split()[0]
        with open(key) as f:
            secret = f.read()
        self.assertEqual(secret.strip()[:128], public_hex)  # X and Y, then d

        code, printed = run_publish("--new-key", windows_path(key))
        self.assertEqual(code, 1, printed)
        with open(key) as f:
            self.assertEqual(f.read(), secret)

        lay_out(self.source, [("Readme.txt", b"read me")])
        code, printed = self.run_tool(key=key)
        self.assertEqual(code, 0, printed)
        lines = version_file_text(self.read_out("Update6.txt")).split("\r\n")
        signature = base64.b64decode(lines[2][len("Signature="):])
        self.assertTrue(self.openssl_verifies(bytes.fromhex(public_hex), "6.10.0.0", self.read_out("Update6.zip"),
                                              signature))


if __name__ == "__main__":
    unittest.main(verbosity=2)
