// Painting of the main window over GDI, at the window's scale.
#include "app/paint.h"

#include <new>
#include <optional>

#include "app/owners_win.h"
#include "app/window_scale.h"
#include "layout/chart.h"
#include "layout/layout.h"
#include "sim/monte_carlo.h"

namespace {

constexpr COLORREF kChartColour = RGB(0, 0, 0);
constexpr COLORREF kGridColour = RGB(0, 0, 255);
constexpr COLORREF kBaselineColour = RGB(255, 0, 255);
constexpr COLORREF kLoggedColour = RGB(255, 255, 0);
constexpr COLORREF kSimulatedColour = RGB(0, 255, 0);

// A horizontal or vertical line of the picture from (x0, y0) to (x1, y1),
// both ends included, LineWidth pixels thick at the scale.
void FillLine(HDC dc, int x0, int y0, int x1, int y1, Scale scale, const GdiObject& brush) {
  const int width = LineWidth(scale);
  const RECT rect{Scaled(x0, scale), Scaled(y0, scale), Scaled(x1, scale) + width, Scaled(y1, scale) + width};
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

// The chart's picture: a black field with a blue grid every ten pixels, from
// ten pixels in, whose outer lines frame the plot, and the magenta baseline
// across it, over the grid.
void DrawChartPicture(HDC dc, Scale scale) {
  const Area field = Scaled(kChartPicture, scale);
  const RECT fieldRect{field.x, field.y, field.x + field.width, field.y + field.height};
  const GdiObject black(CreateSolidBrush(kChartColour));
  const GdiObject blue(CreateSolidBrush(kGridColour));
  const GdiObject magenta(CreateSolidBrush(kBaselineColour));
  FillRect(dc, &fieldRect, static_cast<HBRUSH>(black.get()));
  for (int x = kChartLeft; x <= kChartRight; x += kChartGridStep)
    FillLine(dc, x, kChartTop, x, kChartBottom, scale, blue);
  for (int y = kChartTop; y <= kChartBottom; y += kChartGridStep)
    FillLine(dc, kChartLeft, y, kChartRight, y, scale, blue);
  const int fieldRight = kChartPicture.x + kChartPicture.width - 1;
  FillLine(dc, kChartPicture.x + 1, kChartBaseline, fieldRight, kChartBaseline, scale, magenta);
}

// Draws from the current position through points first to last with a solid
// pen of the colour.
void DrawRun(HDC dc, COLORREF colour, const ChartLine& line, std::size_t first, std::size_t last) {
  const GdiObject pen(CreatePen(PS_SOLID, LineWidth(windowScale.scale), colour));
  const SelectedObject selected(dc, pen.get());
  for (std::size_t i = first; i <= last && i < line.points.size(); ++i) {
    LineTo(dc, line.points[i].x, line.points[i].y);
  }
}

void DrawChartLine(HDC dc) {
  std::optional<ChartLine> line;
  try {
    line = ComputeChartLine(marginSeries.points, marginSeries.loggedStateCount, marginSeries.highValue,
                            marginSeries.lowValue, windowScale.scale);
  } catch (const std::bad_alloc&) {
    return;  // no room for the line: the grid alone is shown
  }
  if (!line || line->points.empty()) return;
  MoveToEx(dc, line->points[0].x, line->points[0].y, nullptr);
  // The logged part is yellow, the rest green from the last logged point on;
  // each pen is made, used and deleted in turn.
  DrawRun(dc, kLoggedColour, *line, 1, line->yellowEnd);
  DrawRun(dc, kSimulatedColour, *line, line->yellowEnd + 1, line->points.size() - 1);
}

void DrawLabels(HDC dc) {
  const SelectedObject font(dc, LabelFont());
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  for (const LabelLayout& label : kLabels) {
    TextOutW(dc, Scaled(label.x, windowScale.scale), Scaled(label.y, windowScale.scale), label.text.data(),
             static_cast<int>(label.text.size()));
  }
}

}  // namespace

void PaintMainWindow(HWND window) {
  // The whole client area, so that a direct call also covers everything.
  InvalidateRect(window, nullptr, FALSE);
  const PaintDc paint(window);
  DrawChartPicture(paint.get(), windowScale.scale);
  DrawChartLine(paint.get());
  DrawLabels(paint.get());
}
