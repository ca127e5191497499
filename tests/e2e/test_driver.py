"""The driver's own test, against the small sample window program: boxes and
their icons, buttons and keys, texts, pixels, the idle check and the exit."""

import harness
from harness import IDNO, IDOK, IDYES


class DriverTests(harness.AppTestCase):
    def test_boxes_report_caption_text_owner_buttons_and_icon(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        app.click(20008)
        box = app.wait_box()
        self.assertEqual(("質問", "続けますか?", "main", [IDYES, IDNO], "question"),
                         (box["caption"], box["text"], box["owner"], box["buttons"], box["icon"]))
        app.press(IDYES)
        box = app.wait_box()
        self.assertEqual(("結果", "はい", [IDOK], "information"),
                         (box["caption"], box["text"], box["buttons"], box["icon"]))
        app.press(IDOK)
        self.assertIsNone(app.sync())
        app.click(20014)
        box = app.sync()
        self.assertEqual(("ERROR!!", "エラーコード:00-00\n警告", "warning"),
                         (box["caption"], box["text"], box["icon"]))
        app.call("boxclose")
        app.click(20015)
        box = app.wait_box()
        self.assertEqual((None, None, [IDOK]), (box["owner"], box["icon"], box["buttons"]))
        app.press(IDOK)

    def test_escape_on_a_yes_no_box_is_not_yes(self):
        app = self.launch()
        app.click(20008)
        app.wait_box()
        app.call("boxkey", 27)
        self.assertIsNone(app.sync())
        self.assertEqual("no", app.text(10001))

    def test_texts_pixels_and_exit(self):
        app = self.launch()
        app.set_text(10001, "１２３ abc")
        self.assertEqual("１２３ abc", app.text(10001))
        colours = app.wait_pixels({(585, 270): "0000ff", (600, 340): "ff00ff"})
        self.assertEqual(["0000ff", "ff00ff"], [colours[(585, 270)], colours[(600, 340)]])
        rows = app.capture(598, 339, 3, 2)
        self.assertEqual((255, 0, 255), rows[1][2])
        self.assertEqual((0, 0, 255), rows[0][0])
        app.call("menu", 1100)
        self.assertEqual({"exited": True, "code": 0}, {k: app.wait_exit()[k] for k in ("exited", "code")})


if __name__ == "__main__":
    harness.main()
