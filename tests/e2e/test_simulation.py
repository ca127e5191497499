"""The two simulations of Tallowind.exe as a new user meets them: the CALCULATE
buttons of the ARITHMETIC SIMULATION and MONTE CARLO SIMULATION panels, their
output edits, the margin chart drawn after a Monte Carlo run, and the range
message of the first invalid input."""

import math

import harness
from harness import IDOK, SC_MINIMIZE, WM_SYSCOMMAND

INPUTS = list(range(10001, 10008))
ARITHMETIC_OUTPUTS = list(range(10009, 10013))
MONTE_CARLO_OUTPUTS = list(range(10013, 10018))
ARITHMETIC_CALCULATE = 20014
MONTE_CARLO_CALCULATE = 20015
SC_RESTORE = 0xF120

COUNT_FILE = "arithmetic_simulation.txt"
LOG_FILE = "trade_query.txt"

# Inputs in panel order: margin, leverage, rate, unit lot size, win rate, TAKE PROFIT, STOP LOSS.
ALWAYS_WIN = ["100000", "25", "100", "1000", "100", "0.5", "0.5"]
ALWAYS_LOSE = ["10000", "1", "1", "1000", "0", "0.5", "1"]

# Two logged losses (lists 1,2,3 and 1,2,3,4), the open trade on 1,2,3,4,5.
TWO_LOSSES_LOG = (b"\xa5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
                  b"\xa5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\nSTATUS:LOSE\r\n\r\n"
                  b"\xa5TRADE No.3\r\nDATE:Sat Dec 05 11:30:45 2026\r\nARRAY:1,2,3,4,5\r\n")

LEVERAGE_RANGE = "レバレッジは1～1000の範囲の整数で指定して下さい。"

# The chart picture's place in the client area, and the colours drawn on it.
CHART_X, CHART_Y, CHART_W, CHART_H = 575, 260, 360, 160
GREEN, YELLOW = (0, 255, 0), (255, 255, 0)
LINE_COLOURS = {GREEN: "green", YELLOW: "yellow"}


def fill(app, texts):
    for control_id, text in zip(INPUTS, texts):
        app.set_text(control_id, text)


def segment_pixels(start, end):
    """Along the segment's longer axis, excluding the end point (which a line does not draw):
    (major step point, the band of pixels within one of the ideal line)."""
    (x0, y0), (x1, y1) = start, end
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for k in range(steps):
        x = x0 + (x1 - x0) * k / steps
        y = y0 + (y1 - y0) * k / steps
        if abs(x1 - x0) >= abs(y1 - y0):
            band = {(round(x), v) for v in range(math.floor(y) - 1, math.ceil(y) + 2)}
        else:
            band = {(v, round(y)) for v in range(math.floor(x) - 1, math.ceil(x) + 2)}
        yield (round(x), round(y)), band


def chart_problems(rows, segments):
    """What differs between a capture of the chart picture and the polyline `segments`
    [(start, end, colour)]: every column (or row) of each segment has a pixel of its
    colour next to the ideal line, and no pixel of a line colour lies away from its segments."""
    def colour_at(x, y):
        return rows[y - CHART_Y][x - CHART_X]

    problems = []
    allowed = {colour: set() for colour in LINE_COLOURS}
    for start, end, colour in segments:
        allowed[colour].add(end)  # drawn or not
        for point, band in segment_pixels(start, end):
            allowed[colour] |= band
            if not any(colour_at(x, y) == colour for x, y in band):
                problems.append("no %s pixel near %s" % (LINE_COLOURS[colour], point))
    for y, row in enumerate(rows, CHART_Y):
        for x, pixel in enumerate(row, CHART_X):
            if pixel in allowed and (x, y) not in allowed[pixel]:
                problems.append("stray %s pixel at %s" % (LINE_COLOURS[pixel], (x, y)))
    return problems[:20]


