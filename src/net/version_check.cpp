// Command 2000, the version check: the fetched text is checked, compared with
// this program's version and answered with one box.
#include "net/version_check.h"

#include <new>
#include <string_view>

#include "core/decimal.h"
#include "io/codepage.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "res/version.h"

namespace {

constexpr std::string_view kDownloadUrl = TALLOWIND_DOWNLOAD_URL;

constexpr std::wstring_view kUpToDate = L"このソフトウェアは最新バージョンです。";
constexpr std::wstring_view kNewerHead = L"新しいバージョンが公開されています。\n最新バージョンはVersion ";
constexpr std::wstring_view kNewerTail = L"です。\nダウンロードはこちらから可能です。→";
constexpr std::wstring_view kReasonNoServer = L"WEBサーバへのアクセスに失敗しました。";
constexpr std::wstring_view kReasonBadVersion = L"バージョン情報へのアクセスに失敗しました。";

// The newer-version message's own bytes: its head and tail in code page 932
// (10 ASCII characters and 47 others of two bytes) and the terminating zero.
constexpr std::size_t kNewerMessageOwnBytes = 105;

// Whether the newer-version message naming a version text of this many bytes
// fits in its narrow buffer.
bool NewerMessageFits(std::size_t versionBytes) {
  return versionBytes + kNewerMessageOwnBytes + kDownloadUrl.size() <= kVersionMessageBytes;
}

// The newer-version message, or nothing when a conversion fails or memory
// runs out.
std::optional<std::wstring> NewerMessage(std::string_view version) {
  try {
    const std::optional<std::wstring> versionWide = AnsiToWide(version);
    const std::optional<std::wstring> urlWide = AnsiToWide(kDownloadUrl);
    if (!versionWide || !urlWide) return std::nullopt;
    return std::wstring(kNewerHead).append(*versionWide).append(kNewerTail).append(*urlWide);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

void AnswerVersionText(const std::optional<std::string>& text, std::string_view ownVersion) {
  if (!text) {
    ShowError(L"02-01", kReasonNoServer);
    return;
  }
  // Only a plain decimal is a version; an oversized reply never is, whatever
  // its first bytes were.
  if (text->size() > kMaxVersionReplyBytes || CheckDecimalSyntax(*text)) {
    ShowError(L"02-02", kReasonBadVersion);
    return;
  }
  if (ParseDecimal(*text) <= ParseDecimal(ownVersion)) {
    ShowBox(BoxKind::VersionResult, kUpToDate);
    return;
  }
  // The message names the version exactly as sent, so one too long to fit
  // is rejected rather than cut.
  if (!NewerMessageFits(text->size())) {
    ShowError(L"02-02", kReasonBadVersion);
    return;
  }
  // A message that cannot be composed fails as a text that cannot be received.
  const std::optional<std::wstring> message = NewerMessage(*text);
  if (!message) {
    ShowError(L"02-01", kReasonNoServer);
    return;
  }
  ShowBox(BoxKind::VersionResult, *message);
}

void VersionCheckCommand() { AnswerVersionText(FetchVersionText(), TALLOWIND_VERSION_SHORT); }
