// The trade conditions as a calculation reads them, and the set profit.
#include "trade/trade_model.h"

#include <cmath>

#include "trade/trade_parameters.h"

namespace {

// The smallest TAKE PROFIT and STOP LOSS: 0.000001 as a float, widened to
// double, a hair below the 0.000001 (a double) that the inputs' validators
// compare with, so that no value they accept is rejected here.
constexpr double kSmallestDistance = static_cast<double>(0.000001f);

}  // namespace

TradeModel CurrentTradeModel() {
  const TradeParameters& p = tradeParameters;
  return {p.margin, static_cast<double>(p.leverage), p.rate, p.unitLotSize, p.takeProfit, p.stopLoss};
}

bool TradeParametersRejected() {
  const TradeParameters& p = tradeParameters;
  const bool finite = std::isfinite(p.margin) && std::isfinite(p.rate) && std::isfinite(p.takeProfit) &&
                      std::isfinite(p.stopLoss) && std::isfinite(p.winRate);
  return !finite || p.margin < 0 || p.leverage < 1 || p.rate <= 0 || p.unitLotSize < 1 ||
         p.takeProfit < kSmallestDistance || p.stopLoss < kSmallestDistance || p.winRate < 0 || p.winRate > 1;
}

double ComputeSetProfit(const LogData& log) {
  return ReplayLog(CurrentTradeModel(), log, [](double) {}).value_or(0.0);
}
