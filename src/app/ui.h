// The thin layer between the command logic and the window: control texts and
// message boxes of the main window. The exe links the Win32 half (ui_win.cpp);
// native tests link a scripted stand-in.
#pragma once

#include <string>
#include <string_view>

#include "res/resource.h"


// Every box belongs to one kind, which fixes its caption, icon and buttons.
enum class BoxKind {
  Error,          // "ERROR!!", warning, OK
  FieldWarning,   // "オペレーション確認", warning, OK
  Question,       // "オペレーション確認", question, Yes and No
  Completion,     // "オペレーション確認", information, OK
  TradeResult,    // "トレード状況", information, OK
  VersionResult,  // "バージョンアップ確認", information, OK
};

// Shows a box owned by the main window. True only when a question was
// answered Yes.
bool ShowBox(BoxKind kind, std::wstring_view text);

// Shows "エラーコード:<code>\n<reason>" as an error box.
inline void ShowError(std::wstring_view code, std::wstring_view reason) {
  ShowBox(BoxKind::Error, std::wstring(L"エラーコード:").append(code).append(L"\n").append(reason));
}

inline constexpr std::wstring_view kReasonNoMemory = L"メモリの確保に失敗しました。";
inline constexpr std::wstring_view kReasonLoadFailed = L"ファイルのロードに失敗しました。";
inline constexpr std::wstring_view kReasonSaveFailed = L"ファイルのセーブに失敗しました。";
inline constexpr std::wstring_view kReasonLogData = L"LOG DATAの作成に失敗しました。";

// The text of a control of the main window, read as into a buffer of
// bufferChars UTF-16 units (the terminating zero included).
std::wstring ControlText(int id, int bufferChars);

void SetControlText(int id, std::wstring_view text);
