// The WinINet half of the version check: fetches the version text with a
// plain HTTP GET that bypasses the local cache. Diagnostics go to standard
// error, which a windowed program does not show.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>

#include "platform/platform.h"

namespace {

// The narrow build option as a wide literal: ASCII only.
constexpr const wchar_t* kVersionUrl = L"" TALLOWIND_VERSION_URL;
constexpr const wchar_t* kUserAgent = L"brindle-oakmoor";
constexpr DWORD kChunkBytes = 127;

// A server that takes the connection and never answers must not hold the
// window long: each step of the request (connecting, sending, receiving)
// gives up after kStepTimeoutMs, and no read starts once the check has
// taken kGiveUpAfterMs, so that it ends within ten seconds whatever the
// server does. The request is opened step by step because only a request's
// own handle takes these limits everywhere.
constexpr DWORD kStepTimeoutMs = 3000;
constexpr ULONGLONG kGiveUpAfterMs = 6000;

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

void Diagnose(const char* what) {
  std::fprintf(stderr, "%s: error %lu\n", what, static_cast<unsigned long>(GetLastError()));
}

// A GET of the version text's URL, sent: the connection to its server and the
// request with its limits, the request closed before the connection. Both
// empty when the URL cannot be read or the request cannot be sent.
struct Request {
  InternetHandle connection;
  InternetHandle request;
};

Request SendRequest(HINTERNET internet) {
  wchar_t host[256] = {};
  wchar_t path[2048] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
  if (!InternetCrackUrlW(kVersionUrl, 0, 0, &parts)) return {};
  Request sent;
  sent.connection.reset(
      InternetConnectW(internet, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!sent.connection) return {};
  sent.request.reset(HttpOpenRequestW(sent.connection.get(), L"GET", path, nullptr, nullptr, nullptr,
                                      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!sent.request) return {};
  DWORD timeout = kStepTimeoutMs;
  for (DWORD option :
       {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionW(sent.request.get(), option, &timeout, sizeof timeout);
  }
  if (!HttpSendRequestW(sent.request.get(), nullptr, 0, nullptr, 0)) return {};
  return sent;
}

// The reply's body, read in chunks until it ends, grows past the bound or
// the check has taken too long. Throws std::bad_alloc when memory runs out.
std::optional<std::string> ReadReply(HINTERNET request, ULONGLONG start) {
  std::string text;
  char chunk[kChunkBytes];
  for (DWORD read = 0;;) {
    if (GetTickCount64() - start > kGiveUpAfterMs) {
      Diagnose("too slow");  // a reply that trickles in is no reply either
      return std::nullopt;
    }
    if (!InternetReadFile(request, chunk, kChunkBytes, &read)) {
      Diagnose("read error");  // a reply cut short is no reply
      return std::nullopt;
    }
    if (read == 0) break;
    text.append(chunk, read);
    // Nothing this long is a version: stop, and leave the text too long to pass.
    if (text.size() > kMaxVersionReplyBytes) break;
  }
  return text;
}

}  // namespace

std::optional<std::string> FetchVersionText() {
  const ULONGLONG start = GetTickCount64();
  DeleteUrlCacheEntryW(kVersionUrl);  // a stale copy is no answer; its absence is no error
  // Declared first, the Internet handle is closed last.
  const InternetHandle internet(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) {
    Diagnose("open error");
    return std::nullopt;
  }
  const Request sent = SendRequest(internet.get());
  if (!sent.request) {
    Diagnose("URL open error");
    return std::nullopt;
  }
  try {
    return ReadReply(sent.request.get(), start);
  } catch (const std::bad_alloc&) {
    Diagnose("memory allocation failed");
    return std::nullopt;
  }
}
