"""The Python side of the end-to-end tests: a private X server (Xvfb), the
UI-automation driver (driver.exe under Wine) and fresh directories with a copy
of the program under test.

A test file does

    import harness
    class SomeTests(harness.AppTestCase):
        def test_something(self):
            app = self.launch()                 # fresh directory, program started
            self.assertIsNone(app.start["box"])
            app.call("settext", 10001, "100")
            ...
    if __name__ == "__main__":
        harness.main()

and is run as

    python3 test_x.py --driver DRIVER.exe --app Tallowind.exe --wine-run wine-run.sh
                      [--wine-prefix DIR] [unittest arguments, e.g. -k name]

One Xvfb and one driver serve all tests of a run; each test gets its own
directory and program instance; everything started is ended at the end.
Standard library only.
"""

import argparse
import ctypes
import json
import os
import select
import selectors
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

# Ids shared by the tests.
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7
WM_CLOSE = 0x0010
WM_SYSCOMMAND = 0x0112
WM_SYSKEYDOWN = 0x0104
SC_CLOSE = 0xF060
SC_MINIMIZE = 0xF020
SC_MAXIMIZE = 0xF030
SC_SIZE = 0xF000

# Names this run's directories, and so the command lines of the programs started in them.
RUN_TAG = "tallowind-e2e-%d-%d" % (os.getpid(), int(time.time() * 1000))
options = None  # the parsed command-line options
_trace = bool(os.environ.get("TALLOWIND_E2E_TRACE"))  # print every command and its time
_session = None


class DriverError(Exception):
    pass


def poll(read, done, timeout=5.0, interval=0.02):
    """Calls read() until done(value) holds or the time is up; returns the last value.

    For what reaches the screen a little after the program drew it."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if done(value) or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def windows_path(unix_path):
    """The path under Wine's drive Z:, which maps the Unix root."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def _end_with_parent():
    """In a child before exec: have the kernel end it when this process dies (Linux PR_SET_PDEATHSIG)."""
    try:
        ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM, 0, 0, 0)
    except (OSError, AttributeError):
        pass


class Session:
    """One Xvfb and one driver process, answering JSON lines."""

    def __init__(self, driver, wine_run, wine_prefix):
        self.xvfb = None
        self.driver = None
        self.broken = False
        try:
            self.display = self._start_xvfb()
            env = dict(os.environ, DISPLAY=self.display)
            if wine_prefix:
                env["WINEPREFIX"] = wine_prefix
            self._keep_wineserver(env)
            self.driver = subprocess.Popen(
                [wine_run, driver], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                stderr=subprocess.DEVNULL, env=env, start_new_session=True)
            self._buffer = b""
            self._selector = selectors.DefaultSelector()
            self._selector.register(self.driver.stdout, selectors.EVENT_READ)
            # The first Wine process of a prefix boots it (several seconds).
            started = time.monotonic()
            self.call("ping", timeout=120)
            print("[driver ready on %s in %.1f s]" % (self.display, time.monotonic() - started),
                  file=sys.stderr, flush=True)
        except BaseException:
            self.close()
            raise

    @staticmethod
    def _keep_wineserver(env):
        """Starts the prefix's Wine server so that it lingers a minute after
        its last program: booting the prefix costs ~10 s, and the next test
        file then finds it running. A no-op when a server already runs; the
        server ends by itself."""
        prefix = env.get("WINEPREFIX") or ""
        # A prefix still to be made is left to wine-run.sh (which waits for its server to end).
        if not os.path.exists(os.path.join(prefix, ".tallowind-ready")) or not shutil.which("wineserver"):
            return
        try:
            subprocess.run(["wineserver", "-p60"], env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        except (OSError, subprocess.SubprocessError):
            pass

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                start_new_session=True, preexec_fn=_end_with_parent)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or self.xvfb.poll() is not None:
                    raise RuntimeError("Xvfb did not start")
                if not select.select([read_end], [], [], min(left, 0.5))[0]:
                    continue
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise RuntimeError("Xvfb did not tell its display")
                number += chunk
            return ":" + number.decode().strip()
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)

    def _read_line(self, timeout):
        deadline = time.monotonic() + timeout
        while b"\n" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                # Its answer may still come: it would be taken for the next one's.
                self.broken = True
                raise DriverError("the driver did not answer within %.0f s" % timeout)
            if not self._selector.select(left):
                continue
            chunk = os.read(self.driver.stdout.fileno(), 65536)
            if not chunk:
                self.broken = True
                raise DriverError("the driver ended")
            self._buffer += chunk
        line, self._buffer = self._buffer.split(b"\n", 1)
        return line.decode("utf-8")

    def try_call(self, *command, timeout=120):
        """Sends one command; returns the driver's answer as a dict. `timeout`
        (seconds) only guards against a driver that hangs: the driver's own
        waits have their limits in the commands."""
        if self.broken:
            raise DriverError("the driver is out of step after an earlier failure")
        started = time.monotonic()
        self.driver.stdin.write((json.dumps(command) + "\n").encode("utf-8"))
        self.driver.stdin.flush()
        answer = json.loads(self._read_line(timeout))
        if _trace:
            print("[%.3f s] %s -> %s" % (time.monotonic() - started, json.dumps(command)[:80],
                                         json.dumps(answer, ensure_ascii=False)[:160]), file=sys.stderr)
        return answer

    def call(self, *command, timeout=120):
        """Sends one command; raises DriverError unless it succeeded."""
        answer = self.try_call(*command, timeout=timeout)
        if not answer.get("ok"):
            raise DriverError("%s: %s" % (command[0], answer.get("error")))
        return answer

    @staticmethod
    def _program_processes():
        """Unix pids of the programs started from this run's directories."""
        pids = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    if RUN_TAG.encode() in f.read():
                        pids.append(int(entry))
            except OSError:
                pass
        return pids

    def close(self):
        if self.driver is not None:
            try:
                self.driver.stdin.write(b'["quit"]\n')
                self.driver.stdin.flush()
                self.driver.stdin.close()
            except OSError:
                pass
            try:
                self.driver.wait(timeout=10)
            except subprocess.TimeoutExpired:
                pass
            # A program the driver could not end is ended by its id.
            for pid in self._program_processes():
                try:
                    os.kill(pid, signal.SIGKILL)
                except OSError:
                    pass
            if self.driver.poll() is None:
                self.driver.kill()
                self.driver.wait()
            self.driver = None
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None


