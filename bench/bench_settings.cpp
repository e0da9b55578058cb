// Settings files shaped like a full organizer file: 8192 numbered sections of 25 keys;
// changes of many keys at once (a numbered list, the Programs link check).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "common/AtomicFile.h"
#include "core/ProgramsLinkCheck.h"
#include "core/SuiteOnSim.h"
#include "storage/SettingsDocument.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {
namespace {

constexpr int kSections = 8192;

// The bytes of the organizer-shaped file, code page 1251 with CR LF lines.
std::string OrganizerBytes(int sections = kSections) {
  const std::string cyrillic = "\xCF\xEE\xE7\xE2\xEE\xED\xE8\xF2\xFC \xE2\xF0\xE0\xF7\xF3";
  std::string memo;
  for (int word = 0; word < 7; ++word)
    memo += cyrillic + " ";
  std::string bytes;
  for (int i = 0; i < sections; ++i) {
    const std::string n = std::to_string(i);
    bytes += "[" + n + "]\r\n";
    bytes += "TITLE=" + cyrillic + " " + n + ", " + cyrillic + "\r\n";
    bytes += "MEMO0=" + memo + n + "\r\n";
    bytes += "MEMO1=" + memo + "\r\n";
    bytes +=
        "MEMOCount=2\r\nEveryDay=0\r\nRepeat=15\r\nRepeatMin=1\r\nHourX=07\r\nMinuteX=30\r\n"
        "Time=1\r\nDayX=14\r\nMonthX=03\r\nDate=1\r\nEnabled=1\r\nPeriodT=0\r\n"
        "PeriodHour=00\r\nPeriodMin=00\r\nPeriodE=0\r\nPeriodDay=01\r\nPeriodMonth=01\r\n"
        "SndOff=0\r\nSndStd=1\r\nSndFile=0\r\nSndLoop=0\r\n";
    bytes += "SndFilename=/home/user/.local/share/pelorin/System/Snd/ring" + n + ".wav\r\n";
  }
  return bytes;
}

void WriteOrFail(const std::filesystem::path& file, std::string_view bytes) {
  if (!WriteFileAtomically(file, bytes)) throw std::runtime_error("cannot write " + file.string());
}

// The organizer-shaped file in a temporary directory.
class BenchFile {
 public:
  BenchFile() : bytes_(OrganizerBytes()) { WriteOrFail(path(), bytes_); }
  std::filesystem::path path() const { return dir_.path() / "org.hif"; }
  const std::string& bytes() const { return bytes_; }

