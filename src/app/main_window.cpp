// The main window procedure: the 36 child controls, start-up loading, command
// routing and the shutdown step. A handler may end as another message (close
// and a failed start-up as the destroy message, a successful Monte Carlo run
// as the paint message); the message it ends as is the one the default window
// procedure receives.
#include "app/main_window.h"

#include <array>
#include <new>
#include <string>

#include "app/about_box.h"
#include "app/paint.h"
#include "app/platform_win.h"
#include "app/progress_window.h"
#include "app/sampling_count_dialog.h"
#include "io/paths.h"
#include "net/version_check.h"
#include "res/resource.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "startup/saved_data.h"
#include "trade/trade_panel.h"
#include "trade/trade_query.h"

namespace {

struct ChildControl {
  const wchar_t* className;
  const wchar_t* text;  // nullptr: none
  DWORD style;
  int x;
  int y;
  int width;
  int height;
  int id;
};

constexpr DWORD kGroupBox = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kInput = WS_CHILD | WS_VISIBLE | ES_RIGHT;
constexpr DWORD kLog = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
constexpr DWORD kOutput = WS_CHILD | WS_VISIBLE | ES_READONLY;
constexpr DWORD kPushButton = WS_CHILD | WS_VISIBLE;

// The child controls in creation order. No control is a tab stop.
constexpr std::array<ChildControl, 36> kControls = {{
    {L"BUTTON", L"TRADE INFORMATION", kGroupBox, 10, 10, 465, 315, 0},
    {L"BUTTON", L"TRADE QUERY", kGroupBox, 10, 335, 465, 315, 0},
    {L"BUTTON", L"ARITHMETIC SIMULATION", kGroupBox, 485, 10, 465, 210, 0},
    {L"BUTTON", L"MONTE CARLO SIMULATION", kGroupBox, 485, 230, 465, 420, 0},
    // The seven trade inputs, in panel order.
    {L"EDIT", nullptr, kInput, 150, 40, 195, 25, IDC_MARGIN},
    {L"EDIT", nullptr, kInput, 150, 75, 195, 25, IDC_LEVERAGE},
    {L"EDIT", nullptr, kInput, 150, 110, 195, 25, IDC_RATE},
    {L"EDIT", nullptr, kInput, 150, 145, 195, 25, IDC_UNIT_LOT_SIZE},
    {L"EDIT", nullptr, kInput, 150, 180, 195, 25, IDC_WIN_RATE},
    {L"EDIT", nullptr, kInput, 150, 215, 195, 25, IDC_TAKE_PROFIT},
    {L"EDIT", nullptr, kInput, 150, 250, 195, 25, IDC_STOP_LOSS},
    {L"EDIT", nullptr, kLog, 100, 365, 360, 235, IDC_TRADE_LOG},
    // Arithmetic simulation outputs.
    {L"EDIT", nullptr, kOutput, 610, 40, 195, 25, IDC_RUIN_RATE},
    {L"EDIT", nullptr, kOutput, 610, 75, 195, 25, IDC_EXPECTED_WIN_ONLY},
    {L"EDIT", nullptr, kOutput, 610, 110, 195, 25, IDC_EXPECTED_ALL},
    {L"EDIT", nullptr, kOutput, 610, 145, 195, 25, IDC_EXPECTED_LOSE_ONLY},
    // Monte Carlo simulation outputs.
    {L"EDIT", nullptr, kOutput, 575, 435, 195, 25, IDC_PROFIT},
    {L"EDIT", nullptr, kOutput, 575, 470, 195, 25, IDC_HIGH_VALUE},
    {L"EDIT", nullptr, kOutput, 575, 505, 195, 25, IDC_LOW_VALUE},
    {L"EDIT", nullptr, kOutput, 575, 540, 195, 25, IDC_STATUS},
    {L"EDIT", nullptr, kOutput, 575, 575, 195, 25, IDC_TRADE_COUNT},
    // One CLEAR per trade input.
    {L"BUTTON", L"CLEAR", kPushButton, 360, 40, 100, 25, IDC_CLEAR_MARGIN},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 75, 100, 25, IDC_CLEAR_MARGIN + 1},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 110, 100, 25, IDC_CLEAR_MARGIN + 2},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 145, 100, 25, IDC_CLEAR_MARGIN + 3},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 180, 100, 25, IDC_CLEAR_MARGIN + 4},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 215, 100, 25, IDC_CLEAR_MARGIN + 5},
    {L"BUTTON", L"CLEAR", kPushButton, 360, 250, 100, 25, IDC_CLEAR_MARGIN + 6},
    {L"BUTTON", L"SAVE", kPushButton, 245, 285, 100, 25, IDC_SAVE},
    {L"BUTTON", L"LOAD", kPushButton, 360, 285, 100, 25, IDC_LOAD},
    {L"BUTTON", L"REFERENCE", kPushButton, 24, 610, 100, 25, IDC_REFERENCE},
    {L"BUTTON", L"WIN", kPushButton, 136, 610, 100, 25, IDC_WIN},
    {L"BUTTON", L"LOSE", kPushButton, 248, 610, 100, 25, IDC_LOSE},
    {L"BUTTON", L"DROP OUT", kPushButton, 360, 610, 100, 25, IDC_DROP_OUT},
    {L"BUTTON", L"CALCULATE", kPushButton, 835, 180, 100, 25, IDC_ARITHMETIC_CALCULATE},
    {L"BUTTON", L"CALCULATE", kPushButton, 835, 610, 100, 25, IDC_MONTE_CARLO_CALCULATE},
}};