def session():
    """The run's session; a new one if the last one's driver failed."""
    global _session
    if _session is not None and _session.broken:
        _session.close()
        _session = None
    if _session is None:
        _session = Session(options.driver, options.wine_run, options.wine_prefix)
    return _session


class AppDirectory:
    """A fresh temporary directory holding a copy of the program."""

    def __init__(self, exe):
        self.path = tempfile.mkdtemp(prefix=RUN_TAG + "-")
        self.exe = os.path.join(self.path, os.path.basename(exe))
        shutil.copy(exe, self.exe)
        self.save_data = os.path.join(self.path, "save_data")

    def write(self, name, data):
        """Writes bytes to save_data/name (creating save_data)."""
        os.makedirs(self.save_data, exist_ok=True)
        with open(os.path.join(self.save_data, name), "wb") as f:
            f.write(data)

    def read(self, name):
        """The bytes of save_data/name, or None if there is no such file."""
        try:
            with open(os.path.join(self.save_data, name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def snapshot(self):
        """{name: bytes} of everything in save_data."""
        if not os.path.isdir(self.save_data):
            return {}
        return {name: self.read(name) for name in sorted(os.listdir(self.save_data))}

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class App:
    """One started program: its directory, the start answer and the driver."""

    def __init__(self, directory, start):
        self.dir = directory
        self.start = start

    def call(self, *command, **kwargs):
        return session().call(*command, **kwargs)

    def try_call(self, *command, **kwargs):
        return session().try_call(*command, **kwargs)

    def text(self, control_id):
        return self.call("gettext", control_id)["text"]

    def set_text(self, control_id, text):
        self.call("settext", control_id, text)

    def sync(self):
        """Waits until the program handled everything sent so far; returns the box shown, or None."""
        return self.call("sync")["box"]

    def click(self, control_id):
        self.call("click", control_id)

    def wait_box(self, timeout_ms=5000):
        """Waits for a box or dialog of the program; returns its description (see the driver)."""
        return self.call("waitbox", timeout_ms, timeout=timeout_ms / 1000 + 60)["box"]

    def press(self, button_id):
        self.call("boxpress", button_id)

    def pixels(self, points):
        return self.call("pixels", [list(p) for p in points])["pixels"]

    def wait_pixels(self, expected, timeout=5.0):
        """Polls until each client point (x, y) has its colour "rrggbb"; returns the last colours read."""
        points = list(expected)
        return poll(lambda: dict(zip(points, self.pixels(points))),
                    lambda colours: all(colours[p] == expected[p] for p in points), timeout)

    def capture(self, x, y, w, h):
        """Client rectangle as rows of (r, g, b) tuples."""
        rows = self.call("capture", x, y, w, h)["rows"]
        return [[tuple(int(row[i + k:i + k + 2], 16) for k in (0, 2, 4)) for i in range(0, len(row), 6)]
                for row in rows]

    def wait_exit(self, timeout_ms=10000):
        """Waits for the program to end: {"exited": bool, "code": int or None}."""
        return self.call("waitexit", timeout_ms, timeout=timeout_ms / 1000 + 60)


def _kill_program():
    s = _session
    if s is not None and s.driver is not None:
        try:
            s.call("kill", timeout=30)
        except (DriverError, OSError, ValueError):
            pass


class AppTestCase(unittest.TestCase):
    """A test case with helpers to start the program in a fresh directory.

    Each test starts its own program (launch) and it is ended after the test.
    A class whose tests only look may set shared_app = True instead: one
    program, started in a fresh directory before its first test, serves them
    all as self.app, and is ended after the last.
    """

    maxDiff = None
    shared_app = False
    app = None

    @classmethod
    def setUpClass(cls):
        if cls.shared_app:
            directory = AppDirectory(options.app)
            cls._shared_directory = directory
            start = session().call("start", windows_path(directory.exe), 60000, timeout=90)
            if not start["visible"]:
                raise DriverError("main window not shown: %r" % start)
            cls.app = App(directory, start)

    @classmethod
    def tearDownClass(cls):
        if cls.shared_app:
            _kill_program()
            cls._shared_directory.remove()

    def setUp(self):
        self._directories = []

    def tearDown(self):
        if not self.shared_app:
            _kill_program()
        for d in self._directories:
            d.remove()

    def new_directory(self):
        d = AppDirectory(options.app)
        self._directories.append(d)
        return d

    def launch(self, directory=None, expect_window=True):
        """Starts the program in `directory` (default: a fresh one) and waits for its window."""
        d = directory or self.new_directory()
        start = session().call("start", windows_path(d.exe), 60000, timeout=90)
        if expect_window:
            self.assertTrue(start["visible"], "main window not shown: %r" % start)
        return App(d, start)


_result = None  # the running tests' result


class _Result(unittest.TextTestResult):
    """Also keeps the ids of the tests that passed."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.passed = []
        global _result
        _result = self

    def addSuccess(self, test):
        super().addSuccess(test)
        self.passed.append(test.id())


def _counts(result):
    """(passed, failed) tests; a failing subtest fails its test, a failed class set-up counts once."""
    failed = {getattr(test, "test_case", test).id() for test, _ in result.failures + result.errors}
    failed |= {test.id() for test in result.unexpectedSuccesses}
    return len(result.passed), len(failed)


def _remove_run_directories():
    for name in os.listdir(tempfile.gettempdir()):
        if name.startswith(RUN_TAG + "-"):
            shutil.rmtree(os.path.join(tempfile.gettempdir(), name), ignore_errors=True)


def _abort(signum, frame):
    """Time limit or termination: end everything started, tell the counts, exit."""
    print("\naborted (%s): ending the driver, the program and Xvfb" % signal.Signals(signum).name,
          file=sys.stderr, flush=True)
    if _session is not None:
        _session.close()
    _remove_run_directories()
    passed, failed = _counts(_result) if _result is not None else (0, 0)
    print("%d passed, %d failed (aborted)" % (passed, failed + 1), flush=True)
    os._exit(1)


def main():
    global options
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--driver", required=True, help="driver.exe")
    parser.add_argument("--app", required=True, help="the program under test (copied for each test)")
    parser.add_argument("--wine-run", required=True, help="scripts/wine-run.sh")
    parser.add_argument("--wine-prefix", default=os.environ.get("WINEPREFIX"))
    parser.add_argument("--time-limit", type=int, default=0,
                        help="seconds after which the run ends everything it started and fails")
    options, rest = parser.parse_known_args()
    # Clean up before a harder kill (CTest's TIMEOUT) would leave the program running.
    signal.signal(signal.SIGTERM, _abort)
    signal.signal(signal.SIGALRM, _abort)
    if options.time_limit > 0:
        signal.alarm(options.time_limit)
    program = None
    started = time.monotonic()
    try:
        program = unittest.main(argv=[sys.argv[0]] + rest, exit=False,
                                testRunner=unittest.TextTestRunner(verbosity=2, stream=sys.stdout,
                                                                   resultclass=_Result))
    finally:
        signal.alarm(0)
        if _session is not None:
            _session.close()
        _remove_run_directories()
    passed, failed = _counts(program.result)
    print("%d passed, %d failed (%.1f s)" % (passed, failed, time.monotonic() - started))
    sys.exit(0 if failed == 0 and passed > 0 else 1)
