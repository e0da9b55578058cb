#include "core/StatusStrip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/SuiteOnSim.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using ports::DiskSpace;
using ports::DriveType;
using ports::MemoryStatus;

constexpr std::uint64_t kMiB = 1ull << 20;
constexpr std::uint64_t kGiB = 1ull << 30;
constexpr std::int64_t kGiBs = static_cast<std::int64_t>(kGiB);

// 4 GiB of memory with 64 MiB available, 1 GiB of swap with a quarter free, 2 GiB
// of virtual memory with three quarters free, 37 % in use.
constexpr MemoryStatus kMemory{4 * kGiB, 64 * kMiB, kGiB, 256 * kMiB, 2 * kGiB, 1536 * kMiB, 37};
constexpr MemoryStatus kNoMemory{};
constexpr DiskSpace kTenGiBFree{10 * kGiBs, 40 * kGiBs};
constexpr DiskSpace kNoRoot{-1, -1};

struct MeasurementCase {
  StatusTextSettings text;
  bool left;
  MemoryStatus memory;
  DiskSpace space;
  bool driveExists;
  const char* expected;
};

TEST(StatusStripMeasurement, EveryKindFromFixedReadings) {
  const MeasurementCase cases[] = {
      {{0, 1024, 3, 0}, false, kMemory, kTenGiBFree, true, "4194304"},
      {{1, 1024, 3, 0}, true, kMemory, kTenGiBFree, true, "65536"},
      {{2, 1048576, 3, 0}, false, kMemory, kTenGiBFree, true, "2048"},
      {{3, 1048576, 3, 0}, false, kMemory, kTenGiBFree, true, "1536"},
      {{4, 1048576, 3, 0}, false, kMemory, kTenGiBFree, true, "1024"},
      {{5, 1048576, 3, 0}, false, kMemory, kTenGiBFree, true, "256"},
      {{6, 1048576, 3, 0}, false, kMemory, kTenGiBFree, true, "C:10240"},
      {{6, 1024, 26, 0}, true, kMemory, kTenGiBFree, true, "Z:10485760"},
      {{10, 1, 3, 0}, false, kMemory, kTenGiBFree, true, "37%"},
      {{11, 1, 3, 0}, false, kMemory, kTenGiBFree, true, "1%"},  // 1.56 % cut to 1
      {{12, 1, 3, 0}, false, kMemory, kTenGiBFree, true, "75%"},
      {{12, 1, 3, 0}, true, kMemory, kTenGiBFree, true, "75%"},
      {{13, 1, 3, 0}, false, kMemory, kTenGiBFree, true, "25%"},
      {{14, 1, 4, 0}, false, kMemory, kTenGiBFree, true, "D:25%"},
      {{7, 1024, 3, 0}, false, kMemory, kTenGiBFree, true, "0"},  // no such kind

      // Zero values: drives say whether they are there; percentages lose their "%"
      // except kind 12 on the left.
      {{14, 1, 5, 0}, false, kMemory, kNoRoot, false, "E: n/a"},
      {{6, 1048576, 5, 0}, true, kMemory, kNoRoot, false, "E: n/a"},
      {{6, 1, 5, 0}, false, kMemory, kNoRoot, false, "E: n/a"},  // -1 bytes reads as none
      {{6, 1048576, 4, 0}, false, kMemory, {0, 700 * kMiB}, true, "D: DISC"},
      {{6, 1048576, 3, 0}, false, kMemory, {1000, 40 * kGiBs}, true, "C: DISC"},
      {{14, 1, 4, 0}, false, kMemory, {0, 0}, true, "D: DISC"},
      {{10, 1, 3, 0}, false, kNoMemory, kTenGiBFree, true, "0"},
      {{12, 1, 3, 0}, true, kNoMemory, kTenGiBFree, true, "0%"},
      {{12, 1, 3, 0}, false, kNoMemory, kTenGiBFree, true, "0"},
      {{1, 1024, 3, 0}, false, kNoMemory, kTenGiBFree, true, "0"},

      // Damaged settings: no division by 0 and no letter for a number that is no drive.
      {{11, 1, 3, 0}, false, {1000, 1000, 0, 0, 0, 0, 0}, kTenGiBFree, true, "0"},
      {{13, 1, 3, 0}, false, kNoMemory, kTenGiBFree, true, "0"},
      {{14, 1, 3, 0}, false, kMemory, {100, 0}, true, "C: DISC"},
      {{1, 0, 3, 0}, false, kMemory, kTenGiBFree, true, "67108864"},
      {{1, -1024, 3, 0}, false, kMemory, kTenGiBFree, true, "67108864"},
      {{6, 1048576, 30, 0}, false, kMemory, kNoRoot, false, " n/a"},
      {{6, 1048576, 2, 0}, false, kMemory, kNoRoot, false, " n/a"},
  };
  for (const MeasurementCase& c : cases) {
    EXPECT_EQ(StatusStrip::MeasurementText(c.text, c.left, c.memory, c.space, c.driveExists),
              c.expected)
        << "kind " << c.text.id << " div " << c.text.div << " disk " << c.text.disk
        << (c.left ? " left" : " right");
  }
}

