// The progress window and the Win32 side of the run calls: the classic abort
// dialog, without a thread. The run asks ContinueRun at a cadence; that call
// pumps the thread's messages now and then, so the windows repaint and the
// dialog's stop button, Esc and close box can set the stop flag.
#include "app/progress_window.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/platform_win.h"
#include "res/resource.h"
#include "sim/run_progress.h"

namespace {

constexpr ULONGLONG kShowAfterMs = 500;
constexpr ULONGLONG kPumpEveryMs = 10;
constexpr ULONGLONG kUpdateEveryMs = 100;

struct ProgressRun {
  bool active = false;
  RunKind kind = RunKind::Arithmetic;
  ULONGLONG started = 0;
  ULONGLONG pumped = 0;
  ULONGLONG updated = 0;
  bool opened = false;  // the window was asked for (it may have failed)
  HWND dialog = nullptr;
  bool stopped = false;
};

ProgressRun progressRun;

// The stop button (IDCANCEL, so Esc presses it too) and the close box stop
// the run; the dialog itself goes when the run ends.
INT_PTR CALLBACK ProgressDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if ((message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
    progressRun.stopped = true;
    return TRUE;
  }
  return message == WM_INITDIALOG;  // the stop button, the default one, takes the focus
}

// The count (done of total) and, where the end is known, the time still needed.
void ShowProgress(std::int64_t done, std::int64_t total, ULONGLONG now) {
  const std::wstring text =
      ProgressText(progressRun.kind, done, total, static_cast<std::int64_t>(now - progressRun.started));
  SetDlgItemTextW(progressRun.dialog, IDC_PROGRESS_TEXT, text.c_str());
  if (total > 0) {
    SendDlgItemMessageW(progressRun.dialog, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    SendDlgItemMessageW(progressRun.dialog, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(done), 0);
  }
}

// Opens the window with the count and the time estimate already in it, so
// that it never shows an empty text.
void OpenProgressWindow(std::int64_t done, std::int64_t total, ULONGLONG now) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  HWND dialog = CreateDialogParamW(ProgramInstance(), L"MAINWINDOW_SIMULATION_PROGRESSBOX", mainWindow,
                                   ProgressDialogProc, 0);
  if (dialog == nullptr) return;  // the run goes on as it would without the window
  const bool monteCarlo = progressRun.kind == RunKind::MonteCarlo;
  SetWindowTextW(dialog, monteCarlo ? L"MONTE CARLO SIMULATION" : L"ARITHMETIC SIMULATION");
  if (monteCarlo) {
    // The number of trades a path takes is not known: the bar only shows that work goes on.
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    SetWindowLongPtrW(bar, GWL_STYLE, GetWindowLongPtrW(bar, GWL_STYLE) | PBS_MARQUEE);
    SendMessageW(bar, PBM_SETMARQUEE, TRUE, 0);
  }
  progressRun.dialog = dialog;
  progressRun.updated = now;
  ShowProgress(done, total, now);
  EnableWindow(mainWindow, FALSE);
  ShowWindow(dialog, SW_SHOW);
}

// Handles what is waiting for the thread's windows. A quit message is put
// back for the main loop, and the run stops: the program is ending.
void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      progressRun.stopped = true;
      return;
    }
    if (!IsDialogMessageW(progressRun.dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace

bool RunInProgress() { return progressRun.active; }

void BeginRun(RunKind kind) {
  const ULONGLONG now = GetTickCount64();
  progressRun = {true, kind, now, now, now, false, nullptr, false};
}

bool ContinueRun(std::int64_t done, std::int64_t total) {
  const ULONGLONG now = GetTickCount64();
  if (!progressRun.opened) {
    // A run that ends within half a second shows nothing and takes no message.
    if (now - progressRun.started < kShowAfterMs) return true;
    progressRun.opened = true;
    OpenProgressWindow(done, total, now);
  }
  if (progressRun.dialog == nullptr) return true;
  if (now - progressRun.pumped >= kPumpEveryMs) {
    progressRun.pumped = now;
    PumpMessages();
  }
  if (now - progressRun.updated >= kUpdateEveryMs) {
    progressRun.updated = now;
    ShowProgress(done, total, now);
  }
  return !progressRun.stopped;
}

void EndRun() {
  if (progressRun.dialog != nullptr) {
    // The owner first, so that it is active again when the dialog goes.
    EnableWindow(mainWindow, TRUE);
    DestroyWindow(progressRun.dialog);
  }
  progressRun = {};
}
