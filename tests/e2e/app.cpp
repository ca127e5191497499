#include "app.h"

#include <winsock2.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <stdexcept>

#include "res/resource.h"

namespace fs = std::filesystem;
using Error = std::runtime_error;

namespace e2e {
namespace {

int folders = 0;

// SendMessageTimeout's answer; throws when the window does not answer in 5 s.
DWORD_PTR Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 5000, &answer)) {
    throw Error("no answer to message " + std::to_string(message));
  }
  return answer;
}

// The pixels (0xRRGGBB) of a w x h picture filled with a colour, then painted.
template <typename Paint>
std::vector<std::uint32_t> Draw(int w, int h, std::uint32_t fill, Paint paint) {
  BITMAPINFO info{{sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};  // top-down
  std::uint32_t* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP bitmap =
      CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  SelectObject(dc, bitmap);
  std::fill(bits, bits + w * h, fill);
  paint(dc);
  GdiFlush();
  std::vector<std::uint32_t> pixels(w * h);
  std::transform(bits, bits + w * h, pixels.begin(), [](std::uint32_t pixel) { return pixel & 0xFFFFFF; });
  DeleteDC(dc);
  DeleteObject(bitmap);
  return pixels;
}

}  // namespace

fs::path ProgramPath(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr) throw Error(std::string(variable) + " names no program");
  return (value[0] == '/' ? fs::path("Z:") / value : fs::path(value)).make_preferred();  // Z: is Unix's root
}

Folder::Folder()
    : path(fs::temp_directory_path() /
           ("tallowind-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++folders))) {
  fs::create_directory(path);
}

Folder::~Folder() {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

void Folder::Write(const std::string& name, std::string_view bytes) const {
  fs::create_directory(path / "save_data");
  std::ofstream(path / "save_data" / name, std::ios::binary).write(bytes.data(), bytes.size());
}

std::map<std::string, std::string> Folder::Files(std::time_t since) const {
  std::map<std::string, std::string> files;
  std::error_code none;  // no save_data: no files
  for (const auto& file : fs::directory_iterator(path / "save_data", none)) {
    std::ifstream in(file.path(), std::ios::binary);
    std::string& bytes = files[file.path().filename().string()];
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    for (std::size_t at = bytes.find("DATE:"); since && at != bytes.npos; at = bytes.find("DATE:", at + 1)) {
      for (std::time_t second = since - 1; second <= std::time(nullptr) + 1; ++second) {
        char date[32];
        std::strftime(date, sizeof date, "%a %b %d %H:%M:%S %Y", std::localtime(&second));
        if (bytes.compare(at + 5, 24, date) == 0)
          bytes = bytes.substr(0, at + 5) + "@" + bytes.substr(at + 29);
      }
    }
  }
  return files;
}

std::wstring TextOf(HWND window) {
  std::wstring text(65536, L'\0');
  text.resize(Send(window, WM_GETTEXT, text.size(), LPARAM(text.data())));
  return text;
}

void SetTextOf(HWND window, std::wstring_view text) {
  Send(window, WM_SETTEXT, 0, LPARAM(std::wstring(text).c_str()));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  return std::wstring(name, GetClassNameW(window, name, 256));
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

void PrintTo(const BoxView& box, std::ostream* out) {
  static const char* const kIcons[] = {"no", "information", "question", "warning", "error", "another"};
  for (const std::wstring* text : {&box.caption, &box.text}) {
    std::string utf8(text->size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text->data(), int(text->size()), utf8.data(),
                                    int(utf8.size()), nullptr, nullptr));
    *out << '"' << utf8 << "\", ";
  }
  *out << kIcons[int(box.icon)] << " icon, buttons";
  for (int id : box.buttons)
    *out << ' ' << id;
  *out << (box.ownedByMain ? ", owned by the main window" : ", not owned by the main window");
}

void PrintTo(const Pixel& pixel, std::ostream* out) {
  *out << '(' << pixel.x << ", " << pixel.y << ") #" << std::hex << std::setw(6) << std::setfill('0')
       << pixel.rgb << std::dec;
}

std::vector<std::uint32_t> Capture(HWND window, RECT area) {
  POINT corner{area.left, area.top};
  ClientToScreen(window, &corner);
  return Draw(area.right - area.left, area.bottom - area.top, 0, [&](HDC dc) {
    const HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen, corner.x, corner.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

double IconMatch(HWND window, RECT area, HICON icon) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (icon == nullptr || w <= 0 || h <= 0) return 0;
  const auto shown = Capture(window, area);
  // Opaque pixels come out the same over black and over white.
  auto paint = [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL); };
  const auto black = Draw(w, h, 0, paint), white = Draw(w, h, 0xFFFFFF, paint);
  int opaque = 0, same = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    opaque += black[i] == white[i];
    same += black[i] == white[i] && black[i] == shown[i];
  }
  return opaque < 16 ? 0 : double(same) / opaque;
}

App::App(const Folder& folder, const fs::path& program, const std::wstring& subfolder) {
  const fs::path directory = folder.path / subfolder, copy = directory / program.filename();
  fs::create_directories(directory);
  fs::copy_file(program, copy);
  std::wstring commandLine = L"\"" + copy.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &started)) {
    throw Error("cannot start " + copy.string() + ": error " + std::to_string(GetLastError()));
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  id_ = started.dwProcessId;
  Poll(30000, [&] {
    window_ = Find(L"MAINWINDOW_MENU", true);
    return window_ || HasBox() || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
  });
}

App::~App() {
  TerminateProcess(process_, 255);
  WaitForSingleObject(process_, 5000);
  CloseHandle(process_);
}

HWND App::Find(const wchar_t* windowClass, bool visible) const {
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, windowClass, nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == id_ && (!visible || IsWindowVisible(window))) return window;
  }
  return nullptr;
}

