// The main window: its class name, the window procedure that creates the
// controls, loads the saved data at start-up, routes every command and
// paints, and the shutdown step.
#pragma once

#include <windows.h>

inline constexpr wchar_t kMainWindowClassName[] = L"MAINWINDOW_MENU";  // also the menu's name

// Visible, with a caption, the system menu and a minimize box: the window
// cannot be resized or maximized.
inline constexpr DWORD kMainWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Takes Tab and Shift+Tab in one of the seven trade inputs: the focus moves
// to the next or the previous input, round the panel, its text selected.
// False for any other message, which goes on as ever.
bool MoveBetweenInputs(const MSG& message);

// Releases the three paths and the margin series (each at most once) and
// posts the quit message with exit code 0.
void ShutdownStep();
