// What the unit tests share: a scripted window, folders with exact file bytes, dates fixed in UTC, the io headers.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <vector>

#include "io/clock.h"
#include "io/codepage.h"
#include "io/directory.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/error_box.h"
#include "res/resource.h"

struct ShownBox {
  BoxKind kind;
  std::wstring text;
  BoxOwner owner = BoxOwner::MainWindow;
  bool operator==(const ShownBox&) const = default;
};
using Boxes = std::vector<ShownBox>;

inline struct FakeUi {
  std::map<int, std::wstring> controls;                      // control id -> its text
  Boxes boxes;                                               // every box, in order
  bool answerNo = false;                                     // questions are answered No, not Yes
  std::optional<std::string> reply;                          // what the version text's server sends
  std::vector<RunKind> runs;                                 // runs begun, in order
  bool runOpen = false;                                      // between BeginRun and EndRun
  std::vector<std::pair<std::int64_t, std::int64_t>> asked;  // each ContinueRun's done and total
  std::size_t stopAt = SIZE_MAX;                             // the ContinueRun that answers "stop", from 1
} fakeUi;

// Sets the controls from the first id on to texts written "a|b|c": the trade inputs in panel order, or outputs.
inline void SetControls(int first, std::wstring_view texts) {
  for (std::size_t bar; (bar = texts.find(L'|')) != texts.npos; texts.remove_prefix(bar + 1))
    fakeUi.controls[first++] = texts.substr(0, bar);
  fakeUi.controls[first] = texts;
}
inline void SetInputs(std::wstring_view texts) { SetControls(IDC_MARGIN, texts); }
// The texts of the controls first to last, written "a|b|c".
inline std::wstring Shown(int first, int last) {
  std::wstring texts = fakeUi.controls[first];
  while (first < last) texts += L'|' + fakeUi.controls[++first];
  return texts;
}

// The allocation sweep's fault: the allocation that counts the countdown down to 0 throws; the fake's count nothing.
inline struct AllocationFault {
  std::size_t countdown = 0;
  bool met = false;
} allocationFault;

// The clock at Sat Dec 05 09:15:02 2026 and local time in UTC while it lives.
struct FixedDates {
  FixedDates();
  ~FixedDates();  // the real clock and time zone come back
  std::string zone;
};

// A folder of its own for one test, removed with all it holds.
struct TempDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tallowind-test-" + std::to_string(std::random_device{}()));
  TempDir() { std::filesystem::create_directories(path); }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string File(std::string_view name) const { return (path / name).string(); }
};

// A file's bytes exactly, no line ends translated; a missing file reads empty.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
inline std::string ReadBytes(const std::string& path) {
  return std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {});
}
