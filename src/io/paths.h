// The directory of the program file and the paths of the three saved files,
// built once at start-up and empty until then.
#pragma once

#include <string>

inline std::string ExeDirectory;          // ends with its backslash
inline std::string TradeInformationPath;  // save_data\trade_information.txt
inline std::string TradeLogPath;          // save_data\trade_query.txt
inline std::string SamplingCountPath;     // save_data\arithmetic_simulation.txt
