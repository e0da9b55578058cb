#include "linux/MemInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "linux/LinuxDesktop.h"
#include "support/TempDir.h"

namespace pelorin::lnx {
namespace {

using ports::MemoryStatus;

constexpr std::uint64_t kKb = 1024;

// The start of /proc/meminfo on a machine with 16 GB of memory and 2 GB of swap.
const std::string kMemInfo =
    "MemTotal:       16303412 kB\n"
    "MemFree:         1203944 kB\n"
    "MemAvailable:   12227560 kB\n"
    "Buffers:          412340 kB\n"
    "Cached:         10210112 kB\n"
    "SwapCached:            0 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        1572860 kB\n"
    "CommitLimit:    10249252 kB\n"
    "Committed_AS:    7687212 kB\n"
    "VmallocTotal:   34359738367 kB\n"
    "HugePages_Total:       0\n"
    "Hugepagesize:       2048 kB\n";

void ExpectStatus(const MemoryStatus& got, const MemoryStatus& want, const std::string& what) {
  EXPECT_EQ(got.TotalPhys, want.TotalPhys) << what;
  EXPECT_EQ(got.AvailPhys, want.AvailPhys) << what;
  EXPECT_EQ(got.TotalPageFile, want.TotalPageFile) << what;
  EXPECT_EQ(got.AvailPageFile, want.AvailPageFile) << what;
  EXPECT_EQ(got.TotalVirtual, want.TotalVirtual) << what;
  EXPECT_EQ(got.AvailVirtual, want.AvailVirtual) << what;
  EXPECT_EQ(got.MemoryLoad, want.MemoryLoad) << what;
}

TEST(MemInfo, FiguresOfARealLookingFileInBytes) {
  ExpectStatus(ParseMemInfo(kMemInfo),
               {16303412 * kKb, 12227560 * kKb, 2097148 * kKb, 1572860 * kKb, 10249252 * kKb,
                (10249252 - 7687212) * kKb, 24},  // 24.99 % in use, cut to 24
               "meminfo");
}

TEST(MemInfo, MissingDamagedAndImpossibleFiguresReadZero) {
  struct Case {
    const char* what;
    std::string text;
    MemoryStatus want;
  };
  const Case cases[] = {
      {"no swap, more committed than the limit, CR LF lines",
       "MemTotal: 1000 kB\r\nMemAvailable: 250 kB\r\nSwapTotal: 0 kB\r\nSwapFree: 0 kB\r\n"
       "CommitLimit: 500 kB\r\nCommitted_AS: 900 kB\r\n",
       {1000 * kKb, 250 * kKb, 0, 0, 500 * kKb, 0, 75}},
      {"only the physical memory",
       "MemTotal: 1000 kB\nMemAvailable: 1000 kB\n",
       {1000 * kKb, 1000 * kKb, 0, 0, 0, 0, 0}},
      {"no MemAvailable: no load either",
       "MemTotal: 1000 kB\nMemFree: 10 kB\nCommitLimit: 8 kB\n",
       {1000 * kKb, 0, 0, 0, 8 * kKb, 0, 0}},
      {"no MemTotal",
       "MemAvailable: 1000 kB\nCommitted_AS: 8 kB\n",
       {0, 1000 * kKb, 0, 0, 0, 0, 0}},
      {"garbage numbers and units",
       "MemTotal: 12x4 kB\nMemAvailable: -5 kB\nSwapTotal: 100 MB\nSwapFree: kB\n"
       "CommitLimit: 99999999999999999999 kB\nCommitted_AS: 18014398509481984 kB\n",
       {}},
      {"a total of 0 and more available than there is",
       "MemTotal: 0 kB\nMemAvailable: 10 kB\nSwapTotal: 5 kB\nSwapFree: 9 kB\n",
       {0, 10 * kKb, 5 * kKb, 9 * kKb, 0, 0, 0}},
      {"the first of two lines counts; look-alike names do not",
       "MemTotal: 400 kB\nMemTotal: 800 kB\nXMemAvailable: 100 kB\nMemAvailable: 100 kB\n",
       {400 * kKb, 100 * kKb, 0, 0, 0, 0, 75}},
      {"empty", "", {}},
  };
  for (const Case& c : cases)
    ExpectStatus(ParseMemInfo(c.text), c.want, c.what);
}

TEST(MemInfo, LinuxDesktopReadsTheKernelsFile) {
  testing::TempDir temp;
  testing::WriteBytes(temp / "meminfo", kMemInfo);
  const LinuxDesktop desktop("/usr/bin/pelorin", temp.path(), false, temp.path(), temp / "meminfo");
  EXPECT_EQ(desktop.GlobalMemoryStatus().AvailPhys, 12227560 * kKb);

  const LinuxDesktop missing("/usr/bin/pelorin", temp.path(), false, temp.path(),
                             temp / "no-meminfo");
  ExpectStatus(missing.GlobalMemoryStatus(), {}, "missing file");

  const LinuxDesktop real("/usr/bin/pelorin", temp.path(), false, temp.path());
  const MemoryStatus status = real.GlobalMemoryStatus();
  EXPECT_GT(status.TotalPhys, 0u);
  EXPECT_LE(status.AvailPhys, status.TotalPhys);
  EXPECT_LE(status.MemoryLoad, 100u);
}

}  // namespace
}  // namespace pelorin::lnx
