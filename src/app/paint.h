// Painting of the main window: the chart background, the margin chart of the
// last Monte Carlo run and the labels in front of the inputs and outputs.
#pragma once

#include <windows.h>

// Repaints the whole client area, also when no paint request is pending (the
// Monte Carlo command calls it directly). Changes nothing but the screen.
void PaintMainWindow(HWND window);
