"""Start-up and shutdown of Tallowind.exe, as a new user meets them: the first
start in an empty directory, a start with saved trade information, the main
window and its controls, the chart area before any calculation, and the ways
to end the program."""

import os
import re
import shutil
import subprocess
import time

import harness
from harness import SC_CLOSE, SC_MINIMIZE, WM_SYSCOMMAND, WM_SYSKEYDOWN

INPUTS = list(range(10001, 10008))
LOG_EDIT = 10008
OUTPUTS = list(range(10009, 10018))

WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x10000000, 0x00C00000, 0x00080000
WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00040000, 0x00020000, 0x00010000
WS_CHILD, WS_BORDER, WS_TABSTOP = 0x40000000, 0x00800000, 0x00010000
WS_VSCROLL, WS_HSCROLL = 0x00200000, 0x00100000
WS_EX_WINDOWEDGE = 0x00000100
ES_RIGHT, ES_MULTILINE, ES_AUTOVSCROLL, ES_AUTOHSCROLL, ES_READONLY = 0x2, 0x4, 0x40, 0x80, 0x800
BS_TYPEMASK, BS_PUSHBUTTON, BS_GROUPBOX = 0xF, 0x0, 0x7

GROUP, INPUT, LOG, OUTPUT, PUSH = "group", "input", "log", "output", "push"

# The main window's 36 controls in creation order: class, text, kind, x, y, w, h, id.
CONTROLS = (
    [("Button", "TRADE INFORMATION", GROUP, 10, 10, 465, 315, 0),
     ("Button", "TRADE QUERY", GROUP, 10, 335, 465, 315, 0),
     ("Button", "ARITHMETIC SIMULATION", GROUP, 485, 10, 465, 210, 0),
     ("Button", "MONTE CARLO SIMULATION", GROUP, 485, 230, 465, 420, 0)]
    + [("Edit", "", INPUT, 150, 40 + 35 * k, 195, 25, 10001 + k) for k in range(7)]
    + [("Edit", None, LOG, 100, 365, 360, 235, 10008)]
    + [("Edit", "", OUTPUT, 610, 40 + 35 * k, 195, 25, 10009 + k) for k in range(4)]
    + [("Edit", "", OUTPUT, 575, 435 + 35 * k, 195, 25, 10013 + k) for k in range(5)]
    + [("Button", "CLEAR", PUSH, 360, 40 + 35 * k, 100, 25, 20001 + k) for k in range(7)]
    + [("Button", "SAVE", PUSH, 245, 285, 100, 25, 20008),
       ("Button", "LOAD", PUSH, 360, 285, 100, 25, 20009),
       ("Button", "REFERENCE", PUSH, 24, 610, 100, 25, 20010),
       ("Button", "WIN", PUSH, 136, 610, 100, 25, 20011),
       ("Button", "LOSE", PUSH, 248, 610, 100, 25, 20012),
       ("Button", "DROP OUT", PUSH, 360, 610, 100, 25, 20013),
       ("Button", "CALCULATE", PUSH, 835, 180, 100, 25, 20014),
       ("Button", "CALCULATE", PUSH, 835, 610, 100, 25, 20015)])

# Per kind: the button type (or None for edits), style bits it must have, bits it must not have.
KIND_STYLES = {
    GROUP: (BS_GROUPBOX, 0, 0),
    PUSH: (BS_PUSHBUTTON, 0, 0),
    INPUT: (None, ES_RIGHT, ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_VSCROLL),
    LOG: (None, ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
          ES_RIGHT | ES_AUTOHSCROLL | WS_HSCROLL),
    OUTPUT: (None, ES_READONLY, ES_RIGHT | ES_MULTILINE | WS_VSCROLL),
}

FRESH_LOG = re.compile(rb"\xa5TRADE No\.1\r\nDATE:([A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] "
                       rb"[0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4})\r\nARRAY:1,2,3\r\n")

SAVED_INFORMATION = b"A100000\r\nB25\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25"
SAVED_LOG = (b"\xa5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
             b"\xa5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n")


def wide_log(data):
    """The log edit's text for log file bytes: CP932 text, CR LF line ends."""
    return data.decode("cp932")