TEST(StatusStripMeasurement, PercentOfAHugeDriveDoesNotOverflow) {
  const std::int64_t most = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(StatusStrip::MeasurementText({14, 1, 3, 0}, false, kMemory, {most / 2, most}, true),
            "C:50%");
}

// The core on sim ports with the strip shown, drives C: (fixed, 10 GiB free), D: (CD
// with a disc, nothing free) and E: (a CD drive without a disc), and 64 MiB of free
// memory.
class StatusStripTest : public ::testing::Test {
 protected:
  StatusStripTest() {
    sim.suite.main().MoveMainWindow(100, 100);
    fs::create_directories(temp / "c");
    fs::create_directories(temp / "d");
    sim.drives.SetDrive('C', DriveType::Fixed, temp / "c");
    sim.drives.SetSpace('C', kTenGiBFree);
    sim.drives.SetDrive('D', DriveType::CdRom, temp / "d");
    sim.drives.SetSpace('D', {0, 700 * kMiB});
    sim.drives.SetDrive('E', DriveType::CdRom);
    sim.desktop.memory = kMemory;
    counting = strip.changed.Subscribe([this] { ++changes; });
  }

  void WriteStatus(const std::string& system) {
    testing::WriteBytes(StatusFile(), "[SYSTEM]\r\n" + system);
  }
  fs::path StatusFile() { return sim.suite.values().ProfileDir / "status.hif"; }
  void Load() { strip.LoadSettings(SettingsFile(StatusFile())); }

  testing::SuiteOnSim sim;
  testing::TempDir temp;
  StatusStrip& strip = sim.suite.strip();
  int changes = 0;
  ports::Subscription counting;
};

TEST_F(StatusStripTest, DefaultsMeasureMemoryAndCycleTheRightTextThroughThePresentDrives) {
  EXPECT_EQ(strip.LeftText(), "131072");
  EXPECT_EQ(strip.RightText(), "E: DISC");
  sim.timers.Advance(5000);  // nothing runs before the settings are loaded
  EXPECT_EQ(strip.RightText(), "E: DISC");
  EXPECT_EQ(changes, 0);

  Load();  // no status.hif: every default
  EXPECT_EQ(strip.Text(2).disk, 3);
  std::vector<std::string> rights;
  for (int quarter = 0; quarter < 4 * 4; ++quarter) {
    sim.timers.Advance(250);
    EXPECT_EQ(strip.LeftText(), "65536");
    if (quarter % 4 == 0) rights.push_back(strip.RightText());
  }
  // The first step comes at once (C: -> D:), then one a second; E: has no disc.
  EXPECT_EQ(rights, (std::vector<std::string>{"D: DISC", "C:10240", "D: DISC", "C:10240"}));
  EXPECT_EQ(changes, 4);  // a text that stays the same is not shown again
}

