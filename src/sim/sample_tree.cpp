// The fast sampling loop: a table of the likeliest first trades, walked with
// one draw per trade, and the rest of a sample played in place.
#include "sim/sample_tree.h"

#include <algorithm>
#include <new>
#include <vector>

#include "sim/random.h"

namespace {

constexpr std::size_t kTreeNodes = 1024;
// The numbers of all lists held while the tree is built, whatever their shape.
constexpr std::size_t kTreeNumbers = 65536;
// The next-node mark of an edge whose node was not worked out.
constexpr std::uint32_t kOutsideTree = 0xFFFFFFFF;

// Ended samples count in the low 32 bits, ruined ones above.
constexpr std::uint64_t kOneEnded = 1;
constexpr std::uint64_t kOneRuined = std::uint64_t{1} << 32;

// What walking an edge adds: the sums' values when the trade ends the sample,
// zeros while it goes on. Adding a zero changes no sum (they start at +0 and
// never become -0), which lets the walk add every edge alike.
struct TreeEdge {
  double all = 0;
  double winOnly = 0;
  double loseOnly = 0;
  std::uint64_t counts = 0;
};

// Node k owns edges 2k (lost) and 2k + 1 (won); node 0 is the start.
struct SampleTree {
  std::vector<std::uint32_t> next;  // per edge: the next node's first edge, 0 after an end, or kOutsideTree
  std::vector<TreeEdge> edges;
  std::vector<ProgressionArray> lists;  // per node
  std::vector<double> profits;          // per node: t
};

TreeEdge EndingEdge(const SamplingRun& run, TradeEnd end, double t) {
  const double value = SampleProfit(run.model, run.realised, end, t);
  if (end == TradeEnd::Completed) return {value, value, 0, kOneEnded};
  return {value, 0, value, kOneEnded + kOneRuined};
}

struct Candidate {
  double chance;
  std::uint32_t parentEdge;
  ProgressionArray list;
  double profit;
};

// Works out the likeliest nodes first, so that few samples leave the tree.
// Throws std::bad_alloc when memory runs out.
SampleTree BuildSampleTree(const SamplingRun& run) {
  const double winChance = run.threshold / 100.0;
  const double chances[2] = {1 - winChance, winChance};
  SampleTree tree;
  std::vector<Candidate> frontier{{1, kOutsideTree, *run.live, 0}};
  std::size_t numbersHeld = run.live->size();
  PlayList list;
  while (!frontier.empty() && tree.lists.size() != kTreeNodes) {
    std::ranges::pop_heap(frontier, {}, &Candidate::chance);
    Candidate node = std::move(frontier.back());
    frontier.pop_back();
    const auto firstEdge = static_cast<std::uint32_t>(2 * tree.lists.size());
    if (node.parentEdge != kOutsideTree) tree.next[node.parentEdge] = firstEdge;
    tree.next.resize(firstEdge + 2, kOutsideTree);
    tree.edges.resize(firstEdge + 2);
    for (std::uint32_t won = 0; won < 2; ++won) {
      list.Start(node.list);
      double t = node.profit;
      const TradeEnd end = PlayTrade(run.model, run.base, list, t, won);
      if (end != TradeEnd::None) {
        tree.edges[firstEdge + won] = EndingEdge(run, end, t);
        tree.next[firstEdge + won] = 0;
      } else if (chances[won] > 0 && numbersHeld + list.Size() <= kTreeNumbers) {
        numbersHeld += list.Size();
        frontier.push_back({node.chance * chances[won], firstEdge + won, list.Numbers(), t});
        std::ranges::push_heap(frontier, {}, &Candidate::chance);
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
  std::uint32_t randomState;
  std::uint16_t drawAccumulator;
  std::uint32_t edgeBase{};  // the current node's first edge
  std::uint32_t won{};       // the last draw
  std::int64_t trades{};     // played outside the tree
  std::uint64_t counts{};
  double all;
  double winOnly;
  double loseOnly;
};

// Walks until the given number of samples have ended or a sample leaves the
// tree (then edgeBase and won tell from where). Kept out of line and free of
// calls: it is the whole inner loop.
[[gnu::noinline]] TreeWalk WalkTree(const std::uint32_t* next,
                                    const TreeEdge* edges,
                                    const std::uint8_t* wins,
                                    std::uint32_t samples,
                                    TreeWalk walk) {
  std::uint32_t state = walk.randomState;
  std::uint16_t accumulator = walk.drawAccumulator;
  std::size_t edgeBase = walk.edgeBase;
  std::size_t won = walk.won;
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
  return {state,
          accumulator,
          static_cast<std::uint32_t>(edgeBase),
          static_cast<std::uint32_t>(won),
          walk.trades,
          counts,
          all,
          winOnly,
          loseOnly};
}

// Plays the rest of a sample that left the tree at its node, on a list in
// place: the trade already drawn first, then drawn ones, and adds it to the
// walk. Asks whether to go on after every kTradesPerAsk trades played here;
// false when the run is stopped in the middle of the sample.
bool FinishSample(const SamplingRun& run,
                  const SampleTree& tree,
                  PlayList& list,
                  TreeWalk& walk,
                  std::int64_t samples) {
  const std::size_t node = walk.edgeBase / 2;
  list.Start(tree.lists[node]);
  double t = tree.profits[node];
  bool won = walk.won != 0;
  TradeEnd end;
  while ((end = PlayTrade(run.model, run.base, list, t, won)) == TradeEnd::None) {
    if (++walk.trades % kTradesPerAsk == 0 &&
        !ContinueRun(static_cast<std::uint32_t>(walk.counts), samples)) {
      return false;
    }
    won = DrawWithThreshold(walk.randomState, walk.drawAccumulator, run.threshold) == TradeResult::Win;
  }
  const TreeEdge ending = EndingEdge(run, end, t);
  walk.all = walk.all + ending.all;
  walk.winOnly = walk.winOnly + ending.winOnly;
  walk.loseOnly = walk.loseOnly + ending.loseOnly;
  walk.counts += ending.counts;
  walk.edgeBase = 0;
  return true;
}

// Plays the samples, asking whether to go on after every kSamplesPerAsk of
// them. Throws std::bad_alloc when memory runs out.
RunOutcome Walk(const SamplingRun& run, std::uint32_t samples, TreeWalk& walk) {
  const SampleTree tree = BuildSampleTree(run);
  // Whether each accumulator value draws a win.
  std::vector<std::uint8_t> wins(65536);
  for (std::size_t value = 0; value < wins.size(); ++value)
    wins[value] = static_cast<int>(value % 100) < run.threshold;
  PlayList list;
  for (std::uint32_t ask = kSamplesPerAsk;;) {
    const std::uint32_t target = std::min(samples, ask);
    walk = WalkTree(tree.next.data(), tree.edges.data(), wins.data(), target, walk);
    const auto ended = static_cast<std::uint32_t>(walk.counts);
    if (ended < target) {
      if (!FinishSample(run, tree, list, walk, samples)) return RunOutcome::Stopped;
    } else if (ended == samples) {
      return RunOutcome::Done;
    } else if (!ContinueRun(ended, samples)) {
      return RunOutcome::Stopped;
    } else {
      ask += kSamplesPerAsk;
    }
  }
}

}  // namespace

RunOutcome PlaySamples(const SamplingRun& run, std::int32_t samples, SampleSums& sums) {
  TreeWalk walk{.randomState = randomDraw.randomState,
                .drawAccumulator = randomDraw.drawAccumulator,
                .all = sums.all,
                .winOnly = sums.winOnly,
                .loseOnly = sums.loseOnly};
  RunOutcome outcome;
  try {
    outcome = Walk(run, static_cast<std::uint32_t>(samples), walk);
  } catch (const std::bad_alloc&) {
    outcome = RunOutcome::Failed;
  }
  randomDraw.randomState = walk.randomState;
  randomDraw.drawAccumulator = walk.drawAccumulator;
  const auto ruined = static_cast<std::int64_t>(walk.counts >> 32);
  const auto ended = static_cast<std::int64_t>(walk.counts & 0xFFFFFFFF);
  sums.all = walk.all;
  sums.winOnly = walk.winOnly;
  sums.loseOnly = walk.loseOnly;
  sums.ruined += ruined;
  sums.completed += ended - ruined;
  return outcome;
}
