// What the unit tests share: a scripted stand-in for the window, a temporary
// directory with exact file bytes, and trade logs. Tests run in UTC.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/error_box.h"
#include "platform/platform.h"
#include "res/resource.h"

struct ShownBox {
  BoxKind kind;
  std::wstring text;
  BoxOwner owner = BoxOwner::MainWindow;
  bool operator==(const ShownBox&) const = default;
};
using Boxes = std::vector<ShownBox>;

struct FakeUi {
  std::map<int, std::wstring> controls;                      // control id -> its text
  std::vector<int> controlsRead;                             // ids in the order they were read
  std::vector<ShownBox> boxes;                               // every box, in order
  std::deque<bool> answers;                                  // answers to questions; Yes when empty
  std::optional<std::string> reply;                          // what the version text's server sends
  std::vector<RunKind> runs;                                 // runs begun, in order
  bool runOpen = false;                                      // between BeginRun and EndRun
  std::vector<std::pair<std::int64_t, std::int64_t>> asked;  // each ContinueRun's done and total
  std::size_t stopAt = SIZE_MAX;  // the ContinueRun that answers "stop", counted from 1
};
inline FakeUi fakeUi;
inline void ResetFakeUi() { fakeUi = FakeUi{}; }

// Texts written "a|b|c": the trade inputs in panel order, or outputs.
inline std::vector<std::wstring> Fields(std::wstring_view text) {
  std::vector<std::wstring> fields(1);
  for (wchar_t c : text)
    c == L'|' ? fields.emplace_back() : fields.back() += c;
  return fields;
}
inline void SetInputs(std::wstring_view texts) {
  const std::vector<std::wstring> fields = Fields(texts);
  for (std::size_t i = 0; i < fields.size(); ++i)
    fakeUi.controls[IDC_MARGIN + static_cast<int>(i)] = fields[i];
}

// The allocation sweep's fault: while countdown is above 0 each allocation
// counts it down, the one reaching 0 throws. The fake's work never counts.
inline struct AllocationFault {
  std::size_t countdown = 0;
  bool met = false;
} allocationFault;

// A directory of its own for one test, removed with all it holds.
struct TempDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tallowind-test-" + std::to_string(std::random_device{}()));
  TempDir() { std::filesystem::create_directories(path); }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string File(std::string_view name) const { return (path / name).string(); }
};

// A file's bytes exactly, no line ends translated; a missing file reads empty.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A trade log of the given lists, one "ARRAY:" line each: all its readers take.
inline std::string LogText(std::initializer_list<std::string> lists) {
  std::string text;
  for (const std::string& list : lists)
    text += "ARRAY:" + list + "\n";
  return text;
}
