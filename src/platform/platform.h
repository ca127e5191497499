// The platform layer: all that the portable commands ask of the window and the
// network, as free functions. The exe links the Win32 side (src/app and the
// fetch in src/net); native tests link a scripted stand-in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every box belongs to one kind, which fixes its caption, icon and buttons.
enum class BoxKind {
  Error,          // "ERROR!!", warning, OK
  FieldWarning,   // "オペレーション確認", warning, OK
  Question,       // "オペレーション確認", question, Yes and No
  Completion,     // "オペレーション確認", information, OK
  TradeResult,    // "トレード状況", information, OK
  VersionResult,  // "バージョンアップ確認", information, OK
  SevereError,    // "ERROR!!", error, OK
};

// Who a box belongs to: the main window, or nothing (a box that may show
// before the window can be relied on).
enum class BoxOwner { MainWindow, None };

// Shows a box. True only when a question was answered Yes.
bool ShowBox(BoxKind kind, std::wstring_view text, BoxOwner owner = BoxOwner::MainWindow);

// The text of a control of the main window, read as into a buffer of
// bufferChars UTF-16 units (the terminating zero included).
std::wstring ControlText(int id, int bufferChars);

void SetControlText(int id, std::wstring_view text);

// Everything the web server sent for the version text's URL (a plain HTTP
// GET that bypasses the local cache, with the user agent "brindle-oakmoor"),
// byte for byte, or nothing when the server cannot be reached or memory runs
// out. A reply longer than kMaxVersionReplyBytes is cut off just past it.
std::optional<std::string> FetchVersionText();

inline constexpr std::size_t kMaxVersionReplyBytes = 64 * 1024;

// Runs that may take long (both simulations). A run is opened before it
// starts and closed when it ends; meanwhile it reports now and then how far
// it is and asks whether to go on. A run that lasts shows a progress window
// with a way to stop it.
enum class RunKind { Arithmetic, MonteCarlo };

void BeginRun(RunKind kind);

// done of total (total 0 when the end is not known). False once the user
// has stopped the run or the program is closing: the run then ends at once.
bool ContinueRun(std::int64_t done, std::int64_t total);

void EndRun();

// Opens a run for as long as it lives.
struct RunScope {
  explicit RunScope(RunKind kind) { BeginRun(kind); }
  ~RunScope() { EndRun(); }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;
};
