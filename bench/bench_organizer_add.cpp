// Adding one message to an organizer of 8191 (so that it then holds 8192): the write of
// the new section, its schedule row, the sorted rewrite of org.hif and the list's fill.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "alarms/RingService.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSchedule.h"
#include "organizer/TF_Shed.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

constexpr int kEntries = 8191;

// Entries spread over the year and the day, already in order, each with two memo lines
// of Cyrillic text and its own sound file, as a long-used organizer holds them.
std::string OrganizerBytes() {
  const std::string cyrillic = "\xCF\xEE\xE7\xE2\xEE\xED\xE8\xF2\xFC \xE2\xF0\xE0\xF7\xF3";
  std::string memo;
  for (int word = 0; word < 7; ++word)
    memo += cyrillic + " ";
  std::string bytes = "[SYSTEM]\r\nCount=" + std::to_string(kEntries) +
                      "\r\nInterval=5000\r\nDefaultMonth=0\r\nSignal=1\r\nWelcomeScreen=1\r\n"
                      "WelcomeTime=07:00\r\nWelcomeDate=01.01.2026\r\nWelcomeEmpty=0\r\n"
                      "ShowTodayOnly=0\r\n";
  for (int i = 0; i < kEntries; ++i) {
    const std::string n = std::to_string(i);
    const int dayOfYear = i * 336 / kEntries;  // 12 months of 28 days
    const int minuteOfDay = (i * 37) % (24 * 60);
    bytes += "[" + n + "]\r\nTITLE=" + cyrillic + " " + n + "\r\nMEMO0=" + memo + n +
             "\r\nMEMO1=" + memo +
             "\r\nMEMOCount=2\r\nEveryDay=0\r\nRepeat=15\r\nRepeatMin=1\r\nHourX=" +
             PadNumber(minuteOfDay / 60, 2, '0') +
             "\r\nMinuteX=" + PadNumber(minuteOfDay % 60, 2, '0') +
             "\r\nTime=1\r\nDayX=" + PadNumber(dayOfYear % 28 + 1, 2, '0') +
             "\r\nMonthX=" + PadNumber(dayOfYear / 28 + 1, 2, '0') +
             "\r\nDate=1\r\nEnabled=1\r\nPeriodT=0\r\nPeriodHour=00\r\nPeriodMin=00\r\n"
             "PeriodE=0\r\nPeriodDay=01\r\nPeriodMonth=01\r\nSndOff=0\r\nSndStd=1\r\nSndFile=0\r\n"
             "SndLoop=0\r\nSndFilename=/home/user/.local/share/pelorin/System/Snd/ring" +
             n + ".wav\r\n";
  }
  return bytes;
}

struct Organizer : testing::SimPortSet<> {
  Organizer() {
    // A profile with its backups on, as the suite runs it.
    ctx.values.ProfileDir = ctx.layout.ProfileDir("Master");
    std::filesystem::create_directories(ctx.values.ProfileDir);
    ctx.custodo.SetProfilePath("Master");
    ctx.custodo.SetCustodo(true);
    ctx.custodo.CheckSettingsFile(org_file::kName);  // makes the backup folder
    clock.Set({2026, 6, 15, 10, 0, 30, 0});
    schedule.ScheduleAll();
  }
  void Reset(const std::string& bytes) {
    testing::WriteBytes(org_file::FileIn(ctx.values.ProfileDir), bytes);
  }
  testing::TempDir home;
  testing::RecordingMainView view;
  CoreContext ctx{Ports(), view, home.path()};
  CoreHotkeys hotkeys{ctx};
  RingService ring{ctx, hotkeys};
  OrganizerSchedule schedule{ctx, {}};
  TF_Shed shed{ctx, schedule, ring, [](int) {}};
};

void BM_AddOneEntryTo8191(benchmark::State& state) {
  const std::string bytes = OrganizerBytes();
  Organizer org;
  for (auto _ : state) {
    state.PauseTiming();
    org.Reset(bytes);
    org.shed.FillList();
    state.ResumeTiming();
    org.shed.AddBtnClick();
    org.shed.editor.NameEdit = "Dentist";
    org.shed.editor.MemoEdit = {"Bring the card"};
    org.shed.editor.TimeHour = "14";
    org.shed.editor.TimeMinute = "30";
    org.shed.AddBtnClick();
  }
  if (org.shed.Rows().size() != kEntries + 1) state.SkipWithError("the entry was not added");
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_AddOneEntryTo8191)->Unit(benchmark::kMillisecond);

// Its parts: the sorted rewrite alone, and the list's fill alone.
void BM_SortEntries(benchmark::State& state) {
  const std::string bytes = OrganizerBytes();
  Organizer org;
  org.Reset(bytes);
  for (auto _ : state)
    org.shed.SortEntries();
}
BENCHMARK(BM_SortEntries)->Unit(benchmark::kMillisecond);

void BM_FillList(benchmark::State& state) {
  const std::string bytes = OrganizerBytes();
  Organizer org;
  org.Reset(bytes);
  org.shed.FillList();
  for (auto _ : state)
    org.shed.FillList();
}
BENCHMARK(BM_FillList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelorin

BENCHMARK_MAIN();
