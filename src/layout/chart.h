// The line of the margin chart of the last Monte Carlo run: its corner points
// in client pixels at a scale and where it turns from the logged part
// (yellow) to the simulated part (green).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "layout/layout.h"

struct ChartPoint {
  int x;
  int y;
  bool operator==(const ChartPoint&) const = default;
};

// The line runs through points in order, starting at points[0]. The segments up
// to points[yellowEnd] are the logged part, those after it the simulated part.
struct ChartLine {
  std::vector<ChartPoint> points;
  std::size_t yellowEnd;
};

// The line of a margin series (the fields of MarginSeries): the margins after
// each trade, points[0] being the starting one; how many of them are logged
// states (points 1 to loggedStateCount - 1 come from logged trades); the
// largest and smallest margin; the window's scale. The first point lies on
// the baseline at the left, the last at the right, and the margin farthest
// from the first touches the top or the bottom of the plot. Nothing when
// there are no points. One point is
// drawn as a flat yellow line along the baseline; a series that never leaves
// its starting margin lies flat on the baseline. Points that fall on the
// corner before them are left out. Throws std::bad_alloc when memory runs
// out.
std::optional<ChartLine> ComputeChartLine(const std::optional<std::vector<double>>& points,
                                          std::int32_t loggedStateCount,
                                          double highValue,
                                          double lowValue,
                                          Scale scale);