class SimulationTestCase(harness.AppTestCase):
    def calculate(self, app, inputs, button=MONTE_CARLO_CALCULATE):
        """Fills the inputs, clicks CALCULATE and returns the panel's output texts; no box may show."""
        fill(app, inputs)
        app.click(button)
        self.assertIsNone(app.sync())
        outputs = MONTE_CARLO_OUTPUTS if button == MONTE_CARLO_CALCULATE else ARITHMETIC_OUTPUTS
        return [app.text(i) for i in outputs]

    def assert_chart(self, app, segments):
        """Polls the screen until the chart shows `segments` (pixels arrive a little late)."""
        problems = harness.poll(
            lambda: chart_problems(app.capture(CHART_X, CHART_Y, CHART_W, CHART_H), segments),
            lambda found: not found)
        self.assertEqual([], problems)

    def assert_pixels(self, app, expected):
        """Polls until the client points have the colours {(x, y): "rrggbb"}."""
        self.assertEqual(expected, app.wait_pixels(expected))


class ArithmeticSimulationTests(SimulationTestCase):
    def test_calculate_with_a_fresh_log_at_win_rates_100_and_0(self):
        directory = self.new_directory()
        directory.write(COUNT_FILE, b"1000")  # a quick run
        app = self.launch(directory)
        self.assertIsNone(app.sync())
        files = app.dir.snapshot()
        cases = [
            # Every sample wins its first trade (lot 4000, profit 2000) and completes the set.
            (ALWAYS_WIN, ["0", "2000", "2000", "0"]),
            # Every sample loses 4000 and 5000; the next lot 6000 is over the capacity 1000.
            (ALWAYS_LOSE, ["100", "0", "-9000", "-9000"]),
        ]
        for inputs, outputs in cases:
            with self.subTest(inputs=inputs):
                self.assertEqual(outputs, self.calculate(app, inputs, ARITHMETIC_CALCULATE))
        # The command touches neither the Monte Carlo panel, the inputs nor the files.
        self.assertEqual([""] * 5, [app.text(i) for i in MONTE_CARLO_OUTPUTS])
        self.assertEqual(ALWAYS_LOSE, [app.text(i) for i in INPUTS])
        self.assertEqual(files, app.dir.snapshot())

    def test_logged_trades_are_replayed_before_sampling(self):
        directory = self.new_directory()
        directory.write(COUNT_FILE, b"1000")
        directory.write(LOG_FILE, TWO_LOSSES_LOG)
        app = self.launch(directory)
        cases = [
            # The two logged losses (4000, 5000) exceed the margin 5000: ruined without sampling,
            # counting the margin entered.
            (["5000", "1", "1", "1000", "0", "0.5", "1"], ["100", "0", "-5000", "-5000"]),
            # Margin 100000 - 9000 carries the live lot 6000 (list 1,2,3,4,5); every sample wins
            # it (3000), which ends the set: completed with -9000 + 3000.
            (["100000", "1", "1", "1000", "100", "0.5", "1"], ["0", "-6000", "-6000", "0"]),
        ]
        for inputs, outputs in cases:
            with self.subTest(inputs=inputs):
                self.assertEqual(outputs, self.calculate(app, inputs, ARITHMETIC_CALCULATE))
        self.assertEqual(TWO_LOSSES_LOG, app.dir.read(LOG_FILE))


