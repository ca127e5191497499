"""The sampling-count dialog of Tallowind.exe (ツール > ARITHMETIC SIMULATION 設定),
as a new user meets it: what it shows, what SAVE writes to
save_data/arithmetic_simulation.txt, that CANCEL, Esc and the close box write
nothing, and that the saved count is the one the arithmetic simulation uses."""

import harness
from harness import IDCANCEL, IDOK

MENU_SAMPLING_COUNT = 1000
COUNT_EDIT = 1010
COUNT_FILE = "arithmetic_simulation.txt"
CAPTION = "ARITHMETIC SIMULATION 設定"
LABEL = "サンプリング数(1～1000000):"
VK_RETURN, VK_ESCAPE = 13, 27

INPUTS = list(range(10001, 10008))
ARITHMETIC_OUTPUTS = list(range(10009, 10013))
ARITHMETIC_CALCULATE = 20014


class SamplingCountDialogTests(harness.AppTestCase):
    def open_dialog(self, app):
        """Opens the dialog from the menu, checks what it is and returns the count it shows."""
        app.call("menu", MENU_SAMPLING_COUNT)
        box = app.wait_box()
        self.assertEqual((CAPTION, "main", [IDOK, IDCANCEL], ["SAVE", "CANCEL"]),
                         (box["caption"], box["owner"], box["buttons"], box["buttonTexts"]))
        statics = [child["text"] for child in box["children"] if child["class"].lower() == "static"]
        self.assertEqual([LABEL], statics)
        return app.call("boxgettext", COUNT_EDIT)["text"]

    def type_count(self, app, text):
        app.call("boxsettext", COUNT_EDIT, text)

    def assert_closed(self, app):
        """The dialog is gone and the main window takes messages again."""
        self.assertIsNone(app.sync())

    def test_fresh_start_shows_the_default_and_cancel_escape_and_close_write_nothing(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        before = app.dir.snapshot()
        self.assertNotIn(COUNT_FILE, before)

        self.assertEqual("1000000", self.open_dialog(app))
        self.type_count(app, "2500")
        app.press(IDCANCEL)
        self.assert_closed(app)
        self.assertEqual(before, app.dir.snapshot())

        self.assertEqual("1000000", self.open_dialog(app), "CANCEL kept nothing of what was typed")
        self.type_count(app, "2500")
        app.call("boxkey", VK_ESCAPE)
        self.assert_closed(app)
        self.assertEqual(before, app.dir.snapshot())

        self.assertEqual("1000000", self.open_dialog(app))
        self.type_count(app, "2500")
        app.call("boxclose")
        self.assert_closed(app)
        self.assertEqual(before, app.dir.snapshot())

    def test_save_writes_exactly_the_typed_text_and_the_next_opening_shows_the_setting(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        log = app.dir.read("trade_query.txt")
        # Typed text, bytes in the file, count shown at the next opening.
        cases = [
            ("2500", b"2500", "2500"),
            ("12345678", b"1234567", "1000000"),  # only seven characters are read; the count is capped
            ("0500", b"0500", "500"),
            ("abc", b"abc", "1000000"),  # not validated when written; the default on loading
            ("", b"", "1"),
        ]
        shown = "1000000"
        for typed, written, next_shown in cases:
            with self.subTest(typed=typed):
                self.assertEqual(shown, self.open_dialog(app))
                self.type_count(app, typed)
                app.press(IDOK)
                self.assert_closed(app)
                self.assertEqual({"trade_query.txt": log, COUNT_FILE: written}, app.dir.snapshot())
                shown = next_shown
        self.assertEqual(shown, self.open_dialog(app))
        app.press(IDCANCEL)
        self.assertEqual(b"", app.dir.read(COUNT_FILE), "CANCEL left the saved file alone")

    def test_enter_saves(self):
        app = self.launch()
        self.assertEqual("1000000", self.open_dialog(app))
        self.type_count(app, "750")
        app.call("boxkey", VK_RETURN)
        self.assert_closed(app)
        self.assertEqual(b"750", app.dir.read(COUNT_FILE))
        self.assertEqual("750", self.open_dialog(app))
        app.press(IDCANCEL)

    def test_a_saved_file_is_loaded_at_start_and_read_again_at_each_opening(self):
        directory = self.new_directory()
        directory.write(COUNT_FILE, b"2500")
        app = self.launch(directory)
        self.assertIsNone(app.start["box"])
        self.assertEqual("2500", self.open_dialog(app))
        app.press(IDCANCEL)
        # A file changed by hand while the program runs is read when the dialog opens.
        cases = [(b"1500000", "1000000"), (b"0", "1"), (b"12a", "1000000"), (b"100\r\n", "1000000")]
        for data, shown in cases:
            with self.subTest(data=data):
                directory.write(COUNT_FILE, data)
                self.assertEqual(shown, self.open_dialog(app))
                app.press(IDCANCEL)
                self.assertEqual(data, directory.read(COUNT_FILE))

    def test_the_saved_count_is_the_number_of_samples_of_the_arithmetic_simulation(self):
        app = self.launch()
        # At win rate 50 a sample is ruined after two losses in a row (10000 -> 6000 -> 1000, next
        # lot 6000 too big), a chance of one in four, and otherwise completes.
        for control_id, text in zip(INPUTS, ["10000", "1", "1", "1000", "50", "1", "1"]):
            app.set_text(control_id, text)
        app.click(ARITHMETIC_CALCULATE)
        self.assertIsNone(app.sync(), "the default million samples end within the sync's limit")
        ruin = float(app.text(ARITHMETIC_OUTPUTS[0]))
        self.assertTrue(24 < ruin < 26, ruin)

        self.open_dialog(app)
        self.type_count(app, "1")
        app.press(IDOK)
        self.assert_closed(app)
        # With one sample the ruin rate is 0 or 100 and one of the two group means is 0.
        for run in range(3):
            with self.subTest(run=run):
                app.click(ARITHMETIC_CALCULATE)
                self.assertIsNone(app.sync())
                ruin, win_only, both, lose_only = [app.text(i) for i in ARITHMETIC_OUTPUTS]
                self.assertIn(ruin, ("0", "100"))
                self.assertEqual(lose_only if ruin == "100" else win_only, both)
                self.assertEqual("0", win_only if ruin == "100" else lose_only)


if __name__ == "__main__":
    harness.main()
