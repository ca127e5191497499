// The margin chart's line: each margin is placed along the width in equal
// steps and above or below the baseline in proportion to its distance from the
// starting margin, the farthest one touching the frame.
#include "sim/chart_geometry.h"

#include <algorithm>
#include <cstdint>

namespace {

// Coordinates are truncated towards zero, as the drawing has always done; the
// limit only keeps a value that no true series produces (NaN, a huge one) from
// being converted out of range.
int TruncateToPixel(double value) {
  constexpr double kLimit = 1e6;
  if (!(value > -kLimit)) return -static_cast<int>(kLimit);
  if (!(value < kLimit)) return static_cast<int>(kLimit);
  return static_cast<int>(value);
}

}  // namespace

std::optional<ChartLine> ComputeChartLine(const std::optional<std::vector<double>>& points,
                                          std::int32_t loggedStateCount,
                                          double highValue,
                                          double lowValue) {
  if (!points) return std::nullopt;
  const std::vector<double>& margins = *points;
  ChartLine line;
  if (margins.size() <= 1) {
    line.points = {{kChartLeft, kChartBaseline}, {kChartRight, kChartBaseline}};
    line.yellowEnd = 1;
    return line;
  }

  // The scale divisor is the larger distance from the start to an extreme.
  const double start = margins[0];
  const double fall = start - lowValue;
  const double rise = highValue - start;
  const double divisor = fall >= rise ? fall : rise;
  // The quotients come first, then the products, so that every build gets the
  // same last bits and therefore the same pixels.
  const double xStep = static_cast<double>(kChartWidth) / static_cast<double>(margins.size() - 1);
  const bool flat = !(divisor > 0);
  const double yFactor = flat ? 0 : static_cast<double>(kChartHalfHeight) / divisor;

  line.points.reserve(margins.size());
  for (std::size_t i = 0; i < margins.size(); ++i) {
    const double x = kChartLeft + static_cast<double>(i) * xStep;
    const double y = flat ? kChartBaseline : kChartBaseline + (start - margins[i]) * yFactor;
    line.points.push_back({TruncateToPixel(x), TruncateToPixel(y)});
  }

  // Points 1 to loggedStateCount - 1 come from the log; the simulated part
  // starts at the last logged point.
  const std::int64_t lastLogged = static_cast<std::int64_t>(loggedStateCount) - 1;
  const auto lastIndex = static_cast<std::int64_t>(margins.size() - 1);
  line.yellowEnd = static_cast<std::size_t>(std::clamp<std::int64_t>(lastLogged, 0, lastIndex));
  return line;
}
