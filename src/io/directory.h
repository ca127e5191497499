// Folders: the program's folder from its file name, and making a folder.
// Paths are narrow text in the ANSI code page.
#pragma once

#include <string>
#include <string_view>

// What the program puts between a folder and a name in it: '\\' on Windows,
// '/' natively.
extern const char kPathSeparator;

// The folder part of a file's narrow name, up to and including its last
// separator ('\\' or '/', both of which end a folder on Windows). The name is
// walked character by character, so that the second byte of a double-byte
// character, which may be 0x5C, is never taken for a backslash. Empty when
// the name holds no separator.
std::string DirectoryOf(std::string_view fileName);

// Creates the folder unless it exists; its parent must exist. Whether files
// can then be kept in it is FolderAcceptsFiles's to say. Throws
// std::bad_alloc when memory runs out.
void MakeDirectory(const std::string& path);
