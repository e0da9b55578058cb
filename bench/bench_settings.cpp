// Settings files shaped like a full organizer file: 8192 numbered sections of 25 keys.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "common/AtomicFile.h"
#include "storage/SettingsDocument.h"
#include "storage/SettingsFile.h"

namespace pelorin {
namespace {

constexpr int kSections = 8192;

// The bytes of the organizer-shaped file, code page 1251 with CR LF lines.
std::string OrganizerBytes() {
  const std::string cyrillic = "\xCF\xEE\xE7\xE2\xEE\xED\xE8\xF2\xFC \xE2\xF0\xE0\xF7\xF3";
  std::string memo;
  for (int word = 0; word < 7; ++word)
    memo += cyrillic + " ";
  std::string bytes;
  for (int i = 0; i < kSections; ++i) {
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

// A temporary directory holding the file, removed at exit.
class BenchFile {
 public:
  BenchFile() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pelorin-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    bytes_ = OrganizerBytes();
    if (!WriteFileAtomically(path(), bytes_)) throw std::runtime_error("cannot write");
  }
  ~BenchFile() {
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
  }
  std::filesystem::path path() const { return dir_ / "org.hif"; }
  const std::string& bytes() const { return bytes_; }

 private:
  std::filesystem::path dir_;
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

}  // namespace
}  // namespace pelorin

BENCHMARK_MAIN();
