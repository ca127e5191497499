// What the simulation tests share: a trade log in a folder of their own, the
// scripted window, the generator at a known state and the results cleared.
#pragma once

#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/paths.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/random.h"
#include "sim/sampling_count.h"
#include "trade/trade_parameters.h"

class SimulationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    TradeLogPath = dir.File("trade_query.txt");
    samplingCount = 1000;
    randomDraw = {1, 0, true, true};
    WriteLog({"1,2,3"});
  }
  void TearDown() override {
    ResetFakeUi();
    randomDraw = {};
    arithmeticResults = {};
    marginSeries = {};
    tradeParameters = {};
    samplingCount = kDefaultSamplingCount;
    TradeLogPath.clear();
  }
  // The log of the lists; none: no log file.
  void WriteLog(std::initializer_list<std::string> lists) {
    if (lists.size() == 0)
      std::filesystem::remove(TradeLogPath);
    else
      WriteBytes(TradeLogPath, LogText(lists));
  }
  std::vector<std::wstring> Shown(int first, int last) {
    std::vector<std::wstring> texts;
    for (int id = first; id <= last; ++id)
      texts.push_back(fakeUi.controls[id]);
    return texts;
  }
  TempDir dir;
};
