// Inspecting another process's windows for the UI-automation driver.
#include "driver_windows.h"

#include <cstdio>

#include "driver_json.h"

namespace {

// GetDC ... ReleaseDC of the whole screen.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ScreenDc() = default;
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc != nullptr) ReleaseDC(nullptr, dc);
  }
};

// A 32-bit top-down DIB section selected into a memory DC: pixels[y * width + x] is 0x00RRGGBB.
struct PixelBuffer {
  int width;
  int height;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  std::uint32_t* pixels = nullptr;

  PixelBuffer(int w, int h) : width(w), height(h) {
    ScreenDc screen;
    dc = CreateCompatibleDC(screen.dc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc != nullptr && bitmap != nullptr) {
      previous = SelectObject(dc, bitmap);
      pixels = static_cast<std::uint32_t*>(bits);
    }
  }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;
  ~PixelBuffer() {
    if (previous != nullptr) SelectObject(dc, previous);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
  bool ok() const { return pixels != nullptr; }
  std::uint32_t at(int x, int y) const { return pixels[y * width + x] & 0xFFFFFFu; }
  void Fill(std::uint32_t rgb) {
    GdiFlush();
    for (int i = 0; i < width * height; ++i) pixels[i] = rgb;
  }
};

// Copies the screen rectangle at (x, y) into a new buffer.
bool CaptureScreen(PixelBuffer& buffer, int x, int y) {
  if (!buffer.ok()) return false;
  ScreenDc screen;
  bool copied = BitBlt(buffer.dc, 0, 0, buffer.width, buffer.height, screen.dc, x, y, SRCCOPY) != 0;
  GdiFlush();
  return copied;
}

std::string HexColour(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "%06x", static_cast<unsigned>(rgb & 0xFFFFFFu));
  return text;
}

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM context) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(context);
  windows->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(context);
  windows->push_back(window);
  return TRUE;
}

std::vector<HWND> AllTopWindowsOf(DWORD processId) {
  std::vector<HWND> all;
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> mine;
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) mine.push_back(window);
  }
  return mine;
}

// Direct children only, in Z order (which for never-reordered controls is creation order).
std::vector<HWND> DirectChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

bool IsPushButton(HWND window) {
  if (ClassNameOf(window) != L"Button") return false;
  LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The visible icon control of a dialog that holds an icon (the handle means
// nothing in this process, but whether there is one does).
HWND IconControlOf(HWND dialog) {
  for (HWND child : DirectChildren(dialog)) {
    if (ClassNameOf(child) != L"Static" || !IsWindowVisible(child) ||
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      continue;
    }
    DWORD_PTR icon = 0;
    if (SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_NORMAL, 2000, &icon) && icon != 0) return child;
  }
  return nullptr;
}

// The system icons a message box can show (IDI_WARNING, IDI_QUESTION, IDI_INFORMATION, IDI_ERROR).
struct StandardIcon {
  const char* name;
  LPCWSTR id;
};
const StandardIcon kStandardIcons[] = {
    {"warning", MAKEINTRESOURCEW(32515)},
    {"question", MAKEINTRESOURCEW(32514)},
    {"information", MAKEINTRESOURCEW(32516)},
    {"error", MAKEINTRESOURCEW(32513)},
};

// The share of the icon's opaque pixels (those that come out the same over
// black and over white) that match the screen.
double IconMatch(const PixelBuffer& screen, LPCWSTR iconId) {
  HICON icon = LoadIconW(nullptr, iconId);
  if (icon == nullptr) return 0;
  PixelBuffer overBlack(screen.width, screen.height);
  PixelBuffer overWhite(screen.width, screen.height);
  if (!overBlack.ok() || !overWhite.ok()) return 0;
  overBlack.Fill(0x000000);
  overWhite.Fill(0xFFFFFF);
  DrawIconEx(overBlack.dc, 0, 0, icon, screen.width, screen.height, 0, nullptr, DI_NORMAL);
  DrawIconEx(overWhite.dc, 0, 0, icon, screen.width, screen.height, 0, nullptr, DI_NORMAL);
  GdiFlush();
  int opaque = 0;
  int matched = 0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      if (overBlack.at(x, y) != overWhite.at(x, y)) continue;
      ++opaque;
      if (overBlack.at(x, y) == screen.at(x, y)) ++matched;
    }
  }
  return opaque < 16 ? 0 : static_cast<double>(matched) / opaque;
}

}  // namespace

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
}

std::string HwndJson(HWND window) {
  if (window == nullptr) return "null";
  return std::to_string(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window)));
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::optional<std::wstring> ControlTextOf(HWND window, UINT timeoutMs) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length)) {
    return std::nullopt;
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, timeoutMs, &copied)) {
    return std::nullopt;
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

bool SetControlTextOf(HWND window, std::wstring_view text, UINT timeoutMs) {
  std::wstring copy(text);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()), SMTO_NORMAL,
                             timeoutMs, &result) != 0;
}

std::vector<HWND> TopWindowsOf(DWORD processId) {
  std::vector<HWND> visible;
  for (HWND window : AllTopWindowsOf(processId)) {
    if (IsWindowVisible(window)) visible.push_back(window);
  }
  return visible;
}

HWND FindWindowOfProcess(DWORD processId, std::wstring_view className) {
  for (HWND window : AllTopWindowsOf(processId)) {
    if (ClassNameOf(window) == className) return window;
  }
  return nullptr;
}

