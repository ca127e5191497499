// The scripted window for the unit tests, and the fixed dates.
#include "fake_ui.h"

#include <cstdlib>
#include <ctime>
#include <utility>

namespace {

// Holds the allocation sweep's fault off while the fake works.
struct FakeWork {
  std::size_t countdown = std::exchange(allocationFault.countdown, 0);
  ~FakeWork() { allocationFault.countdown = countdown; }
};

void SetTimeZone(const std::string& zone) {  // an empty zone is the system's own
#ifdef _WIN32
  _putenv(("TZ=" + zone).c_str());
  _tzset();
#else
  zone.empty() ? unsetenv("TZ") : setenv("TZ", zone.c_str(), 1);
  tzset();
#endif
}

}  // namespace

FixedDates::FixedDates() : zone(std::getenv("TZ") ? std::getenv("TZ") : "") {
  SetTimeZone("UTC0");
  SetClockForTesting(1796462102);
}
FixedDates::~FixedDates() {
  SetClockForTesting(std::nullopt);
  SetTimeZone(zone);
}

bool ShowBox(BoxKind kind, std::wstring_view text, BoxOwner owner) {
  FakeWork work;
  fakeUi.boxes.push_back({kind, std::wstring(text), owner});
  return kind == BoxKind::Question && !fakeUi.answerNo;
}
bool ContinueRun(std::int64_t done, std::int64_t total) {
  FakeWork work;
  fakeUi.asked.emplace_back(done, total);
  return fakeUi.asked.size() < fakeUi.stopAt;
}
std::wstring ControlText(int id, int chars) {
  FakeWork work;
  return fakeUi.controls[id].substr(0, chars - 1);
}
void SetControlText(int id, std::wstring_view text) {
  FakeWork work;
  fakeUi.controls[id] = text;
}
std::optional<std::string> FetchVersionText() {
  FakeWork work;
  return fakeUi.reply;
}
void BeginRun(RunKind kind) {
  FakeWork work;
  fakeUi.runs.push_back(kind);
  fakeUi.runOpen = true;
}
void EndRun() { fakeUi.runOpen = false; }
