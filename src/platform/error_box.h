// Error boxes, written one way: "エラーコード:<code>\n<reason>" in a box of the
// Error kind, the code the site's own ("02-14"), the reason one line. The
// reasons below are those that the modules share; a module keeps its own.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

inline std::wstring ErrorText(std::wstring_view code, std::wstring_view reason) {
  return std::wstring(L"エラーコード:").append(code).append(L"\n").append(reason);
}

inline void ShowError(std::wstring_view code, std::wstring_view reason) {
  ShowBox(BoxKind::Error, ErrorText(code, reason));
}

inline constexpr std::wstring_view kReasonNoMemory = L"メモリの確保に失敗しました。";
inline constexpr std::wstring_view kReasonLoadFailed = L"ファイルのロードに失敗しました。";
inline constexpr std::wstring_view kReasonSaveFailed = L"ファイルのセーブに失敗しました。";
