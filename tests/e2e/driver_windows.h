// What the driver can see of another process's windows: classes, texts,
// styles and positions of windows and controls, its message boxes and
// dialogs, which standard icon a box shows, and the colours on the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::string Utf8(std::wstring_view wide);
std::wstring Wide(std::string_view utf8);

std::wstring ClassNameOf(HWND window);

// A window handle as a JSON number, or null.
std::string HwndJson(HWND window);

// The text of a window or control, fetched with WM_GETTEXT (the control's
// own text, as an edit holds it); nothing if the owner does not answer.
std::optional<std::wstring> ControlTextOf(HWND window, UINT timeoutMs = 5000);

// Sets a control's text with WM_SETTEXT; false if the owner did not answer.
bool SetControlTextOf(HWND window, std::wstring_view text, UINT timeoutMs = 5000);

// Visible top-level windows of a process, topmost first.
std::vector<HWND> TopWindowsOf(DWORD processId);

// The process's top-level window of the given class, visible or not.
HWND FindWindowOfProcess(DWORD processId, std::wstring_view className);

// The topmost visible dialog (class "#32770": message boxes and dialog
// boxes) of a process, or null.
HWND TopDialogOf(DWORD processId);

// A window's position: its outer rectangle on the screen.
RECT ScreenRect(HWND window);

// JSON for one window: hwnd, class, text, id, style, exStyle, visible and
// the rectangle relative to the client area of `origin` (x, y, w, h).
std::string DescribeWindow(HWND window, HWND origin, bool withControlText);

// JSON for each child control of a window, in creation order.
std::string DescribeChildren(HWND parent);

// JSON for a dialog: caption, text (static 0xffff, else the longest static
// text), owner, button ids and texts, children, and the standard icon it
// shows ("warning", "question", "information", "error", "unknown" or null
// when it has no icon), waited for until the icon reached the screen.
std::string DescribeDialog(HWND dialog, HWND mainWindow, UINT iconWaitMs);

// Which standard icon a dialog's icon control shows, by comparing the
// screen's pixels with the driver's own drawing of each standard icon.
std::optional<std::string> IdentifyDialogIcon(HWND dialog, UINT waitMs);

// Screen colours (0xRRGGBB) of points given relative to the client area of
// a window.
std::vector<std::uint32_t> ClientPixels(HWND window, const std::vector<POINT>& points);

// A rectangle of the client area, row by row, each row one string of six hex
// digits per pixel.
std::vector<std::string> CaptureClient(HWND window, RECT area);
