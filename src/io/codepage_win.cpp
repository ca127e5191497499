// Code-page conversion in the exe: the thread's ANSI code page, no flags, so
// characters it cannot hold become its default character.
#include <windows.h>

#include <climits>
#include <new>

#include "io/codepage.h"

std::optional<std::string> WideToAnsi(std::wstring_view text) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  try {
    std::string result(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), length, result.data(), size, nullptr, nullptr) !=
        size) {
      return std::nullopt;
    }
    return result;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::wstring> AnsiToWide(std::string_view text) {
  if (text.empty()) return std::wstring();
  if (text.size() > INT_MAX) return std::nullopt;
  const int length = static_cast<int>(text.size());
  try {
    // One byte or one double-byte character never yields more than one unit.
    std::wstring result(text.size(), L'\0');
    const int units = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, result.data(), length);
    if (units <= 0) return std::nullopt;
    result.resize(static_cast<std::size_t>(units));
    return result;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool IsLeadByte(char byte) { return IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0; }
