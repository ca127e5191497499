// The margin chart's line: positions, scale and the turn from the logged
// (yellow) to the simulated (green) part.
#include "sim/chart_geometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

std::optional<ChartLine> LineOf(std::vector<double> points,
                                std::int32_t loggedStateCount,
                                double high,
                                double low) {
  return ComputeChartLine(std::move(points), loggedStateCount, high, low);
}

TEST(ChartGeometryTest, NoSeriesDrawsNoLine) {
  EXPECT_FALSE(ComputeChartLine(std::nullopt, 1, 0, 0).has_value());
}

TEST(ChartGeometryTest, OnePointIsAFlatYellowBaseline) {
  for (std::int32_t logged : {0, 1, 5}) {
    const auto line = LineOf({1000}, logged, 1000, 1000);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->points, (std::vector<ChartPoint>{{585, 340}, {925, 340}})) << logged;
    EXPECT_EQ(line->yellowEnd, 1u) << logged;
  }
}

struct PlacementCase {
  const char* name;
  std::vector<double> margins;
  double high;
  double low;
  std::vector<ChartPoint> expected;
};

TEST(ChartGeometryTest, PlacesEveryMarginOnTheScale) {
  const PlacementCase cases[] = {
      {"rise to the top", {1000, 1010}, 1010, 1000, {{585, 340}, {925, 270}}},
      {"fall to the bottom", {1000, 990}, 1000, 990, {{585, 340}, {925, 410}}},
      // Steps of 113.33 pixels are truncated; the scale is 70 / 10.
      {"both ways", {1000, 1010, 990, 1005}, 1010, 990, {{585, 340}, {698, 270}, {811, 410}, {925, 305}}},
      // The fall sets the scale (70 / 20); 340 - 10.5 truncates to 329, not 330.
      {"rise smaller than fall", {1000, 1003, 980}, 1003, 980, {{585, 340}, {755, 329}, {925, 410}}},
      {"rise larger than fall", {1000, 1020, 995}, 1020, 995, {{585, 340}, {755, 270}, {925, 357}}},
      // A series that never leaves its start has no scale: it lies on the baseline.
      {"never moves", {1000, 1000, 1000}, 1000, 1000, {{585, 340}, {755, 340}, {925, 340}}},
  };
  for (const PlacementCase& c : cases) {
    const auto line = LineOf(c.margins, 1, c.high, c.low);
    ASSERT_TRUE(line.has_value()) << c.name;
    EXPECT_EQ(line->points, c.expected) << c.name;
  }
}

TEST(ChartGeometryTest, LoggedPartEndsAtTheLastLoggedPoint) {
  const struct {
    std::int32_t logged;
    std::size_t yellowEnd;
  } cases[] = {
      {-1, 0},  // nothing logged: all green
      {0, 0},   // no starting margin counted: all green
      {1, 0},   // only the starting margin: all green
      {2, 1},   // one logged trade, then green from point 1
      {4, 3},   // every point logged: all yellow
      {9, 3},   // a stale count beyond the series: all yellow, no green
  };
  for (const auto& c : cases) {
    const auto line = LineOf({1000, 1010, 990, 1005}, c.logged, 1010, 990);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->yellowEnd, c.yellowEnd) << c.logged;
    EXPECT_EQ(line->points.size(), 4u);
  }
}

TEST(ChartGeometryTest, LongSeriesSpansTheWholeWidth) {
  std::vector<double> margins;
  for (int i = 0; i < 1001; ++i)
    margins.push_back(1000 + ((i + 3) % 7) - 3);
  const auto line = LineOf(margins, 1, 1003, 997);
  ASSERT_TRUE(line.has_value());
  ASSERT_EQ(line->points.size(), 1001u);
  EXPECT_EQ(line->points.front(), (ChartPoint{585, 340}));
  EXPECT_EQ(line->points.back().x, 925);
  for (std::size_t i = 1; i < line->points.size(); ++i) {
    EXPECT_GE(line->points[i].x, line->points[i - 1].x);
    EXPECT_GE(line->points[i].y, 270);
    EXPECT_LE(line->points[i].y, 410);
  }
}

}  // namespace
