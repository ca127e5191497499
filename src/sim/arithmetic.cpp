// The arithmetic simulation, its CALCULATE command and the trade model it
// shares with the Monte Carlo simulation.
#include "sim/arithmetic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>

#include "platform/platform.h"
#include "core/trade_field.h"
#include "sim/outputs.h"
#include "sim/random.h"
#include "sim/sampling_count.h"
#include "trade/trade_inputs.h"
#include "trade/trade_parameters.h"

namespace {

// The smallest TAKE PROFIT and STOP LOSS: 0.000001 as the float the inputs'
// validators compare with, widened to double.
constexpr double kSmallestDistance = static_cast<double>(0.000001f);

// Everything the sampling reads, worked out once per run.
struct SamplingSetup {
  const ProgressionArray* last = nullptr;  // the live list every sample starts from
  double realised = 0;                     // s, the profit of the logged trades
  double base = 0;                         // B = margin + s
  double margin = 0;
  double leverage = 0;
  double rate = 0;
  std::int64_t unitLotSize = 0;
  double takeProfit = 0;
  double stopLoss = 0;
  int threshold = 0;
  std::int32_t samples = 0;
};

// How a trade leaves its sample.
enum class SampleEnd { None, Completed, RuinedByMargin, RuinedByCapacity };

// What an ended sample adds to the sums: s + t, or -M when the margin is gone.
double EndValue(const SamplingSetup& setup, SampleEnd end, double profit) {
  return end == SampleEnd::RuinedByMargin ? -setup.margin : setup.realised + profit;
}

// The sums and counts of the samples played so far. Adding -M is the same as
// subtracting M, and adding a zero changes none of them (they start at +0 and
// never become -0), which lets the sample tree add its edges uniformly.
struct SamplingSums {
  double all = 0;
  double winOnly = 0;
  double loseOnly = 0;
  std::int64_t completedCount = 0;
  std::int64_t ruinedCount = 0;
};

void AddSample(SamplingSums& sums, const SamplingSetup& setup, SampleEnd end, double profit) {
  const double value = EndValue(setup, end, profit);
  sums.all = sums.all + value;
  if (end == SampleEnd::Completed) {
    sums.winOnly = sums.winOnly + value;
    ++sums.completedCount;
  } else {
    sums.loseOnly = sums.loseOnly + value;
    ++sums.ruinedCount;
  }
}

// One trade as plainly written: the next list from NextProgression, then the
// running profit, then (after a loss only) the margin and capacity tests.
struct TradeStep {
  ProgressionArray next;
  double profit = 0;
  SampleEnd end = SampleEnd::None;
};

TradeStep PlayTrade(const SamplingSetup& setup, const ProgressionArray& list, double profit, char letter) {
  std::optional<ProgressionArray> next = NextProgression(letter, list);
  if (!next) throw std::bad_alloc();
  TradeStep step{std::move(*next), profit, SampleEnd::None};
  const double lot = static_cast<double>(ProgressionStake(list) * setup.unitLotSize);
  if (letter == 'W') {
    step.profit = profit + lot * setup.takeProfit;
    if (step.next.empty()) step.end = SampleEnd::Completed;
    return step;
  }
  step.profit = profit - lot * setup.stopLoss;
  const double margin = setup.base + step.profit;
  if (margin <= 0) {
    step.end = SampleEnd::RuinedByMargin;
  } else if (static_cast<double>(ProgressionStake(step.next) * setup.unitLotSize) >
             (margin * setup.leverage) / setup.rate) {
    step.end = SampleEnd::RuinedByCapacity;
  }
  return step;
}

// The literal form: a new list for every trade, the draw through
// DrawTradeResult. False when memory runs out.
bool SampleLiteral(const SamplingSetup& setup, SamplingSums& sums) {
  const double winRate = tradeParameters.winRate;
  try {
    for (std::int32_t sample = 0; sample < setup.samples; ++sample) {
      ProgressionArray list = *setup.last;
      double profit = 0;
      for (;;) {
        TradeStep step = PlayTrade(setup, list, profit, DrawTradeResult(winRate));
        if (step.end != SampleEnd::None) {
          AddSample(sums, setup, step.end, step.profit);
          break;
        }
        list = std::move(step.next);
        profit = step.profit;
      }
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// ---- The fast form ----
//
// Every sample starts from the same list, so the first trades of all samples
// walk one tree: a node is where a sequence of results leads (its list and the
// running profit t), and each node has an edge for a lost and one for a won
// trade. The likeliest nodes are worked out once per run with PlayTrade, so
// each edge holds exactly the values the literal form computes, and a sample
// that stays in the tree costs one draw and one table step per trade. A
// sample that leaves the tree goes on from its node on a PlayList, with the
// same arithmetic.

constexpr std::size_t kTreeNodes = 1024;
// The numbers of all lists held while the tree is built, whatever their shape.
constexpr std::size_t kTreeNumbers = 1 << 16;
// The next-node mark of an edge whose node was not worked out.
constexpr std::uint32_t kOutsideTree = 0xFFFFFFFF;

// What walking an edge adds: the sums' values when the trade ends the sample,
// zeros while it goes on.
struct TreeEdge {
  double all = 0;
  double winOnly = 0;
  double loseOnly = 0;
  std::uint64_t counts = 0;  // ended samples in the low 32 bits, ruined ones above
};

// Node k owns edges 2k (lost) and 2k + 1 (won); node 0 is the start.
struct SampleTree {
  std::vector<std::uint32_t> next;  // per edge: the next node's first edge, 0 after an end, or kOutsideTree
  std::vector<TreeEdge> edges;
  std::vector<ProgressionArray> lists;  // per node
  std::vector<double> profits;          // per node: t
};

constexpr std::uint64_t kOneEnded = 1;
constexpr std::uint64_t kOneRuined = std::uint64_t{1} << 32;

// Works out the likeliest nodes first, so that few samples leave the tree.
// Throws std::bad_alloc when memory runs out.
SampleTree BuildSampleTree(const SamplingSetup& setup) {
  struct Candidate {
    double chance;
    std::uint32_t parentEdge;
    ProgressionArray list;
    double profit;
  };
  const auto lessLikely = [](const Candidate& a, const Candidate& b) { return a.chance < b.chance; };
  const double winChance = setup.threshold / 100.0;
  const double chances[2] = {1 - winChance, winChance};

  SampleTree tree;
  std::vector<Candidate> frontier;
  frontier.push_back({1, kOutsideTree, *setup.last, 0});
  std::size_t numbersHeld = setup.last->size();
  while (!frontier.empty() && tree.lists.size() < kTreeNodes) {
    std::pop_heap(frontier.begin(), frontier.end(), lessLikely);
    Candidate node = std::move(frontier.back());
    frontier.pop_back();
    const auto firstEdge = static_cast<std::uint32_t>(2 * tree.lists.size());
    if (node.parentEdge != kOutsideTree) tree.next[node.parentEdge] = firstEdge;
    tree.next.resize(firstEdge + 2, kOutsideTree);
    tree.edges.resize(firstEdge + 2);
    for (std::uint32_t won = 0; won < 2; ++won) {
      TradeStep step = PlayTrade(setup, node.list, node.profit, won ? 'W' : 'L');
      const std::uint32_t edge = firstEdge + won;
      if (step.end != SampleEnd::None) {
        const double value = EndValue(setup, step.end, step.profit);
        TreeEdge& ending = tree.edges[edge];
        ending.all = value;
        if (step.end == SampleEnd::Completed) {
          ending.winOnly = value;
          ending.counts = kOneEnded;
        } else {
          ending.loseOnly = value;
          ending.counts = kOneEnded + kOneRuined;
        }
        tree.next[edge] = 0;
      } else if (chances[won] > 0 && numbersHeld + step.next.size() <= kTreeNumbers) {
        numbersHeld += step.next.size();
        frontier.push_back({node.chance * chances[won], edge, std::move(step.next), step.profit});
        std::push_heap(frontier.begin(), frontier.end(), lessLikely);
      }
    }
    tree.lists.push_back(std::move(node.list));
    tree.profits.push_back(node.profit);
  }
  return tree;
}

// The state of a walk through the tree, passed by value so that the walk keeps
// it in registers.
struct TreeWalk {
  std::uint32_t randomState = 0;
  std::uint16_t drawAccumulator = 0;
  std::uint32_t edgeBase = 0;  // the current node's first edge
  std::uint32_t won = 0;       // the last draw
  std::uint64_t counts = 0;
  double all = 0;
  double winOnly = 0;
  double loseOnly = 0;
};

// Walks until the given number of samples have ended or a sample leaves the
// tree (then edgeBase and won tell from where). Kept out of line and free of
// calls: it is the whole inner loop.
[[gnu::noinline]] TreeWalk WalkTree(const std::uint32_t* next, const TreeEdge* edges,
                                    const std::uint8_t* wins, std::uint32_t samples, TreeWalk walk) {
  std::uint32_t state = walk.randomState;
  std::uint16_t accumulator = walk.drawAccumulator;
  std::size_t edgeBase = walk.edgeBase;
  std::size_t won = 0;
  std::uint64_t counts = walk.counts;
  double all = walk.all;
  double winOnly = walk.winOnly;
  double loseOnly = walk.loseOnly;
  while (static_cast<std::uint32_t>(counts) < samples) {
    accumulator = static_cast<std::uint16_t>(accumulator + NextRandomValue(state));
    won = wins[accumulator];
    const std::size_t edge = edgeBase + won;
    const std::uint32_t nextBase = next[edge];
    if (nextBase == kOutsideTree) break;
    all = all + edges[edge].all;
    winOnly = winOnly + edges[edge].winOnly;
    loseOnly = loseOnly + edges[edge].loseOnly;
    counts += edges[edge].counts;
    edgeBase = nextBase;
  }
  walk.randomState = state;
  walk.drawAccumulator = accumulator;
  walk.edgeBase = static_cast<std::uint32_t>(edgeBase);
  walk.won = static_cast<std::uint32_t>(won);
  walk.counts = counts;
  walk.all = all;
  walk.winOnly = winOnly;
  walk.loseOnly = loseOnly;
  return walk;
}

// Plays the rest of a sample on a list in place: the trade with the given
// letter first, then drawn ones. The same arithmetic as PlayTrade. Throws
// std::bad_alloc when the list cannot grow.
SampleEnd FinishSample(const SamplingSetup& setup, PlayList& list, double& profit, char letter,
                       std::uint32_t& state, std::uint16_t& accumulator) {
  for (;;) {
    const double lot = static_cast<double>(list.Stake() * setup.unitLotSize);
    if (letter == 'W') {
      profit = profit + lot * setup.takeProfit;
      if (list.Win()) return SampleEnd::Completed;
    } else {
      profit = profit - lot * setup.stopLoss;
      list.Lose();
      const double margin = setup.base + profit;
      if (margin <= 0) return SampleEnd::RuinedByMargin;
      if (static_cast<double>(list.Stake() * setup.unitLotSize) > (margin * setup.leverage) / setup.rate) {
        return SampleEnd::RuinedByCapacity;
      }
    }
    letter = DrawWithThreshold(state, accumulator, setup.threshold);
  }
}

// The fast form. False when memory runs out; the sums and the generator then
// hold what was played.
bool SampleFast(const SamplingSetup& setup, SamplingSums& sums) {
  TreeWalk walk{randomDraw.randomState, randomDraw.drawAccumulator, 0, 0, 0, sums.all, sums.winOnly,
                sums.loseOnly};
  const auto samples = static_cast<std::uint32_t>(setup.samples);
  bool played = true;
  try {
    const SampleTree tree = BuildSampleTree(setup);
    // Whether each accumulator value draws a win.
    std::vector<std::uint8_t> wins(65536);
    for (std::size_t value = 0; value < wins.size(); ++value) {
      wins[value] = static_cast<int>(value % 100) < setup.threshold;
    }
    PlayList list;
    list.Start(*setup.last);
    for (;;) {
      walk = WalkTree(tree.next.data(), tree.edges.data(), wins.data(), samples, walk);
      if (static_cast<std::uint32_t>(walk.counts) >= samples) break;
      const std::size_t node = walk.edgeBase / 2;
      list.Start(tree.lists[node]);
      double profit = tree.profits[node];
      const SampleEnd end =
          FinishSample(setup, list, profit, walk.won ? 'W' : 'L', walk.randomState, walk.drawAccumulator);
      const double value = EndValue(setup, end, profit);
      walk.all = walk.all + value;
      if (end == SampleEnd::Completed) {
        walk.winOnly = walk.winOnly + value;
        walk.counts += kOneEnded;
      } else {
        walk.loseOnly = walk.loseOnly + value;
        walk.counts += kOneEnded + kOneRuined;
      }
      walk.edgeBase = 0;
    }
  } catch (const std::bad_alloc&) {
    played = false;
  }
  randomDraw.randomState = walk.randomState;
  randomDraw.drawAccumulator = walk.drawAccumulator;
  const auto ruined = static_cast<std::int64_t>(walk.counts >> 32);
  const auto ended = static_cast<std::int64_t>(walk.counts & 0xFFFFFFFF);
  sums.all = walk.all;
  sums.winOnly = walk.winOnly;
  sums.loseOnly = walk.loseOnly;
  sums.ruinedCount += ruined;
  sums.completedCount += ended - ruined;
  return played;
}

void StoreSums(const SamplingSums& sums) {
  // The ruin rate counts 1.0 per ruined sample: exactly the count.
  arithmeticResults.ruinRate = static_cast<double>(sums.ruinedCount);
  arithmeticResults.expectedAll = sums.all;
  arithmeticResults.expectedWinOnly = sums.winOnly;
  arithmeticResults.expectedLoseOnly = sums.loseOnly;
}

bool RunArithmetic(const LogData& log, bool literal) {
  SeedOnce(randomDraw.arithmeticSeeded);
  if (TradeParametersRejected() || log.empty()) return true;
  arithmeticResults = ArithmeticResults{};

  SamplingSetup setup;
  setup.margin = tradeParameters.margin;
  setup.leverage = tradeParameters.leverage;
  setup.rate = tradeParameters.rate;
  setup.unitLotSize = tradeParameters.unitLotSize;
  setup.takeProfit = tradeParameters.takeProfit;
  setup.stopLoss = tradeParameters.stopLoss;
  setup.threshold = WinThreshold(tradeParameters.winRate);
  setup.samples = samplingCount;

  double realised = 0;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const ProgressionArray* next = i + 1 < log.size() ? &log[i + 1] : nullptr;
    const char letter = CompareProgressionLengths(&log[i], next);
    if (letter == 'E') return true;
    if (letter == 'W') realised = realised + LotSize(ProgressionStake(log[i])) * setup.takeProfit;
    if (letter == 'L') realised = realised - LotSize(ProgressionStake(log[i])) * setup.stopLoss;
  }
  setup.realised = realised;
  setup.base = setup.margin + realised;
  setup.last = &log.back();

  if (setup.base <= 0) {
    // The logged trades have used the margin up.
    arithmeticResults.ruinRate = 1;
    arithmeticResults.expectedAll = -setup.margin;
    arithmeticResults.expectedLoseOnly = -setup.margin;
    return false;
  }
  if (LotSize(ProgressionStake(*setup.last)) > Capacity(setup.base)) {
    arithmeticResults.ruinRate = 1;
    arithmeticResults.expectedAll = realised;
    arithmeticResults.expectedLoseOnly = realised;
    return false;
  }
  // Numbers are never negative, so with every trade lost a list of stake 0
  // keeps the stake 0 for ever: no sample would end.
  if (setup.threshold == 0 && ProgressionStake(*setup.last) == 0) return true;
  if (setup.samples < 1) return true;

  SamplingSums sums;
  const bool played = literal ? SampleLiteral(setup, sums) : SampleFast(setup, sums);
  StoreSums(sums);
  if (!played) return true;

  arithmeticResults.ruinRate = arithmeticResults.ruinRate / setup.samples;
  arithmeticResults.expectedAll = arithmeticResults.expectedAll / setup.samples;
  if (sums.completedCount > 0) {
    arithmeticResults.expectedWinOnly =
        arithmeticResults.expectedWinOnly / static_cast<double>(sums.completedCount);
  }
  if (sums.ruinedCount > 0) {
    arithmeticResults.expectedLoseOnly =
        arithmeticResults.expectedLoseOnly / static_cast<double>(sums.ruinedCount);
  }
  return false;
}

}  // namespace

bool TradeParametersRejected() {
  const TradeParameters& p = tradeParameters;
  const bool finite = std::isfinite(p.margin) && std::isfinite(p.rate) && std::isfinite(p.takeProfit) &&
                      std::isfinite(p.stopLoss) && std::isfinite(p.winRate);
  return !finite || p.margin < 0 || p.leverage < 1 || p.rate <= 0 || p.unitLotSize < 1 ||
         p.takeProfit < kSmallestDistance || p.stopLoss < kSmallestDistance || p.winRate < 0 || p.winRate > 1;
}

double LotSize(std::int64_t stake) {
  return static_cast<double>(stake * std::int64_t{tradeParameters.unitLotSize});
}

double Capacity(double margin) {
  return (margin * static_cast<double>(tradeParameters.leverage)) / tradeParameters.rate;
}

void PlayList::MakeRoom() {
  const std::size_t size = Size();
  if (size <= slots.size() / 2) {
    std::memmove(slots.data(), slots.data() + begin, size * sizeof(std::int32_t));
    begin = 0;
    end = size;
  } else {
    slots.resize(2 * slots.size());
  }
}

bool RunArithmeticSimulation(const LogData& log) { return RunArithmetic(log, false); }

bool RunArithmeticSimulationLiteral(const LogData& log) { return RunArithmetic(log, true); }

void ArithmeticCalculateCommand() {
  static constexpr std::wstring_view kMemoryCodes[] = {L"02-37", L"02-38", L"02-39", L"02-40",
                                                       L"02-41", L"02-42", L"02-43"};
  if (!ReadTradeInputs(kTradeFields, kMemoryCodes)) return;
  ParseTradeParameters();
  ReleaseTradeTexts();

  std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(L"02-44", kReasonNoMemory);
    return;
  }
  const bool failed = RunArithmeticSimulation(*log);
  log.reset();
  if (failed) {
    ShowError(L"02-45", L"ARITHMETIC SIMULATION実行時にエラーが発生しました。");
    return;
  }

  const ArithmeticResults& results = arithmeticResults;
  if (!ShowDecimalOutput(IDC_RUIN_RATE, results.ruinRate * 100, L"02-46", L"02-47")) return;
  if (!ShowDecimalOutput(IDC_EXPECTED_WIN_ONLY, results.expectedWinOnly, L"02-48", L"02-49")) return;
  if (!ShowDecimalOutput(IDC_EXPECTED_ALL, results.expectedAll, L"02-50", L"02-51")) return;
  ShowDecimalOutput(IDC_EXPECTED_LOSE_ONLY, results.expectedLoseOnly, L"02-52", L"02-53");
}
