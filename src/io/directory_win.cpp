// Folders on Windows: backslashes, and the folder made from its UTF-16 name.
#include <windows.h>

#include <new>

#include "io/codepage.h"
#include "io/directory.h"

const char kPathSeparator = '\\';

void MakeDirectory(const std::string& path) {
  const std::optional<std::wstring> wide = AnsiToWide(path);
  if (!wide) throw std::bad_alloc();
  CreateDirectoryW(wide->c_str(), nullptr);  // an existing folder is fine
}
