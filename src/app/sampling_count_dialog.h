// The sampling-count setting dialog (MAINWINDOW_ARITHMETIC_SIMULATION_SETTINGBOX).
#pragma once

#include <windows.h>

// Shows the dialog modally over the main window.
void ShowSamplingCountDialog(HWND mainWindow);