TEST_F(StatusStripTest, SettingsFromTheProfileAndCyclingStartingAtC) {
  WriteStatus(
      "StatusID1=14\r\nDisk1=9\r\nDiskInterval1=2000\r\n"
      "StatusID2=0\r\nStatusDiv2=1024\r\nDisk2=9\r\nDiskInterval2=0\r\n");
  Load();
  const StatusTextSettings left = strip.Text(1);
  const StatusTextSettings right = strip.Text(2);
  EXPECT_EQ(left.id, 14);
  EXPECT_EQ(left.div, 1024);
  EXPECT_EQ(left.disk, 3);  // cycling starts at C:
  EXPECT_EQ(left.interval, 2000);
  EXPECT_EQ(right.id, 0);
  EXPECT_EQ(right.div, 1024);
  EXPECT_EQ(right.disk, 9);
  EXPECT_EQ(right.interval, 0);

  sim.timers.Advance(250);
  EXPECT_EQ(strip.LeftText(), "D: DISC");
  EXPECT_EQ(strip.RightText(), "4194304");
  EXPECT_EQ(strip.StatusDisk2Timer().Interval(), 0);  // no cycling: its timer is done
  sim.timers.Advance(2000);
  EXPECT_EQ(strip.LeftText(), "C:25%");
  EXPECT_EQ(strip.Text(2).disk, 9);
}

TEST_F(StatusStripTest, CyclingWithoutAUsableDriveEndsAndKeepsTheDrive) {
  Load();
  sim.drives.RemoveDrive('D');
  sim.timers.Advance(1001);
  EXPECT_EQ(strip.Text(2).disk, 3);  // C: is the only one left: a full round back to it
  EXPECT_EQ(strip.RightText(), "C:10240");

  sim.drives.RemoveDrive('C');
  sim.drives.SetDrive('F', DriveType::Removable, temp / "c");  // present, but no fixed or CD
  sim.timers.Advance(1000);
  EXPECT_EQ(strip.Text(2).disk, 3);
  EXPECT_EQ(strip.RightText(), "C: n/a");
  EXPECT_EQ(strip.StatusDisk2Timer().Interval(), 1000);  // and it goes on trying
}

TEST_F(StatusStripTest, HiddenStripShowsDashesAndMeasuresAgainWhenShown) {
  Load();
  sim.timers.Advance(250);
  sim.suite.main().MoveMainWindow(100 - 4000, 100);
  sim.timers.Advance(250);
  EXPECT_EQ(strip.LeftText(), "-");
  EXPECT_EQ(strip.RightText(), "-");
  sim.suite.main().MoveMainWindow(100, 100);
  sim.timers.Advance(250);
  EXPECT_EQ(strip.LeftText(), "65536");
  EXPECT_EQ(strip.RightText(), "D: DISC");
}

TEST_F(StatusStripTest, StoppedTimersMeasureNothingAndRestartCyclingAtOnce) {
  Load();
  sim.timers.Advance(250);
  strip.StopTimers();
  sim.desktop.memory.AvailPhys = 32 * kMiB;
  sim.timers.Advance(3000);
  EXPECT_EQ(strip.LeftText(), "65536");
  EXPECT_EQ(strip.RightText(), "D: DISC");
  EXPECT_EQ(strip.Text(2).disk, 4);

  strip.StartTimers();
  sim.timers.Advance(1);
  EXPECT_EQ(strip.Text(2).disk, 3);  // the drive step came at once
  sim.timers.Advance(249);
  EXPECT_EQ(strip.LeftText(), "32768");
  EXPECT_EQ(strip.RightText(), "C:10240");
}

TEST_F(StatusStripTest, ChangedSettingsApplyToTheRunningStripAtOnce) {
  Load();
  sim.timers.Advance(250);

  strip.SetText(1, {6, 1048576, 3, 0});
  EXPECT_EQ(strip.LeftText(), "C:10240");
  strip.SetText(2, {10, 1, 5, 0});  // cycling off
  EXPECT_EQ(strip.RightText(), "37%");
  EXPECT_EQ(strip.StatusDisk2Timer().Interval(), 0);

  strip.SetText(1, {14, 1, 3, 3000});  // cycling on: the first step after 3 s
  sim.timers.Advance(2999);
  EXPECT_EQ(strip.LeftText(), "C:25%");
  sim.timers.Advance(1);
  EXPECT_EQ(strip.Text(1).disk, 4);
  EXPECT_EQ(strip.Text(2).disk, 5);

  strip.SetText(3, {0, 1, 3, 0});  // no such text
  EXPECT_EQ(strip.Text(3).id, StatusTextSettings{}.id);
}

}  // namespace
}  // namespace pelorin
