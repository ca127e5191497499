// The text of a trade log whose "ARRAY:" lines hold the given lists, every
// record but the last resolved as a loss (the readers judge results by the
// lists' lengths, not by the STATUS lines).
#pragma once

#include <initializer_list>
#include <string>

inline std::string LogText(std::initializer_list<std::string> lists) {
  std::string text;
  int number = 1;
  for (const std::string& list : lists) {
    if (number > 1) text += "STATUS:LOSE\n\n";
    text += "\xA5TRADE No." + std::to_string(number++) + "\nDATE:Sat Dec 05 09:15:02 2026\nARRAY:" + list + "\n";
  }
  return text;
}
