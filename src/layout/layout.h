// Where everything of the main window lies: the one layout, in pixels at 96
// DPI, and the scale that turns it into the pixels of a screen. Every
// position and size that reaches the window passes through Scaled, so no
// scaled number is written anywhere.
#pragma once

#include <array>
#include <string_view>

#include "res/resource.h"

// Screen pixels per layout pixel, num / den: the screen's DPI / 96, or less
// where the window would not fit.
struct Scale {
  int num = 1;
  int den = 1;
  bool operator==(const Scale&) const = default;
};

// value × scale to the nearest pixel, halves up; the layout has no negative
// numbers.
int Scaled(int value, Scale scale);

struct Size {
  int width;
  int height;
};

// x and y of the top left corner, width and height.
struct Area {
  int x;
  int y;
  int width;
  int height;
  bool operator==(const Area&) const = default;
};

// The area with each edge scaled, so that areas that meet at 96 DPI meet at
// every scale.
Area Scaled(Area area, Scale scale);

// The height of a font at the scale, from a font height made for the
// system's DPI (LOGFONT's sign kept): brought back to 96 DPI and scaled, cut
// toward zero, so that text never grows faster than the layout around it.
int ScaledFontHeight(int height, int systemDpi, Scale scale);

// The width of a drawn line at the scale: whole pixels, never more than the
// scale, at least one.
int LineWidth(Scale scale);

// The main window's outer size at 96 DPI: frame, caption and menu included.
inline constexpr Size kMainWindowSize = {960, 700};

// The main window's scale at a DPI: dpi / 96, or less where the whole window
// would not fit the work area, and never below 1. frame is what the frame,
// caption and menu take at that DPI, frame96 what they take at 96 DPI: the
// client area is kMainWindowSize less frame96, scaled.
Scale FitScale(int dpi, Size workArea, Size frame, Size frame96);

// The outer size of the main window at the scale.
Size WindowSize(Scale scale, Size frame, Size frame96);

// What a child control of the main window is; the window makes each kind
// with its own class and styles.
enum class ControlKind { GroupBox, Input, Log, Output, Button };

struct ControlLayout {
  ControlKind kind;
  std::wstring_view text;  // empty: none
  Area area;
  int id;  // 0 for the group boxes
};

// The 36 child controls in creation order. The group boxes come first, so
// that the controls made later lie above them.
extern const std::array<ControlLayout, 36> kControls;

struct LabelLayout {
  int x;
  int y;
  std::wstring_view text;
};

// The labels painted in front of the inputs and outputs, in drawing order.
extern const std::array<LabelLayout, 18> kLabels;

// The chart of the Monte Carlo panel: its black picture, whose grid lines
// lie every kChartGridStep pixels from kChartGridStep in, the outermost ones
// framing the plot, and whose baseline runs across it at kChartBaseline.
inline constexpr Area kChartPicture = {575, 260, 360, 160};
inline constexpr int kChartGridStep = 10;
inline constexpr int kChartLeft = 585;      // x of the first point
inline constexpr int kChartRight = 925;     // x of the last point
inline constexpr int kChartTop = 270;       // y of the largest rise
inline constexpr int kChartBaseline = 340;  // y of the starting margin
inline constexpr int kChartBottom = 410;    // y of the largest fall
