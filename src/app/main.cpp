// The program's entry: finds the program's directory, registers the window
// class, creates the main window and runs the message loop.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/main_window.h"
#include "app/platform_win.h"
#include "io/directory.h"
#include "io/paths.h"
#include "layout/layout.h"

namespace {

// The length of the module's name in the ANSI code page, or 0. The narrow
// call cannot tell it: it may stop short of a double-byte character that
// does not fit and report the shorter name as whole.
int AnsiNameBytes(HINSTANCE instance) {
  std::wstring wide(32768, L'\0');
  const DWORD units = GetModuleFileNameW(instance, wide.data(), static_cast<DWORD>(wide.size()));
  if (units == 0 || units >= wide.size()) return 0;
  return WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(units), nullptr, 0, nullptr, nullptr);
}

// Finds ExeDirectory. False when the module's name cannot be had whole: a name
// cut off at the buffer's end would put the saved files somewhere else.
bool FindExeDirectory(HINSTANCE instance) {
  const int bytes = AnsiNameBytes(instance);
  if (bytes <= 0 || bytes >= MAX_PATH) return false;
  char moduleName[MAX_PATH];
  const DWORD length = GetModuleFileNameA(instance, moduleName, MAX_PATH);
  if (length != static_cast<DWORD>(bytes)) return false;
  ExeDirectory = DirectoryOf(std::string_view(moduleName, length));
  return !ExeDirectory.empty();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"MAINICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszMenuName = kMainWindowClassName;
  windowClass.lpszClassName = kMainWindowClassName;

  try {
    if (!FindExeDirectory(instance)) return 1;
  } catch (const std::bad_alloc&) {
    return 1;
  }

  if (RegisterClassW(&windowClass) == 0) {
    ShowErrorOwned(nullptr, L"00-01", L"ウィンドウクラスの作成に失敗しました｡");
    return 1;
  }
  // Created visible, at the system's default place; the show command the
  // program was started with is not used.
  // At 96 DPI its layout's size; its create message scales it to its screen.
  const HWND window =
      CreateWindowExW(0, kMainWindowClassName, L"Tallowind", kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      kMainWindowSize.width, kMainWindowSize.height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) {
    ShowErrorOwned(nullptr, L"00-02", L"メインウィンドウの生成に失敗しました｡");
    return 1;
  }

  MSG message{};
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (MoveBetweenInputs(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
