// The reminder's due check, which reads reminder.hif afresh every 3 s, with 1000 alarms.

#include <benchmark/benchmark.h>

#include <string>

#include "alarms/ReminderDueCheck.h"
#include "alarms/RingService.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

constexpr int kAlarms = 1000;

// 1000 alarms spread over the day, or all of them due in the same minute (every one then
// goes through the whole check).
std::string ReminderBytes(bool allDue) {
  std::string bytes = "[SYSTEM]\r\nCount=" + std::to_string(kAlarms) + "\r\nEveryHour=1\r\n";
  for (int i = 0; i < kAlarms; ++i) {
    const int minuteOfDay = allDue ? 9 * 60 : (i * 7) % (24 * 60);
    bytes += "[" + std::to_string(i) + "]\r\nCaption=Alarm number " + std::to_string(i) +
             "\r\nHour=" + PadNumber(minuteOfDay / 60, 2, '0') +
             "\r\nMin=" + PadNumber(minuteOfDay % 60, 2, '0') +
             "\r\nEnabled=1\r\nDay1=1\r\nDay2=1\r\nDay3=1\r\nDay4=1\r\nDay5=1\r\nDay6=0\r\n"
             "Day7=0\r\nDayE=0\r\nSndStd=1\r\nSndFile=0\r\nSndLoop=0\r\nSndFilename=\r\n";
  }
  return bytes;
}

struct Reminder : testing::SimPortSet<> {
  explicit Reminder(bool allDue) {
    ctx.values.ProfileDir = home.path();
    testing::WriteBytes(home / "reminder.hif", ReminderBytes(allDue));
    clock.Set({2026, 1, 5, 9, 0, 30, 0});  // a Monday
  }
  testing::TempDir home;
  testing::RecordingMainView view;
  CoreContext ctx{Ports(), view, home.path()};
  CoreHotkeys hotkeys{ctx};
  RingService ring{ctx, hotkeys};
  ReminderDueCheck due{ctx, ring};
};

void BM_RemTimerTick(benchmark::State& state) {
  Reminder r(state.range(0) != 0);
  r.due.RemTimerTimer();  // the file parsed once, as the running suite has it
  for (auto _ : state)
    r.due.RemTimerTimer();
  state.SetLabel(state.range(0) != 0 ? "1000 alarms, all due now" : "1000 alarms over the day");
}
BENCHMARK(BM_RemTimerTick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelorin

BENCHMARK_MAIN();
