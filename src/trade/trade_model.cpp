// The trade conditions as a calculation reads them, and the set profit.
#include "trade/trade_model.h"

#include <limits>

#include "trade/trade_parameters.h"

namespace {

// The smallest TAKE PROFIT and STOP LOSS: 0.000001 as a float, widened to
// double, a hair below the 0.000001 (a double) that the inputs' validators
// compare with, so that no value they accept is rejected here.
constexpr double kSmallestDistance = static_cast<double>(0.000001f);
constexpr double kLargest = std::numeric_limits<double>::max();

// Whether the value lies from lo to hi; infinity and what is not a number
// never do.
bool Within(double value, double lo, double hi) { return lo <= value && value <= hi; }

}  // namespace

TradeModel CurrentTradeModel() {
  const TradeParameters& p = tradeParameters;
  return {p.margin, static_cast<double>(p.leverage), p.rate, p.unitLotSize, p.takeProfit, p.stopLoss};
}

bool TradeParametersRejected() {
  const TradeParameters& p = tradeParameters;
  return !(Within(p.margin, 0, kLargest) && Within(p.leverage, 1, kLargest) &&
           Within(p.rate, std::numeric_limits<double>::denorm_min(), kLargest) &&
           Within(p.unitLotSize, 1, kLargest) && Within(p.takeProfit, kSmallestDistance, kLargest) &&
           Within(p.stopLoss, kSmallestDistance, kLargest) && Within(p.winRate, 0, 1));
}

double ComputeSetProfit(const LogData& log) {
  return ReplayLog(CurrentTradeModel(), log, [](double) {}).value_or(0.0);
}
