// The sampling-count setting dialog: shows the count, SAVE (also Enter) writes
// the typed text, CANCEL, Esc and the close box write nothing.
#include "app/sampling_count_dialog.h"

#include <string_view>

#include "app/platform_win.h"
#include "res/resource.h"
#include "sim/sampling_count.h"

namespace {

constexpr INT_PTR kSaved = 1;
constexpr INT_PTR kCancelled = 2;

INT_PTR CALLBACK SamplingCountDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const SamplingCountOpening opening = OpenSamplingCountDialog();
      if (!opening.error.code.empty()) {
        ShowErrorOwned(dialog, opening.error.code, opening.error.reason);
        EndDialog(dialog, kCancelled);
      } else {
        SetDlgItemTextW(dialog, IDC_SAMPLING_COUNT, opening.text.c_str());
      }
      return FALSE;  // no default focus
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          // Only the first seven characters are read.
          wchar_t typed[kSavedSamplingChars + 1] = {};
          GetDlgItemTextW(dialog, IDC_SAMPLING_COUNT, typed, static_cast<int>(kSavedSamplingChars + 1));
          const SiteError error = SaveSamplingCountText(typed);
          if (!error.code.empty()) {
            ShowErrorOwned(dialog, error.code, error.reason);
            EndDialog(dialog, kCancelled);
            return FALSE;
          }
          EndDialog(dialog, kSaved);
          return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, kCancelled); return TRUE;
        default: return FALSE;
      }
    case WM_CLOSE: EndDialog(dialog, kCancelled); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

void ShowSamplingCountDialog(HWND owner) {
  DialogBoxParamW(ProgramInstance(), L"MAINWINDOW_ARITHMETIC_SIMULATION_SETTINGBOX", owner,
                  SamplingCountDialogProc, 0);
}
