// The end-to-end tests' UI-automation driver: a console program that starts
// the program under test and drives it through window messages. It reads one
// command per line on standard input, a JSON array such as ["settext", 10001,
// "100000"], and answers each with one JSON object line on standard output,
// {"ok": true, ...} or {"ok": false, "error": "..."}, always with "ms", the
// time the command took. All waiting polls with a time limit. The command set
// is listed in Dispatch below.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "driver_json.h"
#include "driver_windows.h"

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// The program under test, while it runs (or until its exit is collected).
struct Application {
  UniqueHandle process;
  DWORD processId = 0;
  HWND mainWindow = nullptr;
};
Application app;
std::wstring mainWindowClass = L"MAINWINDOW_MENU";

// Control whose edit limit marks how far the program's queue has been
// handled (see Sync); the program never looks at that limit.
int markerControlId = 10017;
std::uint32_t markerSequence = 0;

// Command lines, read by a thread of their own so that the end of the input
// (the test runner has gone) also cuts a running wait short.
struct InputLines {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::string> lines;
  bool closed = false;
};
InputLines input;

void ReadInput() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::lock_guard lock(input.mutex);
    input.lines.push_back(std::move(line));
    input.ready.notify_one();
  }
  std::lock_guard lock(input.mutex);
  input.closed = true;
  input.ready.notify_one();
}

// The next command line; nothing once the input has ended.
std::optional<std::string> NextLine() {
  std::unique_lock lock(input.mutex);
  input.ready.wait(lock, [] { return !input.lines.empty() || input.closed; });
  if (input.lines.empty()) return std::nullopt;
  std::string line = std::move(input.lines.front());
  input.lines.pop_front();
  return line;
}

bool InputClosed() {
  std::lock_guard lock(input.mutex);
  return input.closed;
}

struct CommandError {
  std::string message;
};

[[noreturn]] void Fail(std::string message) { throw CommandError{std::move(message)}; }

const JsonValue& Arg(const JsonValue& command, std::size_t index) {
  if (index >= command.items.size()) Fail("missing argument " + std::to_string(index));
  return command.items[index];
}

std::int64_t IntArg(const JsonValue& command, std::size_t index) {
  const JsonValue& value = Arg(command, index);
  if (value.kind != JsonValue::Kind::Number) Fail("argument " + std::to_string(index) + " must be a number");
  return value.number;
}

std::int64_t IntArgOr(const JsonValue& command, std::size_t index, std::int64_t fallback) {
  return index < command.items.size() ? IntArg(command, index) : fallback;
}

std::string TextArg(const JsonValue& command, std::size_t index) {
  const JsonValue& value = Arg(command, index);
  if (value.kind != JsonValue::Kind::String) Fail("argument " + std::to_string(index) + " must be a string");
  return value.text;
}

bool AppRunning() { return app.process && WaitForSingleObject(app.process.get(), 0) == WAIT_TIMEOUT; }

// Ends the program at once if it still runs.
void KillApp() {
  if (AppRunning()) {
    TerminateProcess(app.process.get(), 1);
    WaitForSingleObject(app.process.get(), 5000);
  }
}

HWND MainWindow() {
  if (app.mainWindow == nullptr || !IsWindow(app.mainWindow)) Fail("no main window");
  return app.mainWindow;
}

HWND Control(HWND parent, std::int64_t id) {
  HWND control = GetDlgItem(parent, static_cast<int>(id));
  if (control == nullptr) Fail("no control " + std::to_string(id));
  return control;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageW(window, message, wParam, lParam)) Fail("PostMessage failed");
}

// The exit code once the process has ended, else nothing.
std::optional<DWORD> ExitCode() {
  if (!app.process || WaitForSingleObject(app.process.get(), 0) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(app.process.get(), &code);
  return code;
}

// Waits until `done` holds or the time is up; true if it held.
template <typename Condition>
bool PollUntil(DWORD timeoutMs, Condition done) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    if (InputClosed()) Fail("the test runner has gone");
    Sleep(10);
  }
}

