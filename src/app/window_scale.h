// The main window at the scale of its screen: the DPI of its monitor, the
// scale fitted to the work area, its size and place there, the fonts made at
// that scale and the 36 child controls laid out at it. At 96 DPI the scale is
// 1 and the window is exactly its layout: 960 x 700, the system's fonts.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <type_traits>

#include "layout/layout.h"

struct FontDeleter {
  void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

struct WindowScale {
  Scale scale;
  FontHandle controlFont;         // none at scale 1: the controls keep the system font
  FontHandle labelFont;           // none at scale 1: the labels take the stock GUI font
  std::array<HWND, 36> children;  // in the order of kControls
};

inline WindowScale windowScale;

// Takes the scale of the monitor the new window is on, sizes the window to it
// inside that monitor's work area, and creates the child controls at it.
void ScaleNewMainWindow(HWND window, HINSTANCE instance);

// Takes the scale of a new DPI (the window moved to another monitor) and the
// place the system suggests, and lays everything out again.
void RescaleMainWindow(HWND window, UINT dpi, const RECT& suggested);

// The DPI of the monitor a window is on.
UINT WindowDpi(HWND window);

// The font of the painted labels at the window's scale.
HFONT LabelFont();
