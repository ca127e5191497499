// The end-to-end tests' framework: a program started in a fresh folder under Wine, driven with window
// messages as clicks and keys reach it, what it shows read back; a step that cannot be done throws.
#pragma once

#include <process.h>
#include <windows.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <vector>

#include "res/resource.h"

namespace e2e {
namespace fs = std::filesystem;
using Error = std::runtime_error;
using Files = std::map<std::string, std::string>;   // save_data's files: name, bytes
using Pixel = std::tuple<int, int, std::uint32_t>;  // a client point of the main window, its colour 0xRRGGBB
using Pixels = std::vector<std::uint32_t>;          // 0xRRGGBB, row by row
enum class Icon { None, Information, Question, Warning, Error, Other };
// A box ("#32770") as the user sees it: caption, message (its static 0xFFFF), icon, the ids of its visible
// push buttons, whether the main window owns it.
using BoxView = std::tuple<std::wstring, std::wstring, Icon, std::vector<int>, bool>;

inline int windowsMade = 0;  // by the programs started, counted as this thread handles its messages
// How long what should come may take: room for a loaded machine that runs 32-bit code through an emulator.
constexpr DWORD kPatienceMs = 30000;

// Calls done() until it holds or timeoutMs have passed, handling this thread's messages after each call.
template <typename Done>
bool Poll(DWORD timeoutMs, Done done) {
  for (const DWORD start = GetTickCount();; Sleep(10)) {
    const bool held = done();
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
      DispatchMessageW(&message);
    if (held || GetTickCount() - start >= timeoutMs) return held;
  }
}

// To any process's window; throws when it does not answer in time.
inline DWORD_PTR Send(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_NORMAL, kPatienceMs, &answer)) throw Error("no reply");
  return answer;
}
inline std::wstring TextOf(HWND window) {
  std::wstring text(65536, L'\0');
  return text.substr(0, Send(window, WM_GETTEXT, text.size(), LPARAM(text.data())));
}

// What the screen shows in a rectangle of a window's client area or, with no window, the icon drawn
// over the colour (BLACKNESS or WHITENESS).
inline Pixels Capture(HWND window, RECT r, HICON icon = nullptr, DWORD colour = 0) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO info{{sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // top-down
  std::uint32_t* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr), screen = GetDC(nullptr);
  const HBITMAP bitmap =
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  SelectObject(dc, bitmap);
  ClientToScreen(window, reinterpret_cast<POINT*>(&r));
  BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, window ? SRCCOPY : colour);
  DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
  GdiFlush();
  Pixels pixels(bits, bits + w * h);
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  ReleaseDC(nullptr, screen);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return pixels;
}

// Whether the screen shows the icon there at the rectangle's size: 90% of its opaque pixels, those
// that come out the same over black and white.
inline bool ShowsIcon(HWND window, RECT r, HICON icon) {
  const Pixels shown = Capture(window, r), black = Capture(0, r, icon, BLACKNESS),
               white = Capture(0, r, icon, WHITENESS);
  int opaque = 0, same = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    opaque += black[i] == white[i];
    same += black[i] == white[i] && black[i] == shown[i];
  }
  return opaque >= 16 && same >= 0.9 * opaque;
}

inline fs::path ProgramPath(const char* variable = "TALLOWIND_EXE") {
  if (const char* value = std::getenv(variable)) return fs::path(value).make_preferred();
  throw Error(std::string(variable) + " names no program");
}

// One run of a program in a fresh folder, ended if need be and the folder removed when this object goes.
class App {
 public:
  inline static int made = 0;
  static fs::path NextFolder() {  // the folder of the next one made
    return fs::temp_directory_path() / ("e2e-" + std::to_string(GetCurrentProcessId() * 1000ull + made));
  }
  const fs::path folder = NextFolder();
  const fs::path home;    // the program's folder: the folder or one in it
  HWND window = nullptr;  // the main window; null if none showed

