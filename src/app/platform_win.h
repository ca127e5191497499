// The Win32 side of the platform layer: the main window that every box and
// control text belongs to, and boxes with an owner of their own (dialogs,
// and no owner at all before the main window exists).
#pragma once

#include <windows.h>

#include <string_view>

#include "platform/error_box.h"
#include "platform/platform.h"

// Set as soon as the main window's create message arrives.
inline HWND mainWindow;

// The program's own module, whose resources the windows and dialogs use.
inline HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

// Shows a message box of the given kind owned by owner (none for nullptr).
// True only when a question was answered Yes.
bool ShowBoxOwned(HWND owner, BoxKind kind, std::wstring_view text);

// Shows the error of a site in an error box owned by owner.
inline void ShowErrorOwned(HWND owner, std::wstring_view code, std::wstring_view reason) {
  ShowBoxOwned(owner, BoxKind::Error, ErrorText(code, reason));
}
