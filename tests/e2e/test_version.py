"""End-to-end tests of the Help menu: the version check against a local HTTP
server that publishes the version text, and the About box.

Besides the harness's options this takes --version-url, the version text's URL
built into the program (it must name 127.0.0.1 and a port; the test serves it
there), and --download-url, the download address built into it; without them
the environment's TALLOWIND_VERSION_URL and TALLOWIND_DOWNLOAD_URL, else the
defaults below.
"""

import os
import sys
import urllib.parse

import harness
from harness import IDOK
from version_server import VERSION_PATH, VersionServer

MENU_VERSION_CHECK = 2000
MENU_ABOUT = 2100
VK_ESCAPE = 27

version_url = "http://127.0.0.1:18080/information/tallowind.txt"
download_url = "http://www.tallowind.example/download/"

UP_TO_DATE = "このソフトウェアは最新バージョンです。"
NO_SERVER = "エラーコード:02-01\nWEBサーバへのアクセスに失敗しました。"
BAD_VERSION = "エラーコード:02-02\nバージョン情報へのアクセスに失敗しました。"


def newer_message(version):
    return ("新しいバージョンが公開されています。\n最新バージョンはVersion %sです。\n"
            "ダウンロードはこちらから可能です。→%s" % (version, download_url))


def served_port():
    url = urllib.parse.urlsplit(version_url)
    if url.scheme != "http" or url.hostname != "127.0.0.1" or url.path != VERSION_PATH:
        raise RuntimeError("the program under test fetches %s, not a loopback URL of %s"
                           % (version_url, VERSION_PATH))
    return url.port or 80


class VersionCheckTests(harness.AppTestCase):
    def check(self, app, body):
        """Runs the version check against a server publishing `body`; returns the box shown."""
        with VersionServer(body, served_port()) as server:
            app.call("menu", MENU_VERSION_CHECK)
            box = app.wait_box(60000)
        self.assertEqual([], server.problems())
        self.assertEqual(1, len(server.requests))
        return box

    def expect(self, app, body, caption, text, icon):
        """Checks the box for `body`; an icon of None is not checked."""
        box = self.check(app, body)
        self.assertEqual((caption, text, "main", [IDOK]),
                         (box["caption"], box["text"], box["owner"], box["buttons"]))
        if icon is not None:
            self.assertEqual(icon, box["icon"])
        app.press(IDOK)
        self.assertIsNone(app.sync())

    def test_server_texts(self):
        cases = [
            (b"1.0", "バージョンアップ確認", UP_TO_DATE, "information"),
            (b"1.1", "バージョンアップ確認", newer_message("1.1"), "information"),
            (b"1.1\r\n", "ERROR!!", BAD_VERSION, "warning"),
            (b"0.0", "ERROR!!", BAD_VERSION, "warning"),
            (b"0", "バージョンアップ確認", UP_TO_DATE, "information"),
            (b"", "ERROR!!", BAD_VERSION, "warning"),
        ]
        app = self.launch()
        for body, caption, text, icon in cases:
            with self.subTest(body=body):
                self.expect(app, body, caption, text, icon)

    def test_a_long_reply_is_joined_in_order(self):
        # Read in 127-byte chunks: any chunk lost, repeated or reordered shows in the message.
        version = "1." + "".join(str(i % 10) for i in range(1, 200)) + "7"
        self.assertGreater(len(version), 127)
        app = self.launch()
        # A box this wide reaches past the screen, where its icon cannot be read from the pixels.
        self.expect(app, version.encode("ascii"), "バージョンアップ確認", newer_message(version), None)

    def test_an_oversized_reply_is_malformed(self):
        app = self.launch()
        self.expect(app, b"0" * (64 * 1024 + 1000), "ERROR!!", BAD_VERSION, "warning")

    def test_no_server_is_an_access_error(self):
        app = self.launch()
        served_port()
        app.call("menu", MENU_VERSION_CHECK)
        box = app.wait_box(60000)
        self.assertEqual(("ERROR!!", NO_SERVER, "warning"), (box["caption"], box["text"], box["icon"]))
        app.press(IDOK)
        self.assertIsNone(app.sync())


class AboutBoxTests(harness.AppTestCase):
    def open_about(self, app):
        app.call("menu", MENU_ABOUT)
        box = app.wait_box()
        texts = [child["text"] for child in box["children"] if child["class"].lower() == "static"]
        self.assertEqual(("バージョン情報", "main", [IDOK], ["OK"]),
                         (box["caption"], box["owner"], box["buttons"], box["buttonTexts"]))
        self.assertIn("Tallowind Version 1.0", texts)
        self.assertIn("モンテカルロ法によるFXロット管理ツール", texts)

    def test_ok_escape_and_the_close_box_close_it(self):
        app = self.launch()
        self.open_about(app)
        app.press(IDOK)
        self.assertIsNone(app.sync())

        self.open_about(app)
        app.call("boxkey", VK_ESCAPE)
        self.assertIsNone(app.sync())

        self.open_about(app)
        app.call("boxclose")
        self.assertIsNone(app.sync())
        # The main window takes commands again.
        app.call("menu", MENU_ABOUT)
        self.assertIsNotNone(app.wait_box())
        app.press(IDOK)


def take_option(name, variable, default):
    """Removes `name VALUE` from the command line and returns VALUE, else the variable's value."""
    if name in sys.argv:
        index = sys.argv.index(name)
        value = sys.argv[index + 1]
        del sys.argv[index:index + 2]
        return value
    return os.environ.get(variable) or default


if __name__ == "__main__":
    version_url = take_option("--version-url", "TALLOWIND_VERSION_URL", version_url)
    download_url = take_option("--download-url", "TALLOWIND_DOWNLOAD_URL", download_url)
    harness.main()
