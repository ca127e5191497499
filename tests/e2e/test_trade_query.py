"""The TRADE QUERY panel of Tallowind.exe, as a new user meets it: REFERENCE
for the next lot size and the profit so far, WIN and LOSE to register trades
in save_data/trade_query.txt and the log edit, the end of a set, DROP OUT, and
the field checks and No answers that leave the log alone."""

import re
import time

import harness
from harness import IDNO, IDOK, IDYES

UNIT_LOT_SIZE, TAKE_PROFIT, STOP_LOSS = 10004, 10006, 10007
LOG_EDIT = 10008
REFERENCE, WIN, LOSE, DROP_OUT = 20010, 20011, 20012, 20013
LOG_FILE = "trade_query.txt"

OPERATION = "オペレーション確認"
TRADE_STATUS = "トレード状況"
WIN_QUESTION = "勝ちトレードで登録しますか?"
LOSE_QUESTION = "負けトレードで登録しますか?"
DROP_OUT_QUESTION = "今回のセットをドロップアウトしますか?"
WON = "勝ちトレードで登録しました。"
LOST = "負けトレードで登録しました。"
DROPPED_OUT = "ドロップアウトが完了しました。"
DECIMALS_6 = "\n小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)"
UNIT_LOT_SIZE_RANGE = "単位ロットサイズは1～100000000の範囲の整数で指定して下さい。"
TAKE_PROFIT_RANGE = "TAKE PROFITは0.000001～1000.000000の範囲で指定して下さい。" + DECIMALS_6
STOP_LOSS_RANGE = "STOP LOSSは0.000001～1000.000000の範囲で指定して下さい。" + DECIMALS_6

DATE = rb"([A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4})"

# A log in the middle of a set: trade No.1 lost, No.2 (1, 2, 3, 4) open.
MIDDLE_OF_SET = (b"\xa5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
                 b"\xa5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n")


def log_pattern(records):
    """The log file's bytes for records (number, list text, status or None for the open trade)."""
    parts = []
    for number, array, status in records:
        parts.append(rb"\xa5TRADE No\.%d\r\nDATE:" % number + DATE)
        parts.append(rb"\r\nARRAY:" + re.escape(array.encode()))
        parts.append(rb"\r\nSTATUS:%s\r\n\r\n" % status.encode() if status else rb"\r\n")
    return re.compile(b"".join(parts))


FRESH = [(1, "1,2,3", None)]


def end_of_set(profit):
    return "1セット終了しました。\n今回の損益は%sです。" % profit


def reference_text(lot_size, profit):
    return "NEXT LOT SIZE:%s\nPROFIT:%s" % (lot_size, profit)