void CreateControls(HWND window, HINSTANCE instance) {
  for (const ChildControl& control : kControls) {
    CreateWindowExW(0, control.className, control.text, control.style, control.x, control.y, control.width,
                    control.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                    instance, nullptr);
  }
}

bool StartUp(HWND window, const CREATESTRUCTW& create) {
  mainWindow = window;
  ChartBitmap = LoadBitmapW(create.hInstance, L"CHART_BACKGROUND");
  CreateControls(window, create.hInstance);
  return LoadSavedData();
}

// Runs the command and answers the message it ends as. While a simulation
// runs, the window takes no command: it only repaints.
UINT RunCommand(HWND window, int id) {
  if (RunInProgress()) return WM_COMMAND;
  if (id >= IDC_CLEAR_MARGIN && id <= IDC_CLEAR_STOP_LOSS) {
    ClearTradeInput(static_cast<TradeField>(id - IDC_CLEAR_MARGIN));
    return WM_COMMAND;
  }
  switch (id) {
    case IDM_SAMPLING_COUNT: ShowSamplingCountDialog(window); break;
    case IDM_EXIT: return WM_DESTROY;
    case IDM_VERSION_CHECK: VersionCheckCommand(); break;
    case IDM_ABOUT: ShowAboutBox(window); break;
    case IDC_SAVE: SaveTradeInformationCommand(); break;
    case IDC_LOAD: LoadTradeInformationCommand(); break;
    case IDC_REFERENCE: ReferenceCommand(); break;
    case IDC_WIN: WinCommand(); break;
    case IDC_LOSE: LoseCommand(); break;
    case IDC_DROP_OUT: DropOutCommand(); break;
    case IDC_ARITHMETIC_CALCULATE: ArithmeticCalculateCommand(); break;
    case IDC_MONTE_CARLO_CALCULATE:
      // The new chart is drawn at once.
      if (MonteCarloCalculateCommand()) return WM_PAINT;
      break;
    default: break;
  }
  return WM_COMMAND;
}

// Handles the message and answers the message it ends as.
UINT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return StartUp(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? WM_CREATE : WM_DESTROY;
    case WM_CLOSE: return WM_DESTROY;
    case WM_COMMAND: return RunCommand(window, LOWORD(wParam));
    default: return message;
  }
}

}  // namespace

void ShutdownStep() {
  std::string().swap(TradeInformationPath);
  std::string().swap(TradeLogPath);
  std::string().swap(SamplingCountPath);
  ReleaseMarginSeries();
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  UINT endsAs = message;
  try {
    endsAs = HandleMessage(window, message, wParam, lParam);
    if (endsAs == WM_DESTROY) ShutdownStep();
    if (endsAs == WM_PAINT) PaintMainWindow(window);
  } catch (const std::bad_alloc&) {
    // A command whose memory ran out where it had no message of its own is
    // abandoned; the program goes on.
  }
  return DefWindowProcW(window, endsAs, wParam, lParam);
}
