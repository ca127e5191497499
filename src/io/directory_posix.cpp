// Folders natively: slashes, and mkdir.
#include <sys/stat.h>

#include "io/directory.h"

const char kPathSeparator = '/';

void MakeDirectory(const std::string& path) { mkdir(path.c_str(), 0777); }