HWND TopDialogOf(DWORD processId) {
  for (HWND window : TopWindowsOf(processId)) {
    if (ClassNameOf(window) == L"#32770") return window;
  }
  return nullptr;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::string DescribeWindow(HWND window, HWND origin, bool withControlText) {
  RECT rect = ScreenRect(window);
  POINT corner{rect.left, rect.top};
  if (origin != nullptr) ScreenToClient(origin, &corner);
  wchar_t title[1024] = {};
  InternalGetWindowText(window, title, 1024);
  std::wstring text = title;
  if (withControlText) {
    if (auto controlText = ControlTextOf(window, 2000)) text = *controlText;
  }
  JsonObject json;
  json.AddRaw("hwnd", HwndJson(window))
      .AddString("class", Utf8(ClassNameOf(window)))
      .AddString("text", Utf8(text))
      .AddNumber("id", static_cast<std::int64_t>(GetWindowLongPtrW(window, GWLP_ID)) & 0xFFFFFFFF)
      .AddNumber("style", static_cast<std::uint32_t>(GetWindowLongW(window, GWL_STYLE)))
      .AddNumber("exStyle", static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE)))
      .AddBool("visible", IsWindowVisible(window) != 0)
      .AddNumber("x", corner.x)
      .AddNumber("y", corner.y)
      .AddNumber("w", rect.right - rect.left)
      .AddNumber("h", rect.bottom - rect.top);
  return json.Text();
}

std::string DescribeChildren(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<std::string> items;
  for (HWND child : children) {
    if (GetParent(child) == parent) items.push_back(DescribeWindow(child, parent, true));
  }
  return JsonArray(items);
}

std::optional<std::string> IdentifyDialogIcon(HWND dialog, UINT waitMs) {
  HWND iconControl = IconControlOf(dialog);
  if (iconControl == nullptr) return std::nullopt;
  DWORD start = GetTickCount();
  for (;;) {
    RECT client{};
    GetClientRect(iconControl, &client);
    POINT corner{0, 0};
    ClientToScreen(iconControl, &corner);
    int width = client.right;
    int height = client.bottom;
    if (width > 0 && height > 0 && width <= 256 && height <= 256) {
      PixelBuffer screen(width, height);
      if (CaptureScreen(screen, corner.x, corner.y)) {
        for (const StandardIcon& candidate : kStandardIcons) {
          if (IconMatch(screen, candidate.id) >= 0.9) return std::string(candidate.name);
        }
      }
    }
    if (GetTickCount() - start >= waitMs || !IsWindow(dialog)) return std::string("unknown");
    Sleep(20);
  }
}

std::string DescribeDialog(HWND dialog, HWND mainWindow, UINT iconWaitMs) {
  wchar_t caption[1024] = {};
  InternalGetWindowText(dialog, caption, 1024);

  std::optional<std::wstring> text;
  if (HWND message = GetDlgItem(dialog, 0xFFFF); message != nullptr) text = ControlTextOf(message, 2000);
  std::vector<std::string> buttonIds;
  std::vector<std::string> buttonTexts;
  for (HWND child : DirectChildren(dialog)) {
    if (IsPushButton(child) && IsWindowVisible(child)) {
      buttonIds.push_back(std::to_string(GetDlgCtrlID(child)));
      buttonTexts.push_back(JsonQuote(Utf8(ControlTextOf(child, 2000).value_or(L""))));
    }
  }

  HWND owner = GetWindow(dialog, GW_OWNER);
  std::string ownerJson = owner == nullptr ? "null" : owner == mainWindow ? "\"main\"" : HwndJson(owner);
  auto icon = IdentifyDialogIcon(dialog, iconWaitMs);

  JsonObject json;
  json.AddRaw("hwnd", HwndJson(dialog))
      .AddString("caption", Utf8(caption))
      .AddRaw("text", text ? JsonQuote(Utf8(*text)) : "null")
      .AddRaw("owner", ownerJson)
      .AddRaw("buttons", JsonArray(buttonIds))
      .AddRaw("buttonTexts", JsonArray(buttonTexts))
      .AddRaw("icon", icon ? JsonQuote(*icon) : "null")
      .AddRaw("children", DescribeChildren(dialog));
  return json.Text();
}

std::vector<std::uint32_t> ClientPixels(HWND window, const std::vector<POINT>& points) {
  std::vector<std::uint32_t> colours;
  ScreenDc screen;
  for (POINT point : points) {
    ClientToScreen(window, &point);
    COLORREF colour = GetPixel(screen.dc, point.x, point.y);
    colours.push_back(colour == CLR_INVALID ? 0xFFFFFFFFu
                                            : (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
                                                  (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
                                                  GetBValue(colour));
  }
  return colours;
}

std::vector<std::string> CaptureClient(HWND window, RECT area) {
  std::vector<std::string> rows;
  int width = area.right - area.left;
  int height = area.bottom - area.top;
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return rows;
  POINT corner{area.left, area.top};
  ClientToScreen(window, &corner);
  PixelBuffer buffer(width, height);
  if (!CaptureScreen(buffer, corner.x, corner.y)) return rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    row.reserve(static_cast<std::size_t>(width) * 6);
    for (int x = 0; x < width; ++x) row += HexColour(buffer.at(x, y));
    rows.push_back(std::move(row));
  }
  return rows;
}
