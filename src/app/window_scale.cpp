// The main window at the scale of its screen, over USER32 and GDI32. The
// calls that Windows 10 added for per-monitor DPI are looked up when needed,
// so that the program still starts where they are missing; it then takes
// the system's DPI.
#include "app/window_scale.h"

#include <algorithm>
#include <string>

#include "app/main_window.h"

namespace {

template <typename Function>
Function* User32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(found));
}

// The DPI the system made its stock fonts and metrics for.
int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// What the frame, caption and menu of the main window take at a DPI.
Size FrameAt(UINT dpi) {
  static const auto adjustForDpi =
      User32Function<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT frame{};
  if (adjustForDpi) {
    adjustForDpi(&frame, kMainWindowStyle, TRUE, 0, dpi);
  } else {
    AdjustWindowRectEx(&frame, kMainWindowStyle, TRUE, 0);  // at the system's DPI
    const Scale toDpi = {static_cast<int>(dpi), SystemDpi()};
    return {Scaled(frame.right - frame.left, toDpi), Scaled(frame.bottom - frame.top, toDpi)};
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

// A stock font's face at the scale: its height at 96 DPI, scaled.
FontHandle ScaledStockFont(int stockFont, Scale scale) {
  LOGFONTW font{};
  GetObjectW(GetStockObject(stockFont), sizeof font, &font);
  font.lfHeight = ScaledFontHeight(font.lfHeight, SystemDpi(), scale);
  font.lfWidth = 0;  // the face's own proportions at the new height
  return FontHandle(CreateFontIndirectW(&font));
}

// Takes the scale and its fonts, then sizes the window at the top left of
// place, moved inside the work area where it would reach past it.
void TakeScale(HWND window, UINT dpi, const RECT& place, HMONITOR monitor) {
  const RECT work = WorkAreaOf(monitor);
  const Size frame = FrameAt(dpi);
  const Size frame96 = FrameAt(96);
  const Scale scale =
      FitScale(static_cast<int>(dpi), {work.right - work.left, work.bottom - work.top}, frame, frame96);
  const bool unscaled = scale.num == scale.den;
  windowScale.scale = scale;
  windowScale.controlFont = unscaled ? nullptr : ScaledStockFont(SYSTEM_FONT, scale);
  windowScale.labelFont = unscaled ? nullptr : ScaledStockFont(DEFAULT_GUI_FONT, scale);

  const Size size = WindowSize(scale, frame, frame96);
  const int x = std::max<int>(work.left, std::min<int>(place.left, work.right - size.width));
  const int y = std::max<int>(work.top, std::min<int>(place.top, work.bottom - size.height));
  RECT now{};
  GetWindowRect(window, &now);
  if (now.left != x || now.top != y || now.right - now.left != size.width ||
      now.bottom - now.top != size.height) {
    SetWindowPos(window, nullptr, x, y, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The window class and styles of each kind of control. No control is a tab
// stop: Tab between the inputs is the main window's own.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
};

ControlClass ClassOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::GroupBox: return {L"BUTTON", kChild | BS_GROUPBOX};
    case ControlKind::Input: return {L"EDIT", kChild | ES_RIGHT};
    case ControlKind::Log:
      return {L"EDIT", kChild | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY};
    case ControlKind::Output: return {L"EDIT", kChild | ES_READONLY};
    case ControlKind::Button: return {L"BUTTON", kChild};
  }
  return {L"STATIC", kChild};
}

}  // namespace

void ScaleNewMainWindow(HWND window, HINSTANCE instance) {
  RECT place{};
  GetWindowRect(window, &place);
  TakeScale(window, WindowDpi(window), place, MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  const auto font = reinterpret_cast<WPARAM>(windowScale.controlFont.get());
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const ControlLayout& control = kControls[i];
    const ControlClass made = ClassOf(control.kind);
    const Area area = Scaled(control.area, windowScale.scale);
    const std::wstring text(control.text);
    windowScale.children[i] = CreateWindowExW(
        0, made.name, control.text.empty() ? nullptr : text.c_str(), made.style, area.x, area.y, area.width,
        area.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
    if (font != 0) SendMessageW(windowScale.children[i], WM_SETFONT, font, FALSE);
  }
}

void RescaleMainWindow(HWND window, UINT dpi, const RECT& suggested) {
  // The fonts the children use now stay alive until the children have the new ones.
  const FontHandle oldControlFont = std::move(windowScale.controlFont);
  TakeScale(window, dpi, suggested, MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST));
  const auto font = reinterpret_cast<WPARAM>(windowScale.controlFont.get());
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const Area area = Scaled(kControls[i].area, windowScale.scale);
    MoveWindow(windowScale.children[i], area.x, area.y, area.width, area.height, FALSE);
    SendMessageW(windowScale.children[i], WM_SETFONT, font, FALSE);
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<UINT WINAPI(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi > 0 ? dpi : static_cast<UINT>(SystemDpi());
}

HFONT LabelFont() {
  return windowScale.labelFont ? windowScale.labelFont.get()
                               : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