  // Writes the files, copies the program into the folder (or a subfolder) and starts it there;
  // waits until its main window or a box shows or it ends.
  explicit App(const Files& files = {}, const fs::path& exe = ProgramPath(), const std::wstring& in = L"")
      : home(folder / in) {
    ++made;
    fs::create_directories(home);
    for (const auto& [name, bytes] : files)
      Write(name, bytes);
    const fs::path copy = home / exe.filename();
    fs::copy_file(exe, copy);
    process_ = HANDLE(_wspawnl(_P_NOWAIT, copy.c_str(), (L"\"" + copy.wstring() + L"\"").c_str(), nullptr));
    if (process_ == HANDLE(-1)) throw Error("cannot start " + copy.string());
    id_ = GetProcessId(process_);
    hook_ = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, 0, Made, id_, 0, WINEVENT_OUTOFCONTEXT);
    Poll(2 * kPatienceMs, [&] {
      window = Find(L"MAINWINDOW_MENU", true);
      return window || HasBox() || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
    });
    if (!window) window = Find(L"MAINWINDOW_MENU", false);  // a box shown while it is being made
  }
  App(const App&) = delete;
  ~App() {
    UnhookWinEvent(hook_);
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  void Write(const std::string& name, const std::string& bytes) const {  // into save_data, made if need be
    fs::create_directory(home / "save_data");
    std::ofstream(home / "save_data" / name, std::ios::binary) << bytes;
  }
  // save_data's files; a trade log date from `since` on (local time) reads "DATE:@".
  Files Read(std::time_t since = 0) const {
    Files files;
    std::error_code none;  // no save_data: no files
    for (const auto& file : fs::directory_iterator(home / "save_data", none)) {
      std::string& bytes = files[file.path().filename().string()];
      bytes.assign(std::istreambuf_iterator<char>(std::ifstream(file.path(), std::ios::binary).rdbuf()), {});
      for (std::time_t second = since - 1; since && second <= std::time(nullptr) + 1; ++second) {
        char date[40];
        std::strftime(date, sizeof date, "DATE:%a %b %d %H:%M:%S %Y", std::localtime(&second));
        for (std::size_t at; (at = bytes.find(date)) != bytes.npos;)
          bytes.replace(at, 29, "DATE:@");
      }
    }
    return files;
  }
  std::vector<std::wstring> Texts(int first, int count = 1) const {  // of the controls first, first + 1, ...
    std::vector<std::wstring> texts;
    for (; count > 0; --count) texts.push_back(TextOf(GetDlgItem(window, first++)));
    return texts;
  }
  void SetTexts(int first, const std::vector<std::wstring>& texts) const {
    for (const auto& text : texts)
      Send(GetDlgItem(window, first++), WM_SETTEXT, 0, LPARAM(text.c_str()));
  }
  void Post(UINT message, WPARAM wParam, LPARAM lParam = 0) const {  // to the main window
    if (!PostMessageW(window, message, wParam, lParam)) throw Error("cannot post to the main window");
  }
  void Click(int button) const { Post(WM_COMMAND, button, LPARAM(GetDlgItem(window, button))); }
  void Menu(char menu, char item) const {  // Alt, the menu's letter, once it is open the item's letter
    Post(WM_SYSCOMMAND, SC_KEYMENU, menu);
    if (!Poll(kPatienceMs, [&] { return Find(L"#32768", true); })) throw Error("no menu opened");
    Post(WM_CHAR, item);
  }
  // Returns once the program has handled all that was posted so far (a modal box's loop counts):
  // a new edit limit of the trade count output, which it never reads, posted last, took effect.
  void Sync() const {
    static WPARAM mark = 0x40000000;
    const HWND edit = GetDlgItem(window, IDC_TRADE_COUNT);
    PostMessageW(edit, EM_SETLIMITTEXT, ++mark, 0);
    DWORD_PTR got = 0;  // no answer while a command runs
    auto done = [&] { return SendMessageTimeoutW(edit, EM_GETLIMITTEXT, 0, 0, 0, 200, &got) && got == mark; };
    if (!Poll(kPatienceMs, done)) throw Error("the program did not handle its messages in time");
  }
  bool HasBox() const { return Find(L"#32770", false) != nullptr; }  // a box, visible or not
  HWND WaitBox(DWORD timeoutMs = kPatienceMs) const {                // the first visible box
    HWND box = nullptr;
    if (Poll(timeoutMs, [&] { return (box = Find(L"#32770", true)) != nullptr; })) return box;
    throw Error("no box within " + std::to_string(timeoutMs) + " ms");
  }
  // What a box shows, moved to the screen's corner (a wide box centred on the main window reaches
  // past the screen's edge).
  BoxView View(HWND box) const {
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND message = GetDlgItem(box, 0xFFFF);
    BoxView view{TextOf(box), message ? TextOf(message) : L"", {}, {}, GetWindow(box, GW_OWNER) == window};
    for (HWND button = nullptr; (button = FindWindowExW(box, button, L"Button", nullptr));)
      if (IsWindowVisible(button) && (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON)
        std::get<3>(view).push_back(GetDlgCtrlID(button));
    for (HWND image = nullptr; (image = FindWindowExW(box, image, L"Static", nullptr));) {
      if (!IsWindowVisible(image) || (GetWindowLongW(image, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
      // From the screen, as icon handles mean nothing in another process; it may come a little later.
      RECT area{};
      GetClientRect(image, &area);
      Icon& icon = std::get<2>(view) = Icon::Other;
      const LPCWSTR ids[] = {IDI_INFORMATION, IDI_QUESTION, IDI_WARNING, IDI_ERROR};  // in Icon's order
      Poll(kPatienceMs, [&] {
        for (int i = 0; i < 4; ++i)
          icon = ShowsIcon(image, area, LoadIconW(nullptr, ids[i])) ? Icon(i + 1) : icon;
        return icon != Icon::Other;
      });
    }
    return view;
  }
  // Posts to a box (a key reaches its dialog manager through its loop), waits until it is gone, syncs.
  void Dismiss(HWND box, UINT message, WPARAM wParam) const {
    PostMessageW(box, message, wParam, 0);
    if (!Poll(kPatienceMs, [&] { return !IsWindow(box); })) throw Error("the box did not close");
    Sync();
  }

  // The colours at the points, read until they are the expected ones or the patience runs out.
  std::vector<Pixel> WaitPixels(const std::vector<Pixel>& expected) const {
    std::vector<Pixel> seen;
    Poll(kPatienceMs, [&] {
      seen = expected;
      for (auto& [x, y, rgb] : seen)
        rgb = Capture(window, {x, y, x + 1, y + 1})[0];
      return seen == expected;
    });
    return seen;
  }
  long long WaitExit() const {  // the exit code once it has ended; -1 if it does not end in time
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(process_, kPatienceMs);
    return GetExitCodeProcess(process_, &code) && code != STILL_ACTIVE ? code : -1LL;
  }

 private:
  static void CALLBACK Made(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG, DWORD, DWORD) {
    windowsMade += object == OBJID_WINDOW;
  }
  HWND Find(const wchar_t* windowClass, bool visible) const {
    DWORD owner = 0;
    for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, windowClass, nullptr));)
      if (GetWindowThreadProcessId(found, &owner) && owner == id_ && (!visible || IsWindowVisible(found)))
        return found;
    return nullptr;
  }
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace e2e
