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
  void WriteLog(std::initializer_list<std::string> lists) { WriteBytes(TradeLogPath, LogText(lists)); }
  // Texts written "a|b|c": the seven inputs in panel order, or the outputs.
  static std::vector<std::wstring> Fields(std::wstring_view text) {
    std::vector<std::wstring> fields(1);
    for (wchar_t c : text) {
      if (c == L'|')
        fields.emplace_back();
      else
        fields.back().push_back(c);
    }
    return fields;
  }
  static void SetInputs(std::wstring_view texts) {
    const std::vector<std::wstring> fields = Fields(texts);
    for (std::size_t i = 0; i < fields.size(); ++i)
      fakeUi.controls[IDC_MARGIN + static_cast<int>(i)] = fields[i];
  }
  std::vector<std::wstring> Shown(int first, int last) {
    std::vector<std::wstring> texts;
    for (int id = first; id <= last; ++id)
      texts.push_back(fakeUi.controls[id]);
    return texts;
  }
  TempDir dir;
};
