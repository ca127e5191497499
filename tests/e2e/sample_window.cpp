// A small window program for the driver's own test: a main window of the
// class the driver looks for, with a few edits and buttons, boxes of each
// standard icon, a painted square and a menu command that ends it.
#include <windows.h>

namespace {

constexpr int kEditFirst = 10001;
constexpr int kEditMarker = 10017;
constexpr int kButtonQuestion = 20008;
constexpr int kButtonWarning = 20014;
constexpr int kButtonPlain = 20015;
constexpr int kMenuExit = 1100;

void OnCommand(HWND window, int id) {
  switch (id) {
    case kButtonQuestion:
      if (MessageBoxW(window, L"続けますか?", L"質問", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        MessageBoxW(window, L"はい", L"結果", MB_OK | MB_ICONINFORMATION);
      } else {
        SetDlgItemTextW(window, kEditFirst, L"no");
      }
      break;
    case kButtonWarning:
      MessageBoxW(window, L"エラーコード:00-00\n警告", L"ERROR!!", MB_OK | MB_ICONWARNING);
      break;
    case kButtonPlain:
      MessageBoxW(nullptr, L"plain", L"PLAIN", MB_OK);
      break;
    case kMenuExit:
      PostQuitMessage(0);
      break;
  }
}

LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      auto instance = reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance;
      CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_RIGHT, 150, 40, 195, 25, window,
                      reinterpret_cast<HMENU>(kEditFirst), instance, nullptr);
      CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 575, 575, 195, 25, window,
                      reinterpret_cast<HMENU>(kEditMarker), instance, nullptr);
      CreateWindowExW(0, L"BUTTON", L"ASK", WS_CHILD | WS_VISIBLE, 360, 40, 100, 25, window,
                      reinterpret_cast<HMENU>(kButtonQuestion), instance, nullptr);
      CreateWindowExW(0, L"BUTTON", L"WARN", WS_CHILD | WS_VISIBLE, 835, 180, 100, 25, window,
                      reinterpret_cast<HMENU>(kButtonWarning), instance, nullptr);
      CreateWindowExW(0, L"BUTTON", L"PLAIN", WS_CHILD | WS_VISIBLE, 835, 610, 100, 25, window,
                      reinterpret_cast<HMENU>(kButtonPlain), instance, nullptr);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT square{575, 260, 935, 420};
      HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
      FillRect(dc, &square, blue);
      DeleteObject(blue);
      SetPixel(dc, 600, 340, RGB(255, 0, 255));
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam));
      return 0;
    case WM_CLOSE:
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = SampleWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MAINWINDOW_MENU";
  if (!RegisterClassW(&windowClass)) return 1;
  HMENU menu = CreateMenu();
  HMENU tools = CreatePopupMenu();
  AppendMenuW(tools, MF_STRING, kMenuExit, L"終了(&X)");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"ツール(&T)");
  HWND window = CreateWindowExW(0, L"MAINWINDOW_MENU", L"Sample",
                                WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 960, 700, nullptr, menu, instance, nullptr);
  if (window == nullptr) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