HWND App::Control(int id) const {
  if (const HWND control = GetDlgItem(window_, id)) return control;
  throw Error("no control " + std::to_string(id));
}

std::vector<std::wstring> App::Texts(int first, int count) const {
  std::vector<std::wstring> texts;
  while (count-- > 0)
    texts.push_back(Text(first++));
  return texts;
}

void App::SetTexts(int first, const std::vector<std::wstring>& texts) const {
  for (const auto& text : texts)
    SetTextOf(Control(first++), text);
}

void App::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!PostMessageW(window_, message, wParam, lParam)) throw Error("cannot post to the main window");
}

void App::Command(int id, WORD code) const {
  Post(WM_COMMAND, MAKEWPARAM(id, code), LPARAM(GetDlgItem(window_, id)));  // a menu item has no window
}

void App::Sync() const {
  // A new edit limit of the trade count output, which the program never
  // reads, posted behind the rest: once it took effect, the rest has.
  static std::uint32_t marks = 0;
  const std::uint32_t mark = 0x40000000 + ++marks;
  PostMessageW(Control(IDC_TRADE_COUNT), EM_SETLIMITTEXT, mark, 0);
  const bool handled = Poll(20000, [&] {
    DWORD_PTR limit = 0;  // no answer while a command runs
    SendMessageTimeoutW(Control(IDC_TRADE_COUNT), EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 200, &limit);
    return limit == mark;
  });
  if (!handled) throw Error("the program did not handle its messages within 20 s");
}

HWND App::WaitBox(DWORD timeoutMs) const {
  HWND box = nullptr;
  if (Poll(timeoutMs, [&] { return (box = Find(L"#32770", true)) != nullptr; })) return box;
  throw Error("no box within " + std::to_string(timeoutMs) + " ms");
}

BoxView App::View(HWND box) const {
  SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  BoxView view{TextOf(box), {}, Icon::None, {}, GetWindow(box, GW_OWNER) == window_};
  if (const HWND message = GetDlgItem(box, 0xFFFF)) view.text = TextOf(message);
  for (HWND child : Children(box)) {
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!(style & WS_VISIBLE)) continue;
    if (ClassOf(child) == L"Button" && (style & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
      view.buttons.push_back(GetDlgCtrlID(child));
    } else if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
      // Read from the screen, as icon handles mean nothing in another
      // process; it may reach the screen a little after the box.
      RECT area{};
      GetClientRect(child, &area);
      view.icon = Icon::Other;
      Poll(3000, [&] {
        const LPCWSTR ids[] = {IDI_INFORMATION, IDI_QUESTION, IDI_WARNING, IDI_ERROR};  // in Icon's order
        for (int i = 0; i < 4; ++i) {
          if (IconMatch(child, area, LoadIconW(nullptr, ids[i])) >= 0.9) view.icon = Icon(i + 1);
        }
        return view.icon != Icon::Other;
      });
    }
  }
  return view;
}

void App::Dismiss(HWND box, UINT message, WPARAM wParam) const {
  PostMessageW(box, message, wParam, 0);  // a key reaches the dialog manager through the box's loop
  if (!Poll(5000, [&] { return !IsWindow(box); })) throw Error("the box did not close");
}

std::vector<Pixel> App::WaitPixels(const std::vector<Pixel>& expected) const {
  std::vector<Pixel> seen;
  Poll(5000, [&] {
    seen = expected;
    for (Pixel& pixel : seen)
      pixel.rgb = Capture(window_, {pixel.x, pixel.y, pixel.x + 1, pixel.y + 1})[0];
    return seen == expected;
  });
  return seen;
}

long long App::WaitExit() const {
  DWORD code = 0;
  const bool ended =
      WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &code);
  return ended ? static_cast<long long>(code) : -1;
}

LoopbackServer::LoopbackServer(std::string_view url) {
  unsigned port = 0;
  if (std::sscanf(std::string(url).c_str(), "http://127.0.0.1:%u/", &port) != 1) {
    throw Error("not a loopback URL: " + std::string(url));
  }
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  const BOOL reuse = TRUE;  // the last server's connections may still hold the port
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  sockaddr_in address{AF_INET, htons(u_short(port)), {}, {}};
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) || listen(listener_, 4)) {
    closesocket(listener_);
    throw Error("cannot listen on port " + std::to_string(port));
  }
}

LoopbackServer::~LoopbackServer() { closesocket(listener_); }

bool LoopbackServer::Waiting(long timeoutMs) const {
  fd_set ready{1, {listener_}};
  timeval limit{timeoutMs / 1000, timeoutMs % 1000 * 1000};
  return select(0, &ready, nullptr, nullptr, &limit) == 1;
}

std::string LoopbackServer::Answer(std::string_view body) const {
  if (!Waiting(30000)) throw Error("no connection within 30 s");
  const SOCKET client = accept(listener_, nullptr, nullptr);
  const DWORD limitMs = 5000;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limitMs), sizeof limitMs);
  std::string head;
  char chunk[1024];
  for (int got; head.find("\r\n\r\n") == head.npos && (got = recv(client, chunk, sizeof chunk, 0)) > 0;) {
    head.append(chunk, got);
  }
  const std::string reply =
      "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nCache-Control: no-cache\r\nContent-Length: " +
      std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
  for (int sent = 0, now = 1; sent < int(reply.size()) && now > 0; sent += now) {
    now = send(client, reply.data() + sent, int(reply.size()) - sent, 0);
  }
  shutdown(client, SD_SEND);
  closesocket(client);
  return head;
}

}  // namespace e2e
