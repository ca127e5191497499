// Message boxes and control texts of the main window over USER32.
#include "app/platform_win.h"

#include <string>

namespace {

struct BoxStyle {
  const wchar_t* caption;
  UINT type;
};

BoxStyle StyleOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Error: return {L"ERROR!!", MB_OK | MB_ICONWARNING};
    case BoxKind::FieldWarning: return {L"オペレーション確認", MB_OK | MB_ICONWARNING};
    case BoxKind::Question: return {L"オペレーション確認", MB_YESNO | MB_ICONQUESTION};
    case BoxKind::Completion: return {L"オペレーション確認", MB_OK | MB_ICONINFORMATION};
    case BoxKind::TradeResult: return {L"トレード状況", MB_OK | MB_ICONINFORMATION};
    case BoxKind::VersionResult: return {L"バージョンアップ確認", MB_OK | MB_ICONINFORMATION};
    case BoxKind::SevereError: return {L"ERROR!!", MB_OK | MB_ICONERROR};
  }
  return {L"ERROR!!", MB_OK | MB_ICONWARNING};
}

}  // namespace

bool ShowBoxOwned(HWND owner, BoxKind kind, std::wstring_view text) {
  const BoxStyle style = StyleOf(kind);
  try {
    const std::wstring terminated(text);
    return MessageBoxW(owner, terminated.c_str(), style.caption, style.type) == IDYES;
  } catch (const std::bad_alloc&) {
    // No copy of the text: say nothing rather than crash; a question stays unanswered (No).
    return false;
  }
}

bool ShowBox(BoxKind kind, std::wstring_view text, BoxOwner owner) {
  return ShowBoxOwned(owner == BoxOwner::MainWindow ? mainWindow : nullptr, kind, text);
}

std::wstring ControlText(int id, int bufferChars) {
  if (bufferChars <= 0) return {};
  std::wstring text(static_cast<std::size_t>(bufferChars), L'\0');
  const UINT length = GetDlgItemTextW(mainWindow, id, text.data(), bufferChars);
  text.resize(length);
  return text;
}

void SetControlText(int id, std::wstring_view text) {
  const std::wstring terminated(text);
  SetDlgItemTextW(mainWindow, id, terminated.c_str());
}