class FirstStartTests(harness.AppTestCase):
    def test_first_start_creates_save_data_and_a_fresh_log_and_shows_no_box(self):
        before = time.time()
        app = self.launch()
        after = time.time()
        self.assertIsNone(app.start["box"])
        self.assertIsNone(app.sync())

        # Only the trade log is written, as the fresh log of trade No.1 dated now.
        self.assertEqual(["trade_query.txt"], list(app.dir.snapshot()))
        data = app.dir.read("trade_query.txt")
        match = FRESH_LOG.fullmatch(data)
        self.assertIsNotNone(match, data)
        date = match.group(1).decode()
        stamp = time.mktime(time.strptime(date, "%a %b %d %H:%M:%S %Y"))
        self.assertTrue(int(before) - 1 <= stamp <= after + 1, (date, before, after))

        self.assertEqual("･TRADE No.1\r\nDATE:%s\r\nARRAY:1,2,3\r\n" % date, app.text(LOG_EDIT))
        self.assertEqual([""] * 16, [app.text(i) for i in INPUTS + OUTPUTS])

    def test_start_with_saved_trade_information_and_log_fills_the_panels(self):
        directory = self.new_directory()
        margin = "１００万"  # any text reaches the input; CP932 on disk
        margin_bytes = margin.encode("cp932")
        self.assertFalse(re.search(rb"[A-G]", margin_bytes), "a trail byte would look like a tag")
        information = b"A" + margin_bytes + SAVED_INFORMATION[SAVED_INFORMATION.index(b"\r\n"):]
        directory.write("trade_information.txt", information)
        directory.write("trade_query.txt", SAVED_LOG)
        app = self.launch(directory)
        self.assertIsNone(app.start["box"])
        self.assertIsNone(app.sync())
        self.assertEqual([margin, "25", "150.5", "10000", "50", "0.5", "0.25"], [app.text(i) for i in INPUTS])
        self.assertEqual(wide_log(SAVED_LOG), app.text(LOG_EDIT))
        self.assertEqual([""] * 9, [app.text(i) for i in OUTPUTS])
        # Loading writes nothing.
        self.assertEqual({"trade_information.txt": information, "trade_query.txt": SAVED_LOG},
                         app.dir.snapshot())

    def test_partial_trade_information_fills_only_its_tagged_inputs(self):
        directory = self.new_directory()
        # Lines out of order, a lone LF, an empty value (C), and no A, D, F.
        directory.write("trade_information.txt", b"G0.3\nE55.5\r\nC\r\nB100")
        app = self.launch(directory)
        self.assertIsNone(app.start["box"])
        self.assertIsNone(app.sync())
        self.assertEqual(["", "100", "", "", "55.5", "", "0.3"], [app.text(i) for i in INPUTS])
        self.assertIsNotNone(FRESH_LOG.fullmatch(app.dir.read("trade_query.txt")))


class WindowTests(harness.AppTestCase):
    shared_app = True  # these tests only look

    def test_window_class_caption_style_and_controls(self):
        info = self.app.call("info")
        window = info["window"]
        self.assertEqual(("MAINWINDOW_MENU", "Tallowind", 960, 700, True),
                         (window["class"], window["text"], window["w"], window["h"], info["hasMenu"]))
        style = window["style"]
        for bit in (WS_VISIBLE, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX):
            self.assertEqual(bit, style & bit, "style %#x lacks %#x" % (style, bit))
        for bit in (WS_THICKFRAME, WS_MAXIMIZEBOX, WS_CHILD):
            self.assertEqual(0, style & bit, "style %#x has %#x" % (style, bit))
        # The system adds the window edge to every captioned window.
        self.assertEqual(0, window["exStyle"] & ~WS_EX_WINDOWEDGE)

        children = info["children"]
        self.assertEqual(len(CONTROLS), len(children))
        for expected, child in zip(CONTROLS, children):
            cls, text, kind, x, y, w, h, control_id = expected
            with self.subTest(id=control_id, text=text):
                got = (child["class"], child["id"], child["x"], child["y"], child["w"], child["h"])
                self.assertEqual((cls, control_id, x, y, w, h), got)
                if text is not None:
                    self.assertEqual(text, child["text"])
                button_type, must, must_not = KIND_STYLES[kind]
                style = child["style"]
                if button_type is not None:
                    self.assertEqual(button_type, style & BS_TYPEMASK, "style %#x" % style)
                self.assertEqual(WS_CHILD | WS_VISIBLE | must, style & (WS_CHILD | WS_VISIBLE | must))
                self.assertEqual(0, style & (must_not | WS_BORDER | WS_TABSTOP), "style %#x" % style)
                self.assertEqual(0, child["exStyle"], "no client edge or other extended style")

    def test_chart_grid_and_label_pixels_before_any_calculation(self):
        app = self.app
        expected = {
            (585, 270): "0000ff",  # top-left corner of the plot frame
            (925, 410): "0000ff",  # bottom-right corner
            (755, 300): "0000ff",  # inner grid crossing
            (600, 340): "ff00ff",  # baseline
            (576, 340): "ff00ff",  # baseline's first pixel
            (934, 340): "ff00ff",  # and its last
            (575, 340): "000000",  # the picture's left column is black
            (580, 265): "000000",  # black margin outside the frame
            (590, 275): "000000",  # between grid lines
        }
        colours = app.wait_pixels(expected)
        self.assertEqual(expected, colours)

        # Nothing but the picture's three colours: no chart line yet.
        picture_colours = {(0, 0, 0), (0, 0, 255), (255, 0, 255)}
        colours_seen = harness.poll(
            lambda: {pixel for row in app.capture(575, 260, 360, 160) for pixel in row},
            lambda seen: seen == picture_colours)
        self.assertEqual(picture_colours, colours_seen)

        # The first label is painted in black at (20, 40), in front of the margin input.
        def dark_pixels(x, y):
            return sum(1 for row in app.capture(x, y, 125, 16) for (r, g, b) in row if r + g + b < 150)
        dark = harness.poll(lambda: dark_pixels(20, 40), lambda count: count > 30)
        self.assertGreater(dark, 30, "no text drawn at the first label")
        self.assertEqual(0, dark_pixels(20, 300), "no label there")