// Starts the program (its working directory is its own) and waits until its
// main window is visible, a dialog of it shows (a start-up error), or it ends.
void Start(JsonObject& answer, const std::string& exePath, DWORD timeoutMs) {
  KillApp();
  app = Application{};
  std::wstring path = Wide(exePath);
  std::wstring directory = path.substr(0, path.find_last_of(L"\\/") + 1);
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &created)) {
    Fail("CreateProcess failed: " + std::to_string(GetLastError()));
  }
  CloseHandle(created.hThread);
  app.process.reset(created.hProcess);
  app.processId = created.dwProcessId;

  HWND dialog = nullptr;
  PollUntil(timeoutMs, [&] {
    app.mainWindow = FindWindowOfProcess(app.processId, mainWindowClass);
    dialog = TopDialogOf(app.processId);
    return (app.mainWindow != nullptr && IsWindowVisible(app.mainWindow)) || dialog != nullptr ||
           !AppRunning();
  });
  auto code = ExitCode();
  answer.AddNumber("pid", app.processId)
      .AddRaw("window", HwndJson(app.mainWindow))
      .AddBool("visible", app.mainWindow != nullptr && IsWindowVisible(app.mainWindow))
      .AddRaw("box", dialog != nullptr ? DescribeDialog(dialog, app.mainWindow, 3000) : "null")
      .AddBool("exited", code.has_value())
      .AddRaw("code", code ? std::to_string(*code) : "null");
  if (!code && app.mainWindow == nullptr && dialog == nullptr) Fail("no window within the time limit");
}

// Waits until the program's thread has handled every message posted to it
// so far: a marker posted behind them (a new edit limit on the marker
// control) must have taken effect. A command that opened a modal box counts
// as handled once the box's own loop has taken the marker.
void Sync(DWORD timeoutMs) {
  HWND marker = Control(MainWindow(), markerControlId);
  std::uint32_t expected = 0x40000000u + (++markerSequence & 0xFFFFFu);
  Post(marker, EM_SETLIMITTEXT, expected, 0);
  bool seen = PollUntil(timeoutMs, [&] {
    DWORD_PTR limit = 0;
    if (!AppRunning()) Fail("the program has ended");
    return SendMessageTimeoutW(marker, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 200, &limit) && limit == expected;
  });
  if (!seen) Fail("the program did not get idle within the time limit");
}

HWND WaitDialog(DWORD timeoutMs) {
  HWND dialog = nullptr;
  PollUntil(timeoutMs, [&] {
    dialog = TopDialogOf(app.processId);
    return dialog != nullptr || !AppRunning();
  });
  if (dialog == nullptr) Fail(AppRunning() ? "no box within the time limit" : "the program has ended");
  return dialog;
}

HWND CurrentDialog() {
  HWND dialog = app.processId != 0 ? TopDialogOf(app.processId) : nullptr;
  if (dialog == nullptr) Fail("no box");
  return dialog;
}