class MonteCarloSimulationTests(SimulationTestCase):
    def test_win_and_loss_paths_fill_the_edits_and_are_drawn_green(self):
        app = self.launch()
        self.assertIsNone(app.sync())
        files = app.dir.snapshot()

        # One simulated win: 100000 -> 102000, from the baseline to the top right corner.
        self.assertEqual(["2000", "102000", "100000", "WIN", "1"], self.calculate(app, ALWAYS_WIN))
        self.assert_chart(app, [((585, 340), (925, 270), GREEN)])
        self.assert_pixels(app, {(585, 340): "00ff00", (755, 305): "00ff00"})

        # Two simulated losses: 10000 -> 6000 -> 1000; the lowest point touches the bottom.
        # The new path replaces the old one (which crossed the grid line x = 755 at y = 305).
        self.assertEqual(["-9000", "10000", "1000", "LOSE", "2"], self.calculate(app, ALWAYS_LOSE))
        self.assert_chart(app, [((585, 340), (755, 371), GREEN), ((755, 371), (925, 410), GREEN)])
        self.assert_pixels(app, {(755, 305): "0000ff"})

        self.assertEqual([""] * 4, [app.text(i) for i in ARITHMETIC_OUTPUTS])
        self.assertEqual(files, app.dir.snapshot())

    def test_logged_losses_are_drawn_yellow_and_the_chart_survives_a_repaint(self):
        directory = self.new_directory()
        directory.write(LOG_FILE, TWO_LOSSES_LOG)
        app = self.launch(directory)
        # 5000 -> 1000 -> -4000, all from the log; nothing is simulated once the margin is gone.
        outputs = self.calculate(app, ["5000", "1", "1", "1000", "0", "0.5", "1"])
        self.assertEqual(["-9000", "5000", "-4000", "LOSE", "2"], outputs)
        path = [((585, 340), (755, 371), YELLOW), ((755, 371), (925, 410), YELLOW)]
        self.assert_chart(app, path)

        # Minimised and restored, the window paints the same chart again.
        app.call("post", WM_SYSCOMMAND, SC_MINIMIZE, 0)
        self.assertIsNone(app.sync())
        app.call("post", WM_SYSCOMMAND, SC_RESTORE, 0)
        self.assertIsNone(app.sync())
        self.assertFalse(app.call("info")["iconic"])
        self.assert_chart(app, path)
        self.assertEqual(TWO_LOSSES_LOG, app.dir.read(LOG_FILE))

    def test_a_live_lot_over_the_capacity_gives_a_flat_yellow_line(self):
        app = self.launch()
        # Lot 4000 against a capacity of 1000: no trade, a path of one point.
        outputs = self.calculate(app, ["1000", "1", "1", "1000", "50", "0.5", "1"])
        self.assertEqual(["0", "1000", "1000", "LOSE", "0"], outputs)
        self.assert_chart(app, [((585, 340), (925, 340), YELLOW)])
        # The baseline of the picture shows on either side of the line.
        ends = [(576, 340), (584, 340), (926, 340), (934, 340)]
        self.assert_pixels(app, {point: "ff00ff" for point in ends})


class RangeMessageTests(SimulationTestCase):
    def test_an_empty_leverage_is_reported_and_nothing_changes(self):
        directory = self.new_directory()
        directory.write(COUNT_FILE, b"1000")
        app = self.launch(directory)
        outputs = (self.calculate(app, ALWAYS_WIN, ARITHMETIC_CALCULATE)
                   + self.calculate(app, ALWAYS_WIN, MONTE_CARLO_CALCULATE))
        self.assertEqual(["0", "2000", "2000", "0", "2000", "102000", "100000", "WIN", "1"], outputs)

        # The leverage is the first bad field; the later ones are bad too but not reported.
        fill(app, ["100000", "", "x", "", "101", "0", "-1"])
        for button in (ARITHMETIC_CALCULATE, MONTE_CARLO_CALCULATE):
            with self.subTest(button=button):
                app.click(button)
                box = app.wait_box()
                self.assertEqual(("オペレーション確認", LEVERAGE_RANGE, "warning", "main", [IDOK]),
                                 (box["caption"], box["text"], box["icon"], box["owner"], box["buttons"]))
                app.press(IDOK)
                self.assertIsNone(app.sync())
                self.assertEqual(outputs, [app.text(i) for i in ARITHMETIC_OUTPUTS + MONTE_CARLO_OUTPUTS])
        # The chart still shows the winning path.
        self.assert_pixels(app, {(755, 305): "00ff00"})


if __name__ == "__main__":
    harness.main()