class QueryTestCase(harness.AppTestCase):
    def launch_with(self, log=None, unit="1000", take_profit="0.5", stop_loss="0.3"):
        """Starts the program (with a log file when given) and fills the three profit fields."""
        directory = self.new_directory()
        if log is not None:
            directory.write(LOG_FILE, log)
        self.given_log = log or b""
        self.started = time.time()
        app = self.launch(directory)
        self.assertIsNone(app.sync())
        self.set_fields(app, unit, take_profit, stop_loss)
        return app

    @staticmethod
    def set_fields(app, unit, take_profit, stop_loss):
        app.set_text(UNIT_LOT_SIZE, unit)
        app.set_text(TAKE_PROFIT, take_profit)
        app.set_text(STOP_LOSS, stop_loss)

    def expect_box(self, box, caption, text, icon, buttons):
        self.assertIsNotNone(box)
        self.assertEqual((caption, text, icon, buttons, "main"),
                         (box["caption"], box["text"], box["icon"], box["buttons"], box["owner"]))

    def ok_box(self, app, caption, text, icon):
        """Waits for a box with only OK, checks it and closes it; no other box follows."""
        self.expect_box(app.wait_box(), caption, text, icon, [IDOK])
        app.press(IDOK)
        self.assertIsNone(app.sync())

    def confirm(self, app, button, question, caption, text, icon="information"):
        """Clicks a button, checks its question, answers Yes and checks the result box."""
        app.click(button)
        self.expect_box(app.wait_box(), OPERATION, question, "question", [IDYES, IDNO])
        app.press(IDYES)
        self.ok_box(app, caption, text, icon)

    def decline(self, app, button, question):
        """Clicks a button and answers No to its question; nothing else is shown."""
        app.click(button)
        self.expect_box(app.wait_box(), OPERATION, question, "question", [IDYES, IDNO])
        app.press(IDNO)
        self.assertIsNone(app.sync())

    def reference(self, app, text):
        app.click(REFERENCE)
        self.ok_box(app, TRADE_STATUS, text, "information")

    def check_log(self, app, records, after=None):
        """Checks the log file against the records (dates written from the start of the test on) and
        the log edit against the file; with `after` the file must extend those bytes. Returns the bytes."""
        data = app.dir.read(LOG_FILE)
        match = log_pattern(records).fullmatch(data or b"")
        self.assertIsNotNone(match, data)
        for date in match.groups():
            if b"DATE:" + date in self.given_log:
                continue  # a date of the log the test started with
            stamp = time.mktime(time.strptime(date.decode(), "%a %b %d %H:%M:%S %Y"))
            self.assertTrue(int(self.started) - 1 <= stamp <= time.time() + 1, date)
        if after is not None:
            self.assertTrue(data.startswith(after), "earlier records changed:\n%r\n%r" % (after, data))
        self.assertEqual(data.decode("cp932"), app.text(LOG_EDIT))
        return data


class SetTests(QueryTestCase):
    def test_three_losses_and_two_wins_make_one_set(self):
        app = self.launch_with()
        data = self.check_log(app, FRESH)
        self.reference(app, reference_text(4000, 0))
        self.assertEqual(data, self.check_log(app, FRESH))

        records = [(1, "1,2,3", "LOSE")]
        for number, array in [(2, "1,2,3,4"), (3, "1,2,3,4,5"), (4, "1,2,3,4,5,6")]:
            self.confirm(app, LOSE, LOSE_QUESTION, TRADE_STATUS, LOST)
            data = self.check_log(app, records + [(number, array, None)], after=data)
            records.append((number, array, "LOSE"))
        records[-1] = (4, "1,2,3,4,5,6", "WIN")

        # A win from six numbers leaves the middle two.
        self.confirm(app, WIN, WIN_QUESTION, TRADE_STATUS, WON)
        data = self.check_log(app, records + [(5, "3,4", None)], after=data)

        # Stake 7; -(4 + 5 + 6) x 1000 x 0.3 + 7 x 1000 x 0.5 = -1000.
        self.reference(app, reference_text(7000, -1000))
        self.check_log(app, records + [(5, "3,4", None)])

        # The last win ends the set: -1000 + 7 x 1000 x 0.5; a fresh log opens.
        self.confirm(app, WIN, WIN_QUESTION, TRADE_STATUS, end_of_set(2500))
        self.check_log(app, FRESH)
        self.reference(app, reference_text(4000, 0))

    def test_a_win_on_a_fresh_log_or_from_five_numbers_ends_the_set(self):
        # Two losses, then trade No.3 with 1, 2, 3, 4, 5 open.
        log = MIDDLE_OF_SET.replace(b"ARRAY:1,2,3,4\r\n", b"ARRAY:1,2,3,4\r\nSTATUS:LOSE\r\n\r\n"
                                    b"\xa5TRADE No.3\r\nDATE:Sat Dec 05 11:00:00 2026\r\nARRAY:1,2,3,4,5\r\n")
        app = self.launch_with(log)
        self.check_log(app, [(1, "1,2,3", "LOSE"), (2, "1,2,3,4", "LOSE"), (3, "1,2,3,4,5", None)])
        self.reference(app, reference_text(6000, -2700))
        # -(4 + 5) x 1000 x 0.3 + 6 x 1000 x 0.5 = 300.
        self.confirm(app, WIN, WIN_QUESTION, TRADE_STATUS, end_of_set(300))
        self.check_log(app, FRESH)

        self.confirm(app, WIN, WIN_QUESTION, TRADE_STATUS, end_of_set(2000))
        self.check_log(app, FRESH)

        # Six decimals survive, trailing zeros do not: 4 x 1 x 0.000123.
        self.set_fields(app, "1", "0.000123", "0.3")
        self.confirm(app, WIN, WIN_QUESTION, TRADE_STATUS, end_of_set("0.000492"))
        self.check_log(app, FRESH)

    def test_drop_out_in_the_middle_of_a_set_starts_a_fresh_log(self):
        # LOSE and DROP OUT do not read the fields: they are left empty here.
        app = self.launch_with(MIDDLE_OF_SET, "", "", "")
        data = self.check_log(app, [(1, "1,2,3", "LOSE"), (2, "1,2,3,4", None)])
        self.assertEqual(MIDDLE_OF_SET, data)
        self.confirm(app, LOSE, LOSE_QUESTION, TRADE_STATUS, LOST)
        data = self.check_log(app, [(1, "1,2,3", "LOSE"), (2, "1,2,3,4", "LOSE"), (3, "1,2,3,4,5", None)],
                              after=data)

        self.decline(app, DROP_OUT, DROP_OUT_QUESTION)
        self.assertEqual(data, self.check_log(app, [(1, "1,2,3", "LOSE"), (2, "1,2,3,4", "LOSE"),
                                                    (3, "1,2,3,4,5", None)]))

        # No profit is reported, only the completion.
        self.confirm(app, DROP_OUT, DROP_OUT_QUESTION, OPERATION, DROPPED_OUT)
        self.check_log(app, FRESH)
        self.assertEqual(["trade_query.txt"], list(app.dir.snapshot()))


