// The About box: a modal dialog from the resources whose only control is OK.
#include "app/about_box.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <type_traits>

#include "app/platform_win.h"
#include "app/window_scale.h"

namespace {

struct IconDeleter {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

// The program's icon as the box shows it, kept while the box is open.
std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> aboutIcon;

// The size of the program's icons closest to a 32-pixel icon at the DPI; of
// two as close, the larger.
int IconSizeFor(UINT dpi) {
  constexpr std::array<int, 7> kSizes = {16, 24, 32, 48, 64, 128, 256};
  const int wanted = Scaled(32, {static_cast<int>(dpi), 96});
  int best = kSizes[0];
  for (int size : kSizes) {
    if (std::abs(size - wanted) <= std::abs(best - wanted)) best = size;
  }
  return best;
}

// Shows the program's icon drawn at the box's DPI, not stretched.
void ShowIconAtScale(HWND dialog) {
  const int size = IconSizeFor(WindowDpi(dialog));
  aboutIcon.reset(static_cast<HICON>(LoadImageW(ProgramInstance(), L"MAINICON", IMAGE_ICON, size, size, 0)));
  if (aboutIcon) SendDlgItemMessageW(dialog, 0, STM_SETICON, reinterpret_cast<WPARAM>(aboutIcon.get()), 0);
}

// OK (or Enter) ends the dialog with 1; Esc and the close box with 2. No
// control takes the focus at first; Enter still presses OK, the default
// button.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: ShowIconAtScale(dialog); return FALSE;
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
  DialogBoxParamW(ProgramInstance(), L"MAINWINDOW_ABOUTBOX", mainWindow, AboutDialogProc, 0);
  aboutIcon.reset();
}
