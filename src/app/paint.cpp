// Painting of the main window over GDI.
#include "app/paint.h"

#include <array>
#include <new>
#include <optional>
#include <string_view>

#include "app/main_window.h"
#include "app/owners_win.h"
#include "sim/chart_geometry.h"
#include "sim/monte_carlo.h"

namespace {

// Where the chart background picture goes and its size.
constexpr int kChartPictureX = 575;
constexpr int kChartPictureY = 260;
constexpr int kChartPictureWidth = 360;
constexpr int kChartPictureHeight = 160;

constexpr COLORREF kLoggedColour = RGB(255, 255, 0);
constexpr COLORREF kSimulatedColour = RGB(0, 255, 0);

struct Label {
  int x;
  int y;
  std::wstring_view text;
};

// The labels in front of the controls, in drawing order.
constexpr std::array<Label, 18> kLabels = {{
    {20, 40, L"対象レート換算証拠金:"},
    {20, 75, L"レバレッジ(倍):"},
    {20, 110, L"対象通貨ペアレート:"},
    {20, 145, L"単位ロットサイズ(通貨):"},
    {20, 180, L"勝率(%):"},
    {20, 215, L"TAKE PROFIT:"},
    {20, 250, L"STOP LOSS:"},
    {20, 365, L"TRADE LOG:"},
    {495, 40, L"破産率(%):"},
    {495, 75, L"期待値(WIN ONLY):"},
    {495, 110, L"期待値(WIN & LOSE):"},
    {495, 145, L"期待値(LOSE ONLY):"},
    {495, 260, L"証拠金の遷移:"},
    {495, 435, L"損益:"},
    {495, 470, L"HIGH VALUE:"},
    {495, 505, L"LOW VALUE:"},
    {495, 540, L"STATUS:"},
    {495, 575, L"トレード回数:"},
}};

// Draws from the current position through points first to last with a solid
// one-pixel pen of the colour.
void DrawRun(HDC dc, COLORREF colour, const ChartLine& line, std::size_t first, std::size_t last) {
  const GdiObject pen(CreatePen(PS_SOLID, 1, colour));
  const SelectedObject selected(dc, pen.get());
  for (std::size_t i = first; i <= last && i < line.points.size(); ++i) {
    LineTo(dc, line.points[i].x, line.points[i].y);
  }
}

void DrawChartLine(HDC dc) {
  std::optional<ChartLine> line;
  try {
    line = ComputeChartLine(marginSeries.points, marginSeries.loggedStateCount, marginSeries.highValue,
                            marginSeries.lowValue);
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
  const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  for (const Label& label : kLabels) {
    TextOutW(dc, label.x, label.y, label.text.data(), static_cast<int>(label.text.size()));
  }
}

}  // namespace

void PaintMainWindow(HWND window) {
  // The whole client area, so that a direct call also covers everything.
  InvalidateRect(window, nullptr, FALSE);
  const PaintDc paint(window);
  const MemoryDc picture(paint.get());
  {
    const SelectedObject bitmap(picture.get(), ChartBitmap);
    BitBlt(paint.get(), kChartPictureX, kChartPictureY, kChartPictureWidth, kChartPictureHeight,
           picture.get(), 0, 0, SRCCOPY);
  }
  DrawChartLine(paint.get());
  DrawLabels(paint.get());
}