void WaitGone(HWND dialog, DWORD timeoutMs) {
  if (!PollUntil(timeoutMs, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) {
    Fail("the box did not close within the time limit");
  }
}

void Dispatch(const JsonValue& command, JsonObject& answer) {
  if (command.kind != JsonValue::Kind::Array || command.items.empty() ||
      command.items[0].kind != JsonValue::Kind::String) {
    Fail("a command is a JSON array that starts with its name");
  }
  const std::string& name = command.items[0].text;
  auto timeout = [&](std::size_t index, DWORD fallback) {
    return static_cast<DWORD>(IntArgOr(command, index, fallback));
  };

  if (name == "ping") {
    // ["ping"]: answers at once.
  } else if (name == "start") {
    // ["start", exePath, timeoutMs=30000]: starts the program and waits for its window.
    Start(answer, TextArg(command, 1), timeout(2, 30000));
  } else if (name == "class") {
    // ["class", name]: the main window's class for later starts (default "MAINWINDOW_MENU").
    mainWindowClass = Wide(TextArg(command, 1));
  } else if (name == "marker") {
    // ["marker", controlId]: the control used by "sync" (default 10017).
    markerControlId = static_cast<int>(IntArg(command, 1));
  } else if (name == "sync") {
    // ["sync", timeoutMs=10000]: waits until everything posted so far was handled; tells the box then shown.
    Sync(timeout(1, 10000));
    HWND dialog = TopDialogOf(app.processId);
    answer.AddRaw("box", dialog != nullptr ? DescribeDialog(dialog, app.mainWindow, 3000) : "null");
  } else if (name == "waitbox") {
    // ["waitbox", timeoutMs=5000]: waits for a message box or dialog of the program and describes it.
    answer.AddRaw("box", DescribeDialog(WaitDialog(timeout(1, 5000)), app.mainWindow, 3000));
  } else if (name == "box") {
    // ["box"]: the box shown now, or null.
    HWND dialog = app.processId != 0 ? TopDialogOf(app.processId) : nullptr;
    answer.AddRaw("box", dialog != nullptr ? DescribeDialog(dialog, app.mainWindow, 3000) : "null");
  } else if (name == "boxpress") {
    // ["boxpress", buttonId, timeoutMs=5000]: presses a button of the box and waits until the box is gone.
    HWND dialog = CurrentDialog();
    HWND button = Control(dialog, IntArg(command, 1));
    Post(dialog, WM_COMMAND, MAKEWPARAM(IntArg(command, 1), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    WaitGone(dialog, timeout(2, 5000));
  } else if (name == "boxclick") {
    // ["boxclick", controlId]: posts a control's WM_COMMAND (BN_CLICKED) to the box; does not wait.
    HWND dialog = CurrentDialog();
    HWND control = Control(dialog, IntArg(command, 1));
    Post(dialog, WM_COMMAND, MAKEWPARAM(IntArg(command, 1), BN_CLICKED), reinterpret_cast<LPARAM>(control));
  } else if (name == "boxclose") {
    // ["boxclose", timeoutMs=5000]: sends the box WM_CLOSE and waits until it is gone.
    HWND dialog = CurrentDialog();
    Post(dialog, WM_CLOSE, 0, 0);
    WaitGone(dialog, timeout(1, 5000));
  } else if (name == "boxkey") {
    // ["boxkey", virtualKey]: posts a key press to the box's focused control (e.g. 27 for Esc).
    HWND dialog = CurrentDialog();
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread) && thread.hwndFocus != nullptr) {
      target = thread.hwndFocus;
    }
    auto key = static_cast<WPARAM>(IntArg(command, 1));
    UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    Post(target, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
    Post(target, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3L << 30));
  } else if (name == "boxgettext") {
    // ["boxgettext", controlId]: the text of a control of the box.
    auto text = ControlTextOf(Control(CurrentDialog(), IntArg(command, 1)));
    if (!text) Fail("the box did not answer");
    answer.AddString("text", Utf8(*text));
  } else if (name == "boxsettext") {
    // ["boxsettext", controlId, text]: sets the text of a control of the box.
    if (!SetControlTextOf(Control(CurrentDialog(), IntArg(command, 1)), Wide(TextArg(command, 2)))) {
      Fail("the box did not answer");
    }
  } else if (name == "gettext") {
    // ["gettext", controlId]: the text of a control of the main window.
    auto text = ControlTextOf(Control(MainWindow(), IntArg(command, 1)));
    if (!text) Fail("the program did not answer");
    answer.AddString("text", Utf8(*text));
  } else if (name == "settext") {
    // ["settext", controlId, text]: sets the text of a control of the main window.
    if (!SetControlTextOf(Control(MainWindow(), IntArg(command, 1)), Wide(TextArg(command, 2)))) {
      Fail("the program did not answer");
    }
  } else if (name == "click") {
    // ["click", buttonId]: posts the button's WM_COMMAND (BN_CLICKED) to the main window.
    HWND window = MainWindow();
    HWND button = Control(window, IntArg(command, 1));
    Post(window, WM_COMMAND, MAKEWPARAM(IntArg(command, 1), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  } else if (name == "menu") {
    // ["menu", commandId]: posts a menu item's WM_COMMAND to the main window.
    Post(MainWindow(), WM_COMMAND, MAKEWPARAM(IntArg(command, 1), 0), 0);
  } else if (name == "command") {
    // ["command", id, notifyCode, lParam=0]: posts any WM_COMMAND to the main window.
    Post(MainWindow(), WM_COMMAND, MAKEWPARAM(IntArg(command, 1), IntArg(command, 2)),
         static_cast<LPARAM>(IntArgOr(command, 3, 0)));
  } else if (name == "post") {
    // ["post", message, wParam, lParam]: posts any message to the main window.
    Post(MainWindow(), static_cast<UINT>(IntArg(command, 1)), static_cast<WPARAM>(IntArg(command, 2)),
         static_cast<LPARAM>(IntArg(command, 3)));
  } else if (name == "close") {
    // ["close"]: posts WM_CLOSE to the main window.
    Post(MainWindow(), WM_CLOSE, 0, 0);
  } else if (name == "syscommand") {
    // ["syscommand", code]: posts WM_SYSCOMMAND (e.g. 0xF060 SC_CLOSE, 0xF020 SC_MINIMIZE).
    Post(MainWindow(), WM_SYSCOMMAND, static_cast<WPARAM>(IntArg(command, 1)), 0);
  } else if (name == "waitexit") {
    // ["waitexit", timeoutMs=10000]: waits for the program to end; tells whether it did and its code.
    bool ended = app.process && WaitForSingleObject(app.process.get(), timeout(1, 10000)) == WAIT_OBJECT_0;
    auto code = ExitCode();
    answer.AddBool("exited", ended).AddRaw("code", code ? std::to_string(*code) : "null");
  } else if (name == "kill") {
    // ["kill"]: ends the program at once (cleanup after a failed test).
    KillApp();
  } else if (name == "info") {
    // ["info"]: the main window (class, caption, style...), its client size and its child controls.
    HWND window = MainWindow();
    RECT client{};
    GetClientRect(window, &client);
    answer.AddRaw("window", DescribeWindow(window, nullptr, false))
        .AddNumber("clientW", client.right)
        .AddNumber("clientH", client.bottom)
        .AddBool("hasMenu", GetMenu(window) != nullptr)
        .AddBool("iconic", IsIconic(window) != 0)
        .AddRaw("children", DescribeChildren(window));
  } else if (name == "windows") {
    // ["windows"]: the program's visible top-level windows.
    std::vector<std::string> items;
    for (HWND window : TopWindowsOf(app.processId)) items.push_back(DescribeWindow(window, nullptr, false));
    answer.AddRaw("windows", JsonArray(items));
  } else if (name == "pixels") {
    // ["pixels", [[x, y], ...]]: screen colours "rrggbb" at client points of the main window.
    const JsonValue& list = Arg(command, 1);
    std::vector<POINT> points;
    for (const JsonValue& item : list.items) {
      if (item.items.size() != 2) Fail("a point is [x, y]");
      points.push_back({static_cast<LONG>(item.items[0].number), static_cast<LONG>(item.items[1].number)});
    }
    std::vector<std::string> colours;
    for (std::uint32_t colour : ClientPixels(MainWindow(), points)) {
      char text[8];
      std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(colour & 0xFFFFFFu));
      colours.push_back(JsonQuote(colour == 0xFFFFFFFFu ? "invalid" : text));
    }
    answer.AddRaw("pixels", JsonArray(colours));
  } else if (name == "capture") {
    // ["capture", x, y, w, h]: a client rectangle of the main window, rows of "rrggbb" pixels.
    auto x = static_cast<LONG>(IntArg(command, 1));
    auto y = static_cast<LONG>(IntArg(command, 2));
    RECT area{x, y, x + static_cast<LONG>(IntArg(command, 3)), y + static_cast<LONG>(IntArg(command, 4))};
    std::vector<std::string> rows;
    for (const std::string& row : CaptureClient(MainWindow(), area)) rows.push_back(JsonQuote(row));
    if (rows.empty()) Fail("capture failed");
    answer.AddRaw("rows", JsonArray(rows));
  } else {
    Fail("unknown command " + name);
  }
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  std::thread(ReadInput).detach();
  while (auto next = NextLine()) {
    std::string line = std::move(*next);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    DWORD start = GetTickCount();
    JsonObject answer;
    std::string error;
    bool quit = false;
    try {
      auto command = ParseJson(line);
      if (!command) Fail("not JSON: " + line);
      quit = !command->items.empty() && command->items[0].text == "quit";
      if (!quit) Dispatch(*command, answer);
    } catch (const CommandError& failure) {
      error = failure.message;
    } catch (const std::exception& failure) {
      error = std::string("internal error: ") + failure.what();
    }
    JsonObject head;
    head.AddBool("ok", error.empty());
    if (!error.empty()) head.AddString("error", error);
    head.AddNumber("ms", static_cast<std::int64_t>(GetTickCount() - start));
    std::string text = head.Text();
    std::string rest = answer.Text();
    if (rest.size() > 2) text = text.substr(0, text.size() - 1) + "," + rest.substr(1);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (quit) break;
  }
  KillApp();
  return 0;
}
