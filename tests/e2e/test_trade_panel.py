"""The TRADE INFORMATION panel of Tallowind.exe, as a new user meets it: SAVE
of the seven inputs to save_data/trade_information.txt, LOAD of that file back
into the inputs, and the CLEAR button beside each input, with every question,
range message and completion box on the way."""

import harness
from harness import IDNO, IDOK, IDYES

INPUTS = list(range(10001, 10008))
CLEAR_BUTTONS = list(range(20001, 20008))
SAVE = 20008
LOAD = 20009
INFORMATION_FILE = "trade_information.txt"

OPERATION = "オペレーション確認"
SAVE_QUESTION = "TRADE INFORMATION をファイルにセーブしますか?"
LOAD_QUESTION = "TRADE INFORMATION をファイルからロードしますか?"
SAVED = "セーブが完了しました｡"
LOADED = "ロードが完了しました｡"
NO_FILE = "ファイルが存在しないため、ロード出来ませんでした。"

DECIMALS_2 = "\n小数第2位まで指定可能です。(小数点以下は省略する事も可能です。)"
DECIMALS_6 = "\n小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)"
# The range message of each field, in panel order.
RANGE_MESSAGES = [
    "対象レート換算証拠金は0.01～100000000.00の範囲で指定して下さい。" + DECIMALS_2,
    "レバレッジは1～1000の範囲の整数で指定して下さい。",
    "対象通貨ペアレートは0.000001～1000.000000の範囲で指定して下さい。" + DECIMALS_6,
    "単位ロットサイズは1～100000000の範囲の整数で指定して下さい。",
    "勝率は0～100の範囲の整数で指定して下さい。",
    "TAKE PROFITは0.000001～1000.000000の範囲で指定して下さい。" + DECIMALS_6,
    "STOP LOSSは0.000001～1000.000000の範囲で指定して下さい。" + DECIMALS_6,
]

# Seven valid inputs as typed, with leading and trailing zeros, and the file SAVE writes for them.
TYPED = ["0100000.50", "0100", "150.500", "10000", "50", "0.500000", "0.25"]
SAVED_FILE = b"A100000.5\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25"


class PanelTestCase(harness.AppTestCase):
    def set_inputs(self, app, texts):
        for control_id, text in zip(INPUTS, texts):
            app.set_text(control_id, text)

    def inputs(self, app):
        return [app.text(control_id) for control_id in INPUTS]

    def expect_box(self, box, caption, text, icon, buttons):
        self.assertIsNotNone(box)
        self.assertEqual((caption, text, icon, buttons, "main"),
                         (box["caption"], box["text"], box["icon"], box["buttons"], box["owner"]))

    def command(self, app, button, question):
        """Clicks a SAVE or LOAD button and checks its question."""
        app.click(button)
        self.expect_box(app.wait_box(), OPERATION, question, "question", [IDYES, IDNO])

    def answer_yes(self, app, caption, text, icon):
        """Answers Yes, checks the box that follows and closes it with OK; nothing comes after it."""
        app.press(IDYES)
        self.expect_box(app.wait_box(), caption, text, icon, [IDOK])
        app.press(IDOK)
        self.assertIsNone(app.sync())


class SaveTests(PanelTestCase):
    def test_no_keeps_the_file_and_yes_replaces_it_with_the_normalised_texts(self):
        directory = self.new_directory()
        old = b"A1\r\nB2\r\nC3\r\nD4\r\nE5\r\nF6\r\nG7\r\nH8\r\nextra line\r\n"
        directory.write(INFORMATION_FILE, old)
        app = self.launch(directory)
        self.assertIsNone(app.sync())
        self.set_inputs(app, TYPED)

        self.command(app, SAVE, SAVE_QUESTION)
        app.press(IDNO)
        self.assertIsNone(app.sync())
        self.assertEqual(old, directory.read(INFORMATION_FILE))

        self.command(app, SAVE, SAVE_QUESTION)
        self.answer_yes(app, OPERATION, SAVED, "information")
        # The file is replaced whole; only it gets the normalised form, the inputs keep what was typed.
        self.assertEqual(SAVED_FILE, directory.read(INFORMATION_FILE))
        self.assertEqual(TYPED, self.inputs(app))
        self.assertEqual(["trade_information.txt", "trade_query.txt"], list(directory.snapshot()))


class LoadTests(PanelTestCase):
    def test_partial_file_then_no_then_text_no_validator_accepts(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        self.set_inputs(app, TYPED)

        # Only A and G: those two inputs change, the five others keep their text.
        partial = b"A5000\r\nG0.3"
        app.dir.write(INFORMATION_FILE, partial)
        self.command(app, LOAD, LOAD_QUESTION)
        self.answer_yes(app, OPERATION, LOADED, "information")
        after_load = ["5000"] + TYPED[1:6] + ["0.3"]
        self.assertEqual(after_load, self.inputs(app))
        self.assertEqual(partial, app.dir.read(INFORMATION_FILE))

        # No reads nothing.
        unordered = b"G0.25\r\nF0.5\r\nAabc\r\n"
        app.dir.write(INFORMATION_FILE, unordered)
        self.command(app, LOAD, LOAD_QUESTION)
        app.press(IDNO)
        self.assertIsNone(app.sync())
        self.assertEqual(after_load, self.inputs(app))

        # Lines in any order are found; the text is judged only by the next SAVE, which writes nothing.
        self.command(app, LOAD, LOAD_QUESTION)
        self.answer_yes(app, OPERATION, LOADED, "information")
        self.assertEqual(["abc"] + TYPED[1:5] + ["0.5", "0.25"], self.inputs(app))
        self.command(app, SAVE, SAVE_QUESTION)
        self.answer_yes(app, OPERATION, RANGE_MESSAGES[0], "warning")
        self.assertEqual(unordered, app.dir.read(INFORMATION_FILE))


class NoWriteTests(PanelTestCase):
    """Commands that write nothing, sharing one program in a directory without trade information."""

    shared_app = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.files = cls.app.dir.snapshot()

    def assert_nothing_written(self):
        self.assertEqual(["trade_query.txt"], list(self.files))
        self.assertEqual(self.files, self.app.dir.snapshot())

    def test_the_first_empty_field_is_reported_and_nothing_is_written(self):
        app = self.app
        for field in range(7):
            # The field is empty and every later one invalid: only the first bad field is named.
            texts = TYPED[:field] + [""] + ["abc"] * (6 - field)
            with self.subTest(field=field):
                self.set_inputs(app, texts)
                self.command(app, SAVE, SAVE_QUESTION)
                self.answer_yes(app, OPERATION, RANGE_MESSAGES[field], "warning")
                self.assert_nothing_written()
                self.assertEqual(texts, self.inputs(app))

    def test_load_without_a_file_changes_no_input(self):
        app = self.app
        self.set_inputs(app, TYPED)
        self.command(app, LOAD, LOAD_QUESTION)
        self.answer_yes(app, OPERATION, NO_FILE, "warning")
        self.assertEqual(TYPED, self.inputs(app))
        self.assert_nothing_written()

    def test_each_clear_empties_only_its_input(self):
        app = self.app
        self.set_inputs(app, TYPED)
        for field, button in enumerate(CLEAR_BUTTONS):
            with self.subTest(field=field):
                app.click(button)
                self.assertIsNone(app.sync(), "CLEAR asks nothing")
                self.assertEqual(TYPED[:field] + [""] + TYPED[field + 1:], self.inputs(app))
                app.set_text(INPUTS[field], TYPED[field])
        self.assert_nothing_written()


if __name__ == "__main__":
    harness.main()
