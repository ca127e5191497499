// The main window: its class name, the chart background picture, the window
// procedure that creates the controls, loads the saved data at start-up,
// routes every command and paints, and the shutdown step.
#pragma once

#include <windows.h>

inline constexpr wchar_t kMainWindowClassName[] = L"MAINWINDOW_MENU";  // also the menu's name
inline constexpr int kMainWindowWidth = 960;
inline constexpr int kMainWindowHeight = 700;

// The bitmap CHART_BACKGROUND, loaded by the create message and kept until
// the process ends.
inline HBITMAP ChartBitmap;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Releases the three paths and the margin series (each at most once) and
// posts the quit message with exit code 0.
void ShutdownStep();
