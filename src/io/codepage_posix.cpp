// Code-page conversion in the native build: code page 932 through iconv, the
// encoding the program's saved files have on a Japanese system.
#include <iconv.h>

#include <cerrno>
#include <new>

#include "io/codepage.h"

namespace {

constexpr const char* kAnsiCodePage = "CP932";

struct Converter {
  iconv_t handle;
  Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
  ~Converter() {
    if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
};

// Converts units of From into units of To; a unit that cannot be converted
// becomes the replacement and the conversion goes on after it.
template <typename To, typename From>
std::optional<std::basic_string<To>> Convert(const char* to,
                                             const char* from,
                                             std::basic_string_view<From> text,
                                             To replacement) {
  Converter converter(to, from);
  if (converter.handle == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  try {
    std::basic_string<To> result;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
    std::size_t inLeft = text.size() * sizeof(From);
    To chunk[1024];
    while (inLeft > 0) {
      char* out = reinterpret_cast<char*>(chunk);
      std::size_t outLeft = sizeof(chunk);
      const std::size_t done = iconv(converter.handle, &in, &inLeft, &out, &outLeft);
      result.append(chunk, (sizeof(chunk) - outLeft) / sizeof(To));
      if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
        // EILSEQ or EINVAL: skip the unit that cannot be converted.
        result.push_back(replacement);
        const std::size_t skip = errno == EINVAL ? inLeft : sizeof(From);
        in += skip;
        inLeft -= skip;
      }
    }
    return result;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> WideToAnsi(std::wstring_view text) {
  return Convert<char, wchar_t>(kAnsiCodePage, "WCHAR_T", text, '?');
}

std::optional<std::wstring> AnsiToWide(std::string_view text) {
  return Convert<wchar_t, char>("WCHAR_T", kAnsiCodePage, text, L'?');
}

bool IsLeadByte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
}
