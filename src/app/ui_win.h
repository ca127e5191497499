// The Win32 side of the thin UI layer: the main window every box and control
// text belongs to, and the one place that turns a box kind into a message box.
#pragma once

#include <windows.h>

#include <string_view>

#include "app/ui.h"

// Set as soon as the main window's create message arrives.
inline HWND mainWindow;

// Shows a message box of the given kind owned by owner (none for nullptr).
// True only when a question was answered Yes.
bool ShowBoxOwned(HWND owner, BoxKind kind, std::wstring_view text);
