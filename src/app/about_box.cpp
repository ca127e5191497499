// The About box: a modal dialog from the resources whose only control is OK.
#include "app/about_box.h"

namespace {

// OK (or Enter) ends the dialog with 1; Esc and the close box with 2. The
// init message is left to the system, so no control takes the focus at first;
// Enter still presses OK, the default button.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE: EndDialog(dialog, IDCANCEL); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND mainWindow) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(mainWindow, GWLP_HINSTANCE));
  DialogBoxParamW(instance, L"MAINWINDOW_ABOUTBOX", mainWindow, AboutDialogProc, 0);
}
