// The organizer's check, which reads org.hif afresh at every tick, with 8192 entries.

#include <benchmark/benchmark.h>

#include <string>

#include "alarms/RingService.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSchedule.h"
#include "organizer/TF_ShedShow.h"
#include "storage/SettingsFile.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

constexpr int kEntries = 8192;

std::string Two(int n) {
  return PadNumber(n, 2, '0');
}

// 8192 entries as the editor writes them, spread over the days and hours of the year,
// a third of them repeating.
std::string OrgBytes() {
  std::string bytes = "[SYSTEM]\r\nCount=" + std::to_string(kEntries) +
                      "\r\nInterval=5000\r\nDefaultMonth=0\r\nSignal=0\r\nWelcomeScreen=0\r\n"
                      "WelcomeTime=07:00\r\nWelcomeDate=05.01.2026\r\nWelcomeEmpty=0\r\n"
                      "ShowTodayOnly=0\r\n";
  for (int i = 0; i < kEntries; ++i) {
    const int day = i % 28 + 1, month = i / 28 % 12 + 1, minuteOfDay = (i * 37) % (24 * 60);
    bytes += "[" + std::to_string(i) + "]\r\nTITLE=Message number " + std::to_string(i) +
             "\r\nMEMO0=The first line of the message\r\nMEMO1=and its second line\r\n"
             "MEMOCount=2\r\nEveryDay=" +
             std::to_string(i % 3 == 0 ? 7 : 0) +
             "\r\nRepeat=" + std::to_string(i % 3 == 1 ? 30 : 0) +
             "\r\nRepeatMin=1\r\nHourX=" + Two(minuteOfDay / 60) +
             "\r\nMinuteX=" + Two(minuteOfDay % 60) + "\r\nTime=1\r\nDayX=" + Two(day) +
             "\r\nMonthX=" + Two(month) +
             "\r\nDate=1\r\nEnabled=1\r\nPeriodT=0\r\nPeriodHour=00\r\nPeriodMin=00\r\n"
             "PeriodE=0\r\nPeriodDay=01\r\nPeriodMonth=01\r\nSndOff=0\r\nSndStd=1\r\nSndFile=0\r\n"
             "SndLoop=0\r\nSndFilename=\r\n";
  }
  return bytes;
}

struct Organizer : testing::SimPortSet<> {
  Organizer() {
    ctx.values.ProfileDir = home.path();
    testing::WriteBytes(org_file::FileIn(home.path()), OrgBytes());
    clock.Set({2026, 1, 5, 9, 0, 30, 0});
    schedule.ReadSettings();
    schedule.ScheduleAll();
    schedule.S_TimerTimer();  // the first check: the change of day, the file parsed
  }
  testing::TempDir home;
  testing::RecordingMainView view;
  CoreContext ctx{Ports(), view, home.path()};
  CoreHotkeys hotkeys{ctx};
  RingService ring{ctx, hotkeys};
  OrganizerSchedule::Windows Calls() {
    OrganizerSchedule::Windows calls;
    calls.popUp = [this](int n) { popup.PopUpEntry(n); };
    return calls;
  }
  OrganizerSchedule schedule{ctx, Calls()};
  TF_ShedShow popup{ctx, ring, schedule};
};

// A tick that finds nothing due, as nearly every tick does.
void BM_S_TimerTimer(benchmark::State& state) {
  Organizer o;
  for (auto _ : state)
    o.schedule.S_TimerTimer();
  state.SetLabel("8192 entries, nothing due");
}
BENCHMARK(BM_S_TimerTimer)->Unit(benchmark::kMicrosecond);

// A tick right after org.hif was changed: the file is parsed again.
void BM_S_TimerTimerAfterAChange(benchmark::State& state) {
  Organizer o;
  for (auto _ : state) {
    state.PauseTiming();
    ClearSettingsCache();
    state.ResumeTiming();
    o.schedule.S_TimerTimer();
  }
  state.SetLabel("8192 entries, the file read and parsed");
}
BENCHMARK(BM_S_TimerTimerAfterAChange)->Unit(benchmark::kMicrosecond);

// A tick in which one message pops up.
void BM_S_TimerTimerWithAMessage(benchmark::State& state) {
  Organizer o;
  for (auto _ : state) {
    state.PauseTiming();
    o.popup.FormClose();
    o.schedule.Table()[kEntries / 2] = {"0900", "0501", false};
    state.ResumeTiming();
    o.schedule.S_TimerTimer();
  }
  state.SetLabel("8192 entries, one message shown");
}
BENCHMARK(BM_S_TimerTimerWithAMessage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelorin

BENCHMARK_MAIN();
