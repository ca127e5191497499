// The layout of the main window and its scale.
#include "layout/layout.h"

#include <algorithm>
#include <cstdint>

int Scaled(int value, Scale scale) {
  return static_cast<int>((std::int64_t{value} * scale.num + scale.den / 2) / scale.den);
}

Area Scaled(Area area, Scale scale) {
  const int left = Scaled(area.x, scale);
  const int top = Scaled(area.y, scale);
  return {left, top, Scaled(area.x + area.width, scale) - left, Scaled(area.y + area.height, scale) - top};
}

int ScaledFontHeight(int height, int systemDpi, Scale scale) {
  return static_cast<int>(std::int64_t{height} * 96 * scale.num / (std::int64_t{systemDpi} * scale.den));
}

int LineWidth(Scale scale) { return std::max(1, scale.num / scale.den); }

Scale FitScale(int dpi, Size workArea, Size frame, Size frame96) {
  const Size client = {kMainWindowSize.width - frame96.width, kMainWindowSize.height - frame96.height};
  // The largest scale at which the client area and the frame fit, along
  // each side; the smaller of the two and that of the DPI wins.
  Scale scale = {dpi, 96};
  const Scale fits[] = {{workArea.width - frame.width, client.width},
                        {workArea.height - frame.height, client.height}};
  for (const Scale fit : fits) {
    if (std::int64_t{fit.num} * scale.den < std::int64_t{scale.num} * fit.den) scale = fit;
  }
  if (scale.num < scale.den) return {1, 1};
  return scale;
}

Size WindowSize(Scale scale, Size frame, Size frame96) {
  return {Scaled(kMainWindowSize.width - frame96.width, scale) + frame.width,
          Scaled(kMainWindowSize.height - frame96.height, scale) + frame.height};
}

using enum ControlKind;

const std::array<ControlLayout, 36> kControls = {{
    {GroupBox, L"TRADE INFORMATION", {10, 10, 465, 315}, 0},
    {GroupBox, L"TRADE QUERY", {10, 335, 465, 315}, 0},
    {GroupBox, L"ARITHMETIC SIMULATION", {485, 10, 465, 210}, 0},
    {GroupBox, L"MONTE CARLO SIMULATION", {485, 230, 465, 420}, 0},
    // The seven trade inputs, in panel order.
    {Input, {}, {150, 40, 195, 25}, IDC_MARGIN},
    {Input, {}, {150, 75, 195, 25}, IDC_LEVERAGE},
    {Input, {}, {150, 110, 195, 25}, IDC_RATE},
    {Input, {}, {150, 145, 195, 25}, IDC_UNIT_LOT_SIZE},
    {Input, {}, {150, 180, 195, 25}, IDC_WIN_RATE},
    {Input, {}, {150, 215, 195, 25}, IDC_TAKE_PROFIT},
    {Input, {}, {150, 250, 195, 25}, IDC_STOP_LOSS},
    {Log, {}, {100, 365, 360, 235}, IDC_TRADE_LOG},
    // Arithmetic simulation outputs.
    {Output, {}, {610, 40, 195, 25}, IDC_RUIN_RATE},
    {Output, {}, {610, 75, 195, 25}, IDC_EXPECTED_WIN_ONLY},
    {Output, {}, {610, 110, 195, 25}, IDC_EXPECTED_ALL},
    {Output, {}, {610, 145, 195, 25}, IDC_EXPECTED_LOSE_ONLY},
    // Monte Carlo simulation outputs.
    {Output, {}, {575, 435, 195, 25}, IDC_PROFIT},
    {Output, {}, {575, 470, 195, 25}, IDC_HIGH_VALUE},
    {Output, {}, {575, 505, 195, 25}, IDC_LOW_VALUE},
    {Output, {}, {575, 540, 195, 25}, IDC_STATUS},
    {Output, {}, {575, 575, 195, 25}, IDC_TRADE_COUNT},
    // One CLEAR per trade input.
    {Button, L"CLEAR", {360, 40, 100, 25}, IDC_CLEAR_MARGIN},
    {Button, L"CLEAR", {360, 75, 100, 25}, IDC_CLEAR_MARGIN + 1},
    {Button, L"CLEAR", {360, 110, 100, 25}, IDC_CLEAR_MARGIN + 2},
    {Button, L"CLEAR", {360, 145, 100, 25}, IDC_CLEAR_MARGIN + 3},
    {Button, L"CLEAR", {360, 180, 100, 25}, IDC_CLEAR_MARGIN + 4},
    {Button, L"CLEAR", {360, 215, 100, 25}, IDC_CLEAR_MARGIN + 5},
    {Button, L"CLEAR", {360, 250, 100, 25}, IDC_CLEAR_MARGIN + 6},
    {Button, L"SAVE", {245, 285, 100, 25}, IDC_SAVE},
    {Button, L"LOAD", {360, 285, 100, 25}, IDC_LOAD},
    {Button, L"REFERENCE", {24, 610, 100, 25}, IDC_REFERENCE},
    {Button, L"WIN", {136, 610, 100, 25}, IDC_WIN},
    {Button, L"LOSE", {248, 610, 100, 25}, IDC_LOSE},
    {Button, L"DROP OUT", {360, 610, 100, 25}, IDC_DROP_OUT},
    {Button, L"CALCULATE", {835, 180, 100, 25}, IDC_ARITHMETIC_CALCULATE},
    {Button, L"CALCULATE", {835, 610, 100, 25}, IDC_MONTE_CARLO_CALCULATE},
}};

const std::array<LabelLayout, 18> kLabels = {{
    {20, 40, L"対象レート換算証拠金:"},
    {20, 75, L"レバレッジ(倍):"},
    {20, 110, L"対象通貨ペアレート:"},
    {20, 145, L"単位ロットサイズ(通貨):"},
    {20, 180, L"勝率(%):"},
    {20, 215, L"TAKE PROFIT:"},
    {20, 250, L"STOP LOSS:"},
    {20, 365, L"TRADE LOG:"},
    {495, 40, L"破産率(%):"},
    {495, 75, L"期待値(WIN ONLY):"},
    {495, 110, L"期待値(WIN & LOSE):"},
    {495, 145, L"期待値(LOSE ONLY):"},
    {495, 260, L"証拠金の遷移:"},
    {495, 435, L"損益:"},
    {495, 470, L"HIGH VALUE:"},
    {495, 505, L"LOW VALUE:"},
    {495, 540, L"STATUS:"},
    {495, 575, L"トレード回数:"},
}};