 private:
  testing::TempDir dir_;
  std::string bytes_;
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

void BM_FirstParse(benchmark::State& state) {
  const SettingsFile settings(File().path());
  for (auto _ : state) {
    ClearSettingsCache();
    benchmark::DoNotOptimize(settings.ReadString("4096", "TITLE", ""));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(File().bytes().size()));
  state.counters["file_bytes"] = static_cast<double>(File().bytes().size());
}
BENCHMARK(BM_FirstParse)->Unit(benchmark::kMillisecond);

void BM_RepeatedRead(benchmark::State& state) {
  const SettingsFile settings(File().path());
  settings.ReadString("4096", "TITLE", "");
  for (auto _ : state) {
    benchmark::DoNotOptimize(settings.ReadString("4096", "SndFilename", ""));
  }
}
BENCHMARK(BM_RepeatedRead)->Unit(benchmark::kMicrosecond);

// A settings file object opened for the one read and released, as the applets do.
void BM_RepeatedReadNewObject(benchmark::State& state) {
  SettingsFile(File().path()).ReadString("4096", "TITLE", "");
  for (auto _ : state) {
    benchmark::DoNotOptimize(SettingsFile(File().path()).ReadInteger("8191", "Repeat", 0));
  }
}
BENCHMARK(BM_RepeatedReadNewObject)->Unit(benchmark::kMicrosecond);

void BM_DocumentLookup(benchmark::State& state) {
  const SettingsDocument document(File().bytes());
  for (auto _ : state) {
    const auto section = document.FindSection("6000");
    const auto key = document.FindKey(*section, "SndFilename");
    benchmark::DoNotOptimize(document.Value(*key));
  }
}
BENCHMARK(BM_DocumentLookup)->Unit(benchmark::kNanosecond);

void BM_NumberedSectionCount(benchmark::State& state) {
  const SettingsFile settings(File().path());
  for (auto _ : state)
    benchmark::DoNotOptimize(NumberedSectionCount(settings));
}
BENCHMARK(BM_NumberedSectionCount)->Unit(benchmark::kMicrosecond);

// Each write changes the value, so the whole file is written and flushed every time.
void BM_WriteKey(benchmark::State& state) {
  SettingsFile settings(File().path());
  int value = 0;
  for (auto _ : state)
    settings.WriteInteger("4096", "Repeat", ++value);
}
BENCHMARK(BM_WriteKey)->Unit(benchmark::kMillisecond);

// Deleting the first of 1000 numbered sections of 25 keys: the 999 later sections move
// one place down in one write of the file.
void BM_DeleteFirstNumberedSection(benchmark::State& state) {
  constexpr int kEntries = 1000;
  const testing::TempDir dir;
  const std::filesystem::path file = dir.path() / "list.hif";
  const std::string bytes = OrganizerBytes(kEntries);
  for (auto _ : state) {
    state.PauseTiming();
    WriteOrFail(file, bytes);
    SettingsFile list(file);
    list.ReadString("0", "TITLE", "");  // parsed before the clock runs, as an applet has it
    state.ResumeTiming();
    DeleteNumberedSection(list, 0, kEntries);
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_DeleteFirstNumberedSection)->Unit(benchmark::kMillisecond);

// Many single-key changes in one transaction: one write at the end.
void BM_TransactionOf100Keys(benchmark::State& state) {
  SettingsFile settings(File().path());
  int value = 0;
  for (auto _ : state) {
    SettingsTransaction change(settings);
    for (int key = 0; key < 100; ++key)
      settings.WriteInteger(std::to_string(key * 80), "Repeat", ++value);
    change.Commit();
  }
}
BENCHMARK(BM_TransactionOf100Keys)->Unit(benchmark::kMillisecond);

// The Programs link check at profile load over 100 entries, 30 of whose files are gone,
// all deleted with one "Yes to All".
void BM_ProgramsLinkCheckDeleting30(benchmark::State& state) {
  testing::SuiteOnSim s;
  std::filesystem::create_directories(s.suite.context().layout.ProfileBackupDir("Master"));
  const std::filesystem::path run = s.suite.values().ProfileDir / "run.hif";
  const std::filesystem::path present = s.home.path() / "present";
  WriteOrFail(present, "#!/bin/sh\n");
  std::string bytes = "[SYSTEM]\r\nCount=100\r\n";
  for (int entry = 0; entry < 100; ++entry) {
    const std::string n = std::to_string(entry);
    const bool gone = entry % 10 < 3;
    bytes += "[" + n + "]\r\nCaption=Program " + n +
             "\r\nFilename=" + (gone ? (s.home.path() / ("gone" + n)).string() : present.string()) +
             "\r\nParams=--start " + n + "\r\nImageIndex=4\r\nPriority=3\r\nFast=1\r\nFastName=P" +
             n + "\r\nIllusionEnable=0\r\nWaitSec=0\r\nIllusionDate=01.01.01\r\n";
  }
  for (auto _ : state) {
    state.PauseTiming();
    WriteOrFail(run, bytes);
    s.dialogs.ExpectContaining("is not exists!", ports::DialogAnswer::YesToAll);
    state.ResumeTiming();
    s.suite.links().CheckAtProfileLoad();
  }
  if (SettingsFile(run).ReadInteger("SYSTEM", "Count", 0) != 70) {
    state.SkipWithError("the check did not delete the 30 entries");
  }
}
BENCHMARK(BM_ProgramsLinkCheckDeleting30)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelorin

BENCHMARK_MAIN();
