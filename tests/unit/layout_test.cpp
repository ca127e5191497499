// The main window's layout at a scale, the scale fitted to a screen, and the chart's line.
#include <gtest/gtest.h>

#include "layout/chart.h"
#include "layout/layout.h"

namespace {

// At 1, 1.25, 1.5, 2 and 706/656 (144 DPI fitted to a work area 768 high): the margin input and the
// Monte Carlo CALCULATE (835, 610, 100, 25), the chart's picture, the label font (12 pixels at 96 DPI,
// 18 at 144) and the control font (a cell of 18 pixels at 96 DPI), and the width of a line.
TEST(Layout, EverythingScalesFromTheOneLayout) {
  const struct { Scale scale; Area margin, calculate, picture; int labelFont, controlFont, line; } cases[] = {
      {{1, 1}, {150, 40, 195, 25}, {835, 610, 100, 25}, {575, 260, 360, 160}, -12, 18, 1},
      {{5, 4}, {188, 50, 243, 31}, {1044, 763, 125, 31}, {719, 325, 450, 200}, -15, 22, 1},
      {{3, 2}, {225, 60, 293, 38}, {1253, 915, 150, 38}, {863, 390, 540, 240}, -18, 27, 1},
      {{2, 1}, {300, 80, 390, 50}, {1670, 1220, 200, 50}, {1150, 520, 720, 320}, -24, 36, 2},
      {{706, 656}, {161, 43, 210, 27}, {899, 656, 107, 27}, {619, 280, 387, 172}, -12, 19, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(std::tuple(Scaled(kControls[4].area, c.scale), Scaled(kControls[35].area, c.scale),
                         Scaled(kChartPicture, c.scale), ScaledFontHeight(-12 * 144 / 96, 144, c.scale),
                         ScaledFontHeight(18, 96, c.scale), LineWidth(c.scale)),
              std::tuple(c.margin, c.calculate, c.picture, c.labelFont, c.controlFont, c.line))
        << c.scale.num;
  }
}

// The layout keeps to a grid of 5 pixels, so that a number that strays by a pixel shows: only REFERENCE, WIN
// and LOSE stand off it, evenly spaced up to DROP OUT. Input i and its CLEAR are IDC_MARGIN + i, IDC_CLEAR_MARGIN + i.
TEST(Layout, TheLayoutKeepsToItsGridAndItsIds) {
  const auto x = [](int i) { return kControls[i].area.x; };
  for (int i = 0; i < 36; ++i) {
    const auto [left, top, width, height] = kControls[i].area;
    EXPECT_EQ((i < 30 || i > 32 ? left % 5 : 0) + top % 5 + width % 5 + height % 5, 0) << i;
  }
  for (const LabelLayout& label : kLabels) EXPECT_EQ(std::pair(label.x % 5, label.y % 5), std::pair(0, 0)) << label.y;
  EXPECT_EQ(std::pair(x(32) - x(31), x(33) - x(32)), std::pair(x(31) - x(30), x(31) - x(30)));
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(std::pair(kControls[4 + i].id, kControls[21 + i].id), std::pair(IDC_MARGIN + i, IDC_CLEAR_MARGIN + i));
}

// The first margin on the baseline at the left, the last at the right, the one farthest from the first at
// the top or the bottom; the logged part up to the point before the first simulated one.
TEST(Layout, TheChartPlacesEveryMarginOnTheScale) {
  const struct { std::vector<double> margins; std::int32_t logged; double high, low; Scale scale;
                 std::vector<ChartPoint> points; std::size_t yellowEnd; } cases[] = {
      {{1000}, 5, 1000, 1000, {1, 1}, {{585, 340}, {925, 340}}, 1},
      {{1000, 1010}, 1, 1010, 1000, {706, 656}, {{630, 366}, {996, 291}}, 0},
      {{1000, 1010, 990, 1005}, 2, 1010, 990, {1, 1}, {{585, 340}, {698, 270}, {811, 410}, {925, 305}}, 1},
      {{1000, 1020, 995}, 9, 1020, 995, {1, 1}, {{585, 340}, {755, 270}, {925, 357}}, 2},
      {{1000, 1000, 1000}, -1, 1000, 1000, {1, 1}, {{585, 340}, {755, 340}, {925, 340}}, 0},
      {{0.01, -100000}, 1, 0, 0, {1, 1}, {{585, 340}, {925, 1000000}}, 0}};  // after a failed run
  for (const auto& c : cases) {
    const ChartLine line = ComputeChartLine(c.margins, c.logged, c.high, c.low, c.scale).value();
    EXPECT_EQ(std::pair(line.points, line.yellowEnd), std::pair(c.points, c.yellowEnd)) << c.margins.size();
  }
}

// Frames (width, height) as Wine draws them: 6 x 44 at 96 DPI, 62 at 144, 80 at 192.
TEST(Layout, TheScaleIsTheDpisWhereTheWindowFitsAndNeverBelowOne) {
  const struct { int dpi; Size work, frame; Scale scale; Size window; } cases[] = {
      {96, {1920, 1080}, {6, 44}, {96, 96}, {960, 700}},     {144, {1920, 1080}, {6, 62}, {144, 96}, {1437, 1046}},
      {192, {3840, 2160}, {6, 80}, {192, 96}, {1914, 1392}}, {144, {1366, 768}, {6, 62}, {706, 656}, {1033, 768}},
      {192, {1600, 2000}, {6, 80}, {1594, 954}, {1600, 1176}}, {144, {1024, 600}, {6, 62}, {1, 1}, {960, 718}}};
  for (const auto& c : cases) {
    const Scale scale = FitScale(c.dpi, c.work, c.frame, {6, 44});
    const Size window = WindowSize(scale, c.frame, {6, 44});
    EXPECT_EQ(std::tuple(scale, window.width, window.height), std::tuple(c.scale, c.window.width, c.window.height))
        << c.dpi << " " << c.work.height;
  }
}

}  // namespace
