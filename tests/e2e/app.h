// The end-to-end tests' framework: a program started in a fresh folder under
// Wine, driven from this process with window messages as clicks and keys
// reach it, and what the tests read back: texts, boxes, screen pixels, files
// and the exit code. Waits poll with a time limit; a step that cannot be done
// throws std::runtime_error, which fails the test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// Calls done() until it holds or timeoutMs have passed; tells whether it held.
template <typename Done>
bool Poll(DWORD timeoutMs, Done done) {
  for (const DWORD start = GetTickCount();; Sleep(10)) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
  }
}

// The program an environment variable names (a Unix or a Windows path).
std::filesystem::path ProgramPath(const char* variable = "TALLOWIND_EXE");

// A fresh folder in the temporary directory, removed with all it holds.
struct Folder {
  const std::filesystem::path path;
  Folder();
  Folder(const Folder&) = delete;
  ~Folder();
  void Write(const std::string& name, std::string_view bytes) const;  // into save_data, made if need be
  // save_data's files: name, bytes. With `since`, a trade log date written
  // from then on ("DATE:Sat Dec 05 09:15:02 2026", local time) reads "DATE:@".
  std::map<std::string, std::string> Files(std::time_t since = 0) const;
};

// Any process's windows; texts go through WM_GETTEXT and WM_SETTEXT.
std::wstring TextOf(HWND window);
void SetTextOf(HWND window, std::wstring_view text);
std::wstring ClassOf(HWND window);
std::vector<HWND> Children(HWND parent);  // in creation order

enum class Icon { None, Information, Question, Warning, Error, Other };

struct BoxView {               // a box (a "#32770" window: message box or dialog) as the user sees it
  std::wstring caption, text;  // text: of its static 0xFFFF, a message box's message
  Icon icon;                   // the system icon its icon static shows
  std::vector<int> buttons;    // ids of its visible push buttons, in order
  bool ownedByMain;
  bool operator==(const BoxView&) const = default;
};
void PrintTo(const BoxView& box, std::ostream* out);

struct Pixel {  // a client point of the main window and its colour 0xRRGGBB
  int x, y;
  std::uint32_t rgb;
  bool operator==(const Pixel&) const = default;
};
void PrintTo(const Pixel& pixel, std::ostream* out);

// The screen's pixels (0xRRGGBB) in a rectangle of a window's client area, row by row.
std::vector<std::uint32_t> Capture(HWND window, RECT area);

// The share of the icon's opaque pixels, drawn at the size of the rectangle,
// that the screen shows there: 1 if it shows that icon.
double IconMatch(HWND window, RECT area, HICON icon);

// One run of a program, ended if need be when this object goes.
class App {
 public:
  // Copies the program into the folder (or a subfolder, made) and starts it
  // there; waits (30 s) until its main window shows, a box shows or it ends.
  App(const Folder& folder, const std::filesystem::path& program, const std::wstring& subfolder = L"");
  App(const App&) = delete;
  ~App();

  HWND window() const { return window_; }  // null if none showed
  HWND Control(int id) const;
  std::wstring Text(int id) const { return TextOf(Control(id)); }
  std::vector<std::wstring> Texts(int first, int count) const;  // of the controls first, first + 1, ...
  void SetTexts(int first, const std::vector<std::wstring>& texts) const;

  // Post to the main window: any message, or a button's or menu item's
  // WM_COMMAND with a notification code.
  void Post(UINT message, WPARAM wParam, LPARAM lParam) const;
  void Command(int id, WORD code = 0) const;
  // Returns once the program has handled all that was posted so far (a
  // modal box's loop counts).
  void Sync() const;

  // Boxes: whether one exists, visible or not; the first visible one, waited
  // for; what it shows, once moved to the screen's top left corner (a wide
  // box centred on the main window reaches past the screen's edge).
  bool HasBox() const { return Find(L"#32770", false) != nullptr; }
  HWND WaitBox(DWORD timeoutMs = 5000) const;
  BoxView View(HWND box) const;
  // Posts to a box and waits until it is gone: WM_COMMAND with a button's id,
  // WM_KEYDOWN with VK_RETURN or VK_ESCAPE, WM_SYSCOMMAND with SC_CLOSE.
  void Dismiss(HWND box, UINT message, WPARAM wParam) const;

  // The colours at the points, read until they are the expected ones or 5 s have passed.
  std::vector<Pixel> WaitPixels(const std::vector<Pixel>& expected) const;
  long long WaitExit() const;  // the exit code once it has ended, within 10 s; else -1

 private:
  HWND Find(const wchar_t* windowClass, bool visible) const;
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  HWND window_ = nullptr;
};

// An HTTP server on 127.0.0.1 at the port of a loopback URL
// ("http://127.0.0.1:PORT/..."), answered in the test's own thread.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::string_view url);
  LoopbackServer(const LoopbackServer&) = delete;
  ~LoopbackServer();
  // Waits (30 s) for a connection, answers 200 with the body, closes it and
  // returns the request's line and headers.
  std::string Answer(std::string_view body) const;
  bool Waiting(long timeoutMs) const;  // whether a connection waits or comes within the time

 private:
  UINT_PTR listener_;  // a SOCKET
};

}  // namespace e2e
