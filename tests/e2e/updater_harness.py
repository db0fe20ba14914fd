"""Scenarios of the updater: a loopback update server and an installation around Renewa.exe.

The updater reaches the server through its proxy setting (Config\\GlobalOptions.ini with
ProxyType 2), so the update host named in the program needs no name resolution.
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import BIN, ROOT, WINE_RUN, WORK, Scenario, windows_path  # noqa: E402
from loopback_server import UpdateServer, write_global_options  # noqa: E402,F401

VERSION_PATH = "/File/Update/Update6.txt"
ARCHIVE_PATH = "/File/Update/Update6.zip"
RENEWA_MUTEX = r"Global\Norrel_Mutex_Renewa"
IDOK, IDYES, IDNO = 1, 6, 7

FIXTURES = os.path.join(ROOT, "tests", "fixtures", "updater")
TEST_KEY = os.path.join(FIXTURES, "test-signing.key")    # trusted by RenewaSigned.exe
OTHER_KEY = os.path.join(FIXTURES, "other-signing.key")

ZH = {
    "title": "Kelvara自动升级", "hint": "提示", "question": "检测到有可用更新，是否进行更新？",
    "up_to_date": "已升级到最新版本", "close": "操作台正在运行，升级需要关闭操作台，是否自动关闭",
    "abandoned": "已放弃升级，升级失败", "completed": "升级完成", "failed": "升级失败，已恢复原来的版本",
    "content": "升级内容", "progress": "升级进度",
}
EN = {
    "title": "Kelvara Auto update", "hint": "Hint", "question": "Update is available to detect whether the update?",
    "completed": "Upgrade completed", "content": "Content", "progress": "Progress",
}


def version_file(version, notes=()):
    lines = ["[UpdateInfo]", "Version=" + version, "[VersionInfo]"]
    lines += ["Line%d=%s" % (i + 1, note) for i, note in enumerate(notes)]
    # UTF-16 with a byte-order mark: read the same under any ANSI code page.
    return b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le")


def run_publish(*args, timeout=120):
    """Publish.exe under Wine; arguments that are paths must be Windows paths already.
    Returns (exit code, what it printed on both streams)."""
    result = subprocess.run([WINE_RUN, windows_path(os.path.join(BIN, "Publish.exe")), *args],
                            capture_output=True, timeout=timeout)
    return result.returncode, (result.stdout + result.stderr).decode("utf-8", "replace")


def lay_out(top, entries):
    """Writes entries (name, bytes[, DOS attributes]; names ending in '/' are directories)
    as a directory tree; 0x01 makes the file read-only."""
    for entry in entries:
        path = os.path.join(top, *entry[0].rstrip("/").split("/"))
        if entry[0].endswith("/"):
            os.makedirs(path, exist_ok=True)
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(entry[1])
        if len(entry) > 2 and entry[2] & 0x01:
            os.chmod(path, 0o444)


def publish(top, entries, version="6.10.0.0", notes=("notes",), key=None):
    """The version file and the archive the publishing tool makes of these files, made in
    the empty folder top: (version file bytes, archive bytes)."""
    source, out, notes_file = (os.path.join(top, name) for name in ("files", "out", "notes.txt"))
    lay_out(source, entries)
    with open(notes_file, "wb") as f:
        f.write("\n".join(notes).encode("utf-8"))
    args = ["--from", windows_path(source), "--version", version, "--notes", windows_path(notes_file),
            "--out", windows_path(out)]
    if key:
        args += ["--key", windows_path(key)]
    code, printed = run_publish(*args)
    if code != 0:
        raise AssertionError("publish failed (%d): %s" % (code, printed))
    with open(os.path.join(out, "Update6.txt"), "rb") as f:
        version_bytes = f.read()
    with open(os.path.join(out, "Update6.zip"), "rb") as f:
        return version_bytes, f.read()


def archive(entries):
    """entries: (name, bytes[, DOS attributes]); names ending in '/' are directories."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for entry in entries:
            name, data = entry[0], entry[1]
            info = zipfile.ZipInfo(name, date_time=(2025, 1, 1, 12, 0, 0))
            info.create_system = 0
            info.external_attr = entry[2] if len(entry) > 2 else (0x10 if name.endswith("/") else 0x20)
            info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
            z.writestr(info, data)
    return out.getvalue()


def corrupt(zip_bytes, name):
    """The archive with one byte of the named entry's data changed (its CRC no longer matches)."""
    data = bytearray(zip_bytes)
    with zipfile.ZipFile(io.BytesIO(zip_bytes)) as z:
        info = z.getinfo(name)
    offset = info.header_offset + 30 + len(info.filename.encode()) + len(info.extra)
    data[offset + info.compress_size // 2] ^= 0x55
    return bytes(data)


class UpdaterScenario(Scenario):
    language = 1
    programs = ("Renewa.exe", "Kelvara.exe")  # the updater beside the stand-in, no sidebar

    def setUp(self):
        super().setUp()
        self.server = UpdateServer()
        self.addCleanup(self.server.stop)
        self.write_options(self.server.port)
        self.texts = ZH if self.language == 1 else EN

    def write_options(self, port, language=None):
        write_global_options(self.install.path("Config"), port, self.language if language is None else language)

    def snapshot(self):
        """Every file of the installation outside Update\\, with its bytes and read-only flag."""
        state = {}
        for name in self.install.files():
            if name.startswith("Update" + os.sep) or name.startswith("Config" + os.sep):
                continue
            path = self.install.path(name)
            with open(path, "rb") as f:
                state[name] = (f.read(), os.stat(path).st_mode & 0o222 != 0)
        return state

    def publish_update(self, entries, version="6.10.0.0", notes=("notes",), key=None):
        """Offers an update made by the publishing tool of these files."""
        os.makedirs(WORK, exist_ok=True)
        top = tempfile.mkdtemp(prefix="publish-", dir=WORK)  # beside the installation, not in it
        self.addCleanup(shutil.rmtree, top, True)
        version_bytes, archive_bytes = publish(top, entries, version, notes, key)
        self.server.route(VERSION_PATH, version_bytes)
        self.server.route(ARCHIVE_PATH, archive_bytes)
        return version_bytes, archive_bytes

    def start_renewa(self, *args):
        return self.start("Renewa.exe", *args)

    def wait_box(self, text=None, timeout_ms=20000):
        box = self.wait_window(title=self.texts["hint"], cls="#32770", timeout_ms=timeout_ms)
        if text is not None:
            self.assertIn(text, self.box_texts(box))
        return box

    def box_texts(self, box):
        return [c["text"] for c in self.children(box) if c["class"].lower() == "static"]

    def press(self, box, button_id):
        buttons = [c for c in self.children(box) if c["class"].lower() == "button" and c["id"] == button_id]
        self.assertTrue(buttons, "no button %d in the message box" % button_id)
        self.click(box, buttons[0]["text"])
        self.assertTrue(self.wait_gone(box), "message box stayed")

    def main_window(self, timeout_ms=15000):
        return self.wait_window(cls="TFmMain", timeout_ms=timeout_ms)

    def memo_text(self, window):
        return [c["text"] for c in self.children(window) if c["class"].lower() == "edit"][0]

    def adopt_kelvara(self, timeout_ms=15000):
        window = self.wait_window(cls="TFmKelvaraMain", timeout_ms=timeout_ms)
        self.adopt(window)
        return window
