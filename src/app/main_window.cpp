// The main window procedure: the 36 child controls, start-up loading, command
// routing and the shutdown step. A handler may end as another message (close
// and a failed start-up as the destroy message, a successful Monte Carlo run
// as the paint message); the message it ends as is the one the default window
// procedure receives.
#include "app/main_window.h"

#include <new>
#include <string>

#include "app/about_box.h"
#include "app/paint.h"
#include "app/platform_win.h"
#include "app/progress_window.h"
#include "app/sampling_count_dialog.h"
#include "app/window_scale.h"
#include "io/paths.h"
#include "net/version_check.h"
#include "res/resource.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "startup/saved_data.h"
#include "trade/trade_panel.h"
#include "trade/trade_query.h"

namespace {

bool StartUp(HWND window, const CREATESTRUCTW& create) {
  mainWindow = window;
  ScaleNewMainWindow(window, create.hInstance);
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
