// The main window procedure: the 36 child controls, start-up loading, command
// routing and the shutdown step. A handler may end as another message (close
// and a failed start-up as the destroy message, a successful Monte Carlo run
// as the paint message); the message it ends as is the one the default window
// procedure receives.
#include "app/main_window.h"

#include <new>
#include <optional>
#include <string>

#include "app/about_box.h"
#include "app/paint.h"
#include "app/platform_win.h"
#include "app/progress_window.h"
#include "app/sampling_count_dialog.h"
#include "app/window_scale.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/paths.h"
#include "net/version_check.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/sampling_count.h"
#include "trade/trade_log.h"
#include "trade/trade_panel.h"
#include "trade/trade_parameters.h"
#include "trade/trade_query.h"

namespace {

// Error 01-01 has no owner and, unlike the later reasons, ends in a half-width stop.
void ShowNoMemoryAtStart() { ShowErrorOwned(nullptr, L"01-01", L"メモリの確保に失敗しました｡"); }

// Shows the log text in the log edit, if there is one; the narrow text is
// released either way.
void ShowTradeLogText(std::optional<std::string>& text) {
  if (!text) return;
  const std::optional<std::wstring> wide = AnsiToWide(*text);
  text.reset();
  if (wide) SetControlText(IDC_TRADE_LOG, *wide);
}

// The save_data directory beside the program and the three paths in it. False
// when memory runs out.
bool PrepareSaveData() {
  std::optional<std::wstring> directory;
  {
    const std::optional<std::string> narrow = ConcatStrings(ExeDirectory, std::string("save_data"));
    if (!narrow) return false;
    directory = AnsiToWide(*narrow);
  }
  if (!directory) return false;
  // An existing directory is fine; one that cannot be made shows up later as
  // files that cannot be opened.
  CreateDirectoryW(directory->c_str(), nullptr);
  directory.reset();

  std::optional<std::string> information =
      ConcatStrings(ExeDirectory, std::string("save_data\\trade_information.txt"));
  std::optional<std::string> log = ConcatStrings(ExeDirectory, std::string("save_data\\trade_query.txt"));
  std::optional<std::string> sampling =
      ConcatStrings(ExeDirectory, std::string("save_data\\arithmetic_simulation.txt"));
  if (information) TradeInformationPath = std::move(*information);
  if (log) TradeLogPath = std::move(*log);
  if (sampling) SamplingCountPath = std::move(*sampling);
  return information && log && sampling;
}

// Everything the create message does after the controls exist. False when the
// program must end.
bool LoadSavedData() {
  if (!PrepareSaveData()) {
    ShowNoMemoryAtStart();
    return false;
  }

  if (LoadTradeInformation() == 1) ShowError(L"01-02", kReasonLoadFailed);
  MoveTradeTextsToInputs();

  std::optional<std::string> logText;
  std::uint8_t logResult = LoadTradeLogText(logText);
  if (logResult == 1) ShowError(L"01-03", kReasonLoadFailed);
  if (logText) {
    ShowTradeLogText(logText);
  } else if (logResult == 255) {
    // No log yet: start a fresh set. If it cannot be written the edit stays empty.
    ResetTradeLog();
    logResult = LoadTradeLogText(logText);
    if (logResult == 1) ShowError(L"01-04", kReasonLoadFailed);
    ShowTradeLogText(logText);
  }
  if (logResult == 1) return false;

  LoadSamplingCount();
  return true;
}

bool StartUp(HWND window, const CREATESTRUCTW& create) {
  mainWindow = window;
  ScaleNewMainWindow(window, create.hInstance);
  try {
    return LoadSavedData();
  } catch (const std::bad_alloc&) {
    ShowNoMemoryAtStart();
    return false;
  }
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
    case WM_DPICHANGED:
      RescaleMainWindow(window, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return message;
    case WM_COMMAND: return RunCommand(window, LOWORD(wParam));
    default: return message;
  }
}

}  // namespace

bool MoveBetweenInputs(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  const int id = GetDlgCtrlID(message.hwnd);
  if (GetParent(message.hwnd) != mainWindow || id < IDC_MARGIN || id > IDC_STOP_LOSS) return false;
  constexpr int kInputs = IDC_STOP_LOSS - IDC_MARGIN + 1;
  const int step = GetKeyState(VK_SHIFT) < 0 ? kInputs - 1 : 1;
  const HWND next = GetDlgItem(mainWindow, IDC_MARGIN + (id - IDC_MARGIN + step) % kInputs);
  SetFocus(next);
  SendMessageW(next, EM_SETSEL, 0, -1);
  return true;
}

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
