// The WinINet half of the version check: fetches the version text with a
// plain HTTP GET that bypasses the local cache. Diagnostics go to standard
// error, which a windowed program does not show.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <memory>
#include <new>

#include "platform/platform.h"

namespace {

// The narrow build option as a wide literal: ASCII only.
constexpr const wchar_t* kVersionUrl = L"" TALLOWIND_VERSION_URL;
constexpr const wchar_t* kUserAgent = L"brindle-oakmoor";
constexpr DWORD kChunkBytes = 127;

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

void Diagnose(const char* what) {
  std::fprintf(stderr, "%s: error %lu\n", what, static_cast<unsigned long>(GetLastError()));
}

}  // namespace

std::optional<std::string> FetchVersionText() {
  DeleteUrlCacheEntryW(kVersionUrl);  // a stale copy is no answer; its absence is no error
  // Declared in this order, the URL handle is closed before the Internet handle.
  const InternetHandle internet(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) {
    Diagnose("open error");
    return std::nullopt;
  }
  const InternetHandle url(InternetOpenUrlW(internet.get(), kVersionUrl, nullptr, 0, 0, 0));
  if (!url) {
    Diagnose("URL open error");
    return std::nullopt;
  }
  try {
    std::string text;
    char chunk[kChunkBytes];
    DWORD read = 0;
    for (;;) {
      if (!InternetReadFile(url.get(), chunk, kChunkBytes, &read)) {
        Diagnose("read error");  // a reply cut short is no reply
        return std::nullopt;
      }
      if (read == 0) break;
      text.append(chunk, read);
      // Nothing this long is a version: stop, and leave the text too long to pass.
      if (text.size() > kMaxVersionReplyBytes) break;
    }
    return text;
  } catch (const std::bad_alloc&) {
    Diagnose("memory allocation failed");
    return std::nullopt;
  }
}
