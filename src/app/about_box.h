// Command 2100: the About box of the Help menu.
#pragma once

#include <windows.h>

// Runs the dialog "MAINWINDOW_ABOUTBOX" modally, owned by the main window,
// until OK, Esc or the close box ends it.
void ShowAboutBox(HWND mainWindow);