class MinimizeTests(harness.AppTestCase):
    def test_window_can_be_minimized(self):
        app = self.launch()
        app.call("post", WM_SYSCOMMAND, SC_MINIMIZE, 0)
        self.assertIsNone(app.sync())
        self.assertTrue(app.call("info")["iconic"])


class ShutdownTests(harness.AppTestCase):
    """Each way to end the program ends it at once with code 0 and writes nothing."""

    def end_and_check(self, *command):
        directory = self.new_directory()
        directory.write("trade_information.txt", SAVED_INFORMATION)
        directory.write("trade_query.txt", SAVED_LOG)
        before = directory.snapshot()
        app = self.launch(directory)
        self.assertIsNone(app.sync())
        app.call(*command)
        ended = app.wait_exit(10000)
        self.assertEqual((True, 0), (ended["exited"], ended["code"]))
        self.assertEqual(before, directory.snapshot())

    def test_close_box(self):
        self.end_and_check("syscommand", SC_CLOSE)

    def test_close_message(self):
        self.end_and_check("close")

    def test_exit_menu_item(self):
        self.end_and_check("menu", 1100)

    def test_exit_menu_item_with_a_notification_code(self):
        self.end_and_check("command", 1100, 1)

    def test_alt_f4(self):
        self.end_and_check("post", WM_SYSKEYDOWN, 0x73, 0x20000001 | (0x3E << 16))

    def test_first_start_then_close_keeps_the_fresh_log(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        log = app.dir.snapshot()
        app.call("close")
        self.assertEqual((True, 0), tuple(app.wait_exit()[k] for k in ("exited", "code")))
        self.assertEqual(log, app.dir.snapshot())


class LongPathTests(harness.AppTestCase):
    """A program file whose name does not fit 260 bytes ends at once with code 1."""

    def test_program_in_too_deep_a_directory_ends_with_code_1(self):
        directory = self.new_directory()
        # Just past the limit: the name of the program file takes 266 characters.
        missing = 266 - len(harness.windows_path(os.path.join(directory.path, "Tallowind.exe")))
        parts = []
        while missing > 101:
            parts.append("d" * 99)
            missing -= 100
        parts.append("e" * (missing - 1))
        deep = os.path.join(directory.path, *parts)
        os.makedirs(deep)
        exe = os.path.join(deep, "Tallowind.exe")
        shutil.copy(directory.exe, exe)
        self.assertEqual(266, len(harness.windows_path(exe)))
        # Windows' own process start refuses so long a name; Wine's loader,
        # started from within the directory, does not.
        session = harness.session()
        env = dict(os.environ, DISPLAY=session.display, WINEPREFIX=harness.options.wine_prefix)
        ended = subprocess.run([harness.options.wine_run, "Tallowind.exe"], cwd=deep, env=env, timeout=90,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertEqual(1, ended.returncode)
        self.assertFalse(os.path.exists(os.path.join(deep, "save_data")))


if __name__ == "__main__":
    harness.main()
