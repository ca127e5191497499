// Where the margin chart of the last Monte Carlo run lies in the main window:
// the corner points of its line in client pixels and where the line turns from
// the logged part (yellow) to the simulated part (green).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

inline constexpr int kChartLeft = 585;       // x of the first point
inline constexpr int kChartRight = 925;      // x of the last point
inline constexpr int kChartWidth = 340;      // kChartRight - kChartLeft
inline constexpr int kChartBaseline = 340;   // y of the starting margin
inline constexpr int kChartHalfHeight = 70;  // y distance of the largest deviation

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
// largest and smallest margin. Nothing when there are no points. One point is
// drawn as a flat yellow line along the baseline; a series that never leaves
// its starting margin lies flat on the baseline. Points that fall on the
// corner before them are left out. Throws std::bad_alloc when memory runs
// out.
std::optional<ChartLine> ComputeChartLine(const std::optional<std::vector<double>>& points,
                                          std::int32_t loggedStateCount,
                                          double highValue,
                                          double lowValue);
