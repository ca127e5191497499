// The version of Tallowind: the one place it is written. The resource script's
// version information is built from these numbers (with a fourth part of 0),
// and so are the About box's title and the version that the version check
// compares with (MAJOR.MINOR); CMake takes them as the project version, and
// scripts/package.sh names the Windows zip after them. Each line keeps the
// form "#define NAME number", which the last two read as text.
#pragma once

#define TALLOWIND_VERSION_MAJOR 1
#define TALLOWIND_VERSION_MINOR 0
#define TALLOWIND_VERSION_PATCH 0

// "1.0.0.0": the numbers are macro-expanded first, then the dotted token
// sequence is turned into one string literal. Any space between the tokens
// would be kept in the text, so the formatter leaves the line alone.
#define TALLOWIND_STRINGIZE(text) #text
// clang-format off
#define TALLOWIND_DOTTED(a, b, c) TALLOWIND_STRINGIZE(a.b.c.0)
// clang-format on
#define TALLOWIND_VERSION_TEXT \
  TALLOWIND_DOTTED(TALLOWIND_VERSION_MAJOR, TALLOWIND_VERSION_MINOR, TALLOWIND_VERSION_PATCH)

// "1.0" and "Tallowind Version 1.0": the version as the program names it and
// compares it with the published one. Made the same way as the text above.
// clang-format off
#define TALLOWIND_SHORT(a, b) TALLOWIND_STRINGIZE(a.b)
#define TALLOWIND_TITLED(a, b) TALLOWIND_STRINGIZE(Tallowind Version a.b)
// clang-format on
#define TALLOWIND_VERSION_SHORT TALLOWIND_SHORT(TALLOWIND_VERSION_MAJOR, TALLOWIND_VERSION_MINOR)
#define TALLOWIND_ABOUT_TITLE TALLOWIND_TITLED(TALLOWIND_VERSION_MAJOR, TALLOWIND_VERSION_MINOR)
