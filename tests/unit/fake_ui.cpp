// The scripted window for native tests.
#include "fake_ui.h"

namespace {

// Keeps the fake's own allocations out of the allocation sweep while alive.
struct FakeWork {
  std::size_t saved = std::exchange(allocationFault.countdown, 0);
  ~FakeWork() { allocationFault.countdown = saved; }
};

}  // namespace

void ResetFakeUi() { fakeUi = FakeUi{}; }

bool ShowBox(BoxKind kind, std::wstring_view text) {
  FakeWork work;
  fakeUi.boxes.push_back({kind, std::wstring(text)});
  if (kind != BoxKind::Question) return false;
  if (fakeUi.answers.empty()) return true;
  const bool yes = fakeUi.answers.front();
  fakeUi.answers.pop_front();
  return yes;
}

std::wstring ControlText(int id, int bufferChars) {
  FakeWork work;
  fakeUi.controlsRead.push_back(id);
  std::wstring text = fakeUi.controls[id];
  if (bufferChars > 0 && text.size() > static_cast<size_t>(bufferChars - 1)) text.resize(bufferChars - 1);
  return text;
}

void SetControlText(int id, std::wstring_view text) {
  FakeWork work;
  fakeUi.controls[id] = std::wstring(text);
}

std::optional<std::string> FetchVersionText() {
  FakeWork work;
  ++fakeUi.fetches;
  return fakeUi.reply;
}

void BeginRun(RunKind kind) {
  FakeWork work;
  fakeUi.runs.push_back(kind);
  fakeUi.runOpen = true;
}

bool ContinueRun(std::int64_t done, std::int64_t total) {
  FakeWork work;
  fakeUi.asked.emplace_back(done, total);
  return fakeUi.asked.size() < fakeUi.stopAt;
}

void EndRun() { fakeUi.runOpen = false; }
