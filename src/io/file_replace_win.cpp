// Replacing a file on Windows: MoveFileEx with replace-existing, written
// through so the new file is on disk when it returns.
#include <windows.h>

#include "io/file_replace.h"

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
