// The margin chart's line: each margin is placed along the width in equal
// steps and above or below the baseline in proportion to its distance from the
// starting margin, the farthest one touching the frame.
#include "layout/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Coordinates are truncated towards zero, as the drawing has always done; the
// limit only keeps a value that no true series produces (NaN, a huge one) from
// being converted out of range.
int TruncateToPixel(double value) {
  constexpr double kLimit = 1e6;
  return static_cast<int>(std::isnan(value) ? -kLimit : std::clamp(value, -kLimit, kLimit));
}

}  // namespace

std::optional<ChartLine> ComputeChartLine(const std::optional<std::vector<double>>& points,
                                          std::int32_t loggedStateCount,
                                          double highValue,
                                          double lowValue,
                                          Scale scale) {
  if (!points) return std::nullopt;
  const std::vector<double>& margins = *points;
  const int left = Scaled(kChartLeft, scale);
  const int right = Scaled(kChartRight, scale);
  const int baseline = Scaled(kChartBaseline, scale);
  const int halfHeight = Scaled(kChartBottom - kChartBaseline, scale);
  ChartLine line{};
  if (margins.size() <= 1) {
    line.points = {{left, baseline}, {right, baseline}};
    line.yellowEnd = 1;
    return line;
  }

  // The scale divisor is the larger distance from the start to an extreme.
  const double start = margins[0];
  const double fall = start - lowValue;
  const double rise = highValue - start;
  const double divisor = std::max(rise, fall);
  // The quotients come first, then the products, so that every build gets the
  // same last bits and therefore the same pixels.
  const double xStep = static_cast<double>(right - left) / static_cast<double>(margins.size() - 1);
  const bool flat = !(divisor > 0);
  const double yFactor = static_cast<double>(halfHeight) / divisor;  // unused when flat

  // Points 1 to loggedStateCount - 1 come from the log; the simulated part
  // starts at the last logged point.
  const std::int64_t lastIndex = static_cast<std::int64_t>(margins.size() - 1);
  const std::int64_t lastLogged = std::clamp<std::int64_t>(std::int64_t{loggedStateCount} - 1, 0, lastIndex);
  // A point on the corner before it adds nothing to the line, and a long path
  // has many: they are left out, so that the line has one corner per place.
  for (std::size_t i = 0; i < margins.size(); ++i) {
    const double x = left + static_cast<double>(i) * xStep;
    const double y = flat ? baseline : baseline + (start - margins[i]) * yFactor;
    const ChartPoint point{TruncateToPixel(x), TruncateToPixel(y)};
    if (line.points.empty() || !(point == line.points.back())) line.points.push_back(point);
    if (static_cast<std::int64_t>(i) == lastLogged) line.yellowEnd = line.points.size() - 1;
  }
  return line;
}