class UntouchedLogTests(QueryTestCase):
    """Commands that leave the log alone, sharing one program with the fresh log of its first start."""

    shared_app = True

    @classmethod
    def setUpClass(cls):
        cls.shared_start = time.time()
        super().setUpClass()

    def setUp(self):
        super().setUp()
        self.given_log = b""
        self.started = self.shared_start

    def test_bad_fields_show_their_range_message_before_anything_else(self):
        app = self.app
        log = self.check_log(app, FRESH)
        # Unit lot size, TAKE PROFIT, STOP LOSS in that order: the first bad one is named, no question asked.
        cases = [
            (WIN, ("1000", "", "0.3"), TAKE_PROFIT_RANGE),
            (WIN, ("1000", "0.0000001", ""), TAKE_PROFIT_RANGE),
            (WIN, ("0", "abc", "abc"), UNIT_LOT_SIZE_RANGE),
            (WIN, ("1000", "0.5", "0"), STOP_LOSS_RANGE),
            (REFERENCE, ("1000", "1000.000001", "0.3"), TAKE_PROFIT_RANGE),
            (REFERENCE, ("1000.0", "0.5", "0.3"), UNIT_LOT_SIZE_RANGE),
        ]
        for button, fields, message in cases:
            with self.subTest(button=button, fields=fields):
                self.set_fields(app, *fields)
                app.click(button)
                self.ok_box(app, OPERATION, message, "warning")
                self.assertEqual(log, self.check_log(app, FRESH))

    def test_no_to_each_question_leaves_the_log_as_it_was(self):
        app = self.app
        log = self.check_log(app, FRESH)
        self.set_fields(app, "1000", "0.5", "0.3")
        # A WIN on the fresh log would end the set, a LOSE would append, a DROP OUT rewrite the date.
        for button, question in ((WIN, WIN_QUESTION), (LOSE, LOSE_QUESTION), (DROP_OUT, DROP_OUT_QUESTION)):
            with self.subTest(button=button):
                self.decline(app, button, question)
                self.assertEqual(log, self.check_log(app, FRESH))
        self.reference(app, reference_text(4000, 0))
        self.assertEqual(["trade_query.txt"], list(app.dir.snapshot()))


if __name__ == "__main__":
    harness.main()
