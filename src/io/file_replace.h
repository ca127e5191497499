// Moves a file over another one, replacing it in one step.
#pragma once

#include <string>

bool ReplaceFileWith(const std::string& source, const std::string& target);
