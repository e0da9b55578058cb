#include "core/StatusStrip.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "common/Drives.h"
#include "core/TF_Main.h"

namespace pelorin {
namespace {

constexpr int kStatusIntervalMs = 250;
// The drive timers' first tick comes at once after a start.
constexpr int kFirstDriveTickMs = 1;

constexpr int kFirstDisk = 3;  // C:
constexpr int kLastDisk = 26;  // Z:
constexpr int kDiskCount = kLastDisk - kFirstDisk + 1;

// The left text shows the free physical memory in kilobytes, the right one the free
// megabytes of the drives in turn, one a second.
constexpr StatusTextSettings kDefaultTexts[2] = {{status_kind::kFreePhysical, 1024, 3, 0},
                                                 {status_kind::kFreeOnDrive, 1048576, 5, 1000}};

constexpr std::int64_t kMostValue = std::numeric_limits<std::int64_t>::max();

bool IsDriveKind(int kind) {
  return kind == status_kind::kFreeOnDrive || kind == status_kind::kFreeOnDrivePercent;
}

std::int64_t AsValue(std::uint64_t figure) {
  return static_cast<std::int64_t>(std::min(figure, static_cast<std::uint64_t>(kMostValue)));
}

// part × 100 ÷ whole, both already scaled down far enough for the product to fit; a
// whole of 0 gives 0.
std::int64_t Percent(std::uint64_t part, std::uint64_t whole) {
  return whole == 0 ? 0 : AsValue(part * 100 / whole);
}

// free × 100 ÷ size of a drive, 0 when either is 0 or less.
std::int64_t DrivePercent(const ports::DiskSpace& space) {
  if (space.free <= 0 || space.size <= 0) return 0;
  if (space.free <= kMostValue / 100) return space.free * 100 / space.size;
  return space.free / std::max<std::int64_t>(space.size / 100, 1);
}

// The value of a measurement kind; kinds below 10 divided by the divisor (read as 1
// when it is 0 or below). An unknown kind measures 0.
std::int64_t MeasurementValue(int kind, int divisor, const ports::MemoryStatus& memory,
                              const ports::DiskSpace& space) {
  const auto by = static_cast<std::uint64_t>(std::max(divisor, 1));
  switch (kind) {
    case status_kind::kTotalPhysical:
      return AsValue(memory.TotalPhys / by);
    case status_kind::kFreePhysical:
      return AsValue(memory.AvailPhys / by);
    case status_kind::kTotalVirtual:
      return AsValue(memory.TotalVirtual / by);
    case status_kind::kFreeVirtual:
      return AsValue(memory.AvailVirtual / by);
    case status_kind::kTotalPageFile:
      return AsValue(memory.TotalPageFile / by);
    case status_kind::kFreePageFile:
      return AsValue(memory.AvailPageFile / by);
    case status_kind::kFreeOnDrive:
      return space.free / static_cast<std::int64_t>(by);
    case status_kind::kMemoryLoad:
      return memory.MemoryLoad;
    case status_kind::kFreePhysicalPercent:
      return Percent(memory.AvailPhys / 1024, memory.TotalPhys / 1024);
    case status_kind::kFreeVirtualPercent:
      return Percent(memory.AvailVirtual >> 20, memory.TotalVirtual >> 20);
    case status_kind::kFreePageFilePercent:
      return Percent(memory.AvailPageFile / 1024, memory.TotalPageFile / 1024);
    case status_kind::kFreeOnDrivePercent:
      return DrivePercent(space);
    default:
      return 0;
  }
}

}  // namespace

StatusStrip::StatusStrip(CoreContext& ctx)
    : ctx_(ctx),
      texts_{kDefaultTexts[0], kDefaultTexts[1]},
      statusTimer_(ctx.ports.timers.Create("StatusTimer", kStatusIntervalMs,
                                           [this] { StatusTimerTimer(); })),
      disk1Timer_(ctx.ports.timers.Create("StatusDisk1Timer", kFirstDriveTickMs,
                                          [this] { StatusDisk1TimerTimer(); })),
      disk2Timer_(ctx.ports.timers.Create("StatusDisk2Timer", kFirstDriveTickMs,
                                          [this] { StatusDisk2TimerTimer(); })),
      stopAtEnd_(ctx.lifetime.stopTimers.Subscribe([this] { StopTimers(); })) {
  constexpr SubsystemId core = SubsystemId::Core;
  ctx_.steps.loadProfile.Bind(LoadStep::kReadStatusSettings, core, [this] {
    LoadSettings(SettingsFile(SuiteLayout::PlainTwin(ctx_.values.ProfileDir, "status")));
  });
  ctx_.steps.suspend.Bind(SuspendStep::kStopStripTimers, core, [this] { StopTimers(); });
  ctx_.steps.resume.Bind(ResumeStep::kStartStripTimers, core, [this] { StartTimers(); });
}

StatusStrip::~StatusStrip() = default;

void StatusStrip::LoadSettings(const SettingsFile& status) {
  for (int which = 1; which <= 2; ++which) {
    const std::string n = std::to_string(which);
    const StatusTextSettings& defaults = kDefaultTexts[which - 1];
    StatusTextSettings& text = texts_[which - 1];
    text.id = status.ReadInteger("SYSTEM", "StatusID" + n, defaults.id);
    text.div = status.ReadInteger("SYSTEM", "StatusDiv" + n, defaults.div);
    text.disk = status.ReadInteger("SYSTEM", "Disk" + n, defaults.disk);
    text.interval = status.ReadInteger("SYSTEM", "DiskInterval" + n, defaults.interval);
    if (text.interval > 0) text.disk = kFirstDisk;
  }
  StartTimers();
}

void StatusStrip::StopTimers() {
  statusTimer_->SetEnabled(false);
  disk1Timer_->SetEnabled(false);
  disk2Timer_->SetEnabled(false);
}

void StatusStrip::StartTimers() {
  statusTimer_->SetEnabled(true);
  for (ports::Timer* timer : {disk1Timer_.get(), disk2Timer_.get()}) {
    timer->SetInterval(kFirstDriveTickMs);
    timer->SetEnabled(true);
  }
}

void StatusStrip::StatusTimerTimer() {
  if (ctx_.lifetime.Ended()) return;
  // The volume fly-out, once it exists, is put on top again here (without activating it).
  ShowMeasurements();
}

void StatusStrip::StatusDisk1TimerTimer() {
  CycleDrive(texts_[0], *disk1Timer_);
}

void StatusStrip::StatusDisk2TimerTimer() {
  CycleDrive(texts_[1], *disk2Timer_);
}

StatusTextSettings StatusStrip::Text(int which) const {
  if (which != 1 && which != 2) return StatusTextSettings{};
  return texts_[which - 1];
}

void StatusStrip::SetText(int which, const StatusTextSettings& settings) {
  if (which != 1 && which != 2) return;
  texts_[which - 1] = settings;
  // A running drive timer takes the new cycling interval at once (0 stops it); the
  // texts show the new measurement at once.
  ports::Timer& diskTimer = which == 1 ? *disk1Timer_ : *disk2Timer_;
  if (diskTimer.Enabled()) diskTimer.SetInterval(std::max(settings.interval, 0));
  if (statusTimer_->Enabled()) ShowMeasurements();
}

std::string StatusStrip::MeasurementText(const StatusTextSettings& text, bool leftText,
                                         const ports::MemoryStatus& memory,
                                         const ports::DiskSpace& space, bool driveExists) {
  // A negative value (a drive without a root divided by 1) reads as 0, like a missing
  // drive under any other divisor.
  const std::int64_t value =
      std::max<std::int64_t>(MeasurementValue(text.id, text.div, memory, space), 0);
  if (leftText && text.id == status_kind::kFreeVirtualPercent) return std::to_string(value) + "%";

  std::string out;
  const bool driveKind = IsDriveKind(text.id);
  if (driveKind && text.disk >= kFirstDisk && text.disk <= kLastDisk) {
    out = DriveLetter(text.disk) + ":";
  }
  if (value > 0) {
    out += std::to_string(value);
    if (text.id >= status_kind::kFirstPercent) out += "%";
  } else if (driveKind) {
    out += driveExists ? " DISC" : " n/a";
  } else {
    out += "0";
  }
  return out;
}

void StatusStrip::ShowMeasurements() {
  if (ctx_.mainWindow.Left() < 0) {
    SetTexts("-", "-");
    return;
  }
  const ports::MemoryStatus memory = ctx_.ports.desktop.GlobalMemoryStatus();
  SetTexts(TextOf(texts_[0], true, memory), TextOf(texts_[1], false, memory));
}

std::string StatusStrip::TextOf(const StatusTextSettings& text, bool leftText,
                                const ports::MemoryStatus& memory) const {
  ports::DiskSpace space{-1, -1};
  bool exists = false;
  if (IsDriveKind(text.id)) {
    const std::string letter = DriveLetter(text.disk);  // " " for no drive at all
    space = ctx_.ports.drives.Space(letter.front());
    // A drive whose space could be read has a readable root: the drive table (which
    // reads the mount table on Linux) is asked again only when it could not.
    exists = space.size >= 0 || DriveExists(ctx_.ports.drives, letter);
  }
  return MeasurementText(text, leftText, memory, space, exists);
}

void StatusStrip::CycleDrive(StatusTextSettings& text, ports::Timer& timer) {
  if (ctx_.lifetime.Ended()) return;
  timer.SetInterval(std::max(text.interval, 0));
  if (!IsDriveKind(text.id) || text.interval <= 0) return;
  const ports::DriveTable& drives = ctx_.ports.drives;
  int disk = text.disk;
  // One full round at most: when no fixed or CD drive has a readable root, the text
  // stays on the drive it had.
  for (int step = 0; step < kDiskCount; ++step) {
    disk = disk < kFirstDisk || disk >= kLastDisk ? kFirstDisk : disk + 1;
    const std::string letter = DriveLetter(disk);
    const ports::DriveType type = drives.Drive(letter.front()).type;
    if ((type == ports::DriveType::Fixed || type == ports::DriveType::CdRom) &&
        DriveExists(drives, letter)) {
      text.disk = disk;
      return;
    }
  }
}

void StatusStrip::SetTexts(std::string left, std::string right) {
  if (left == left_ && right == right_) return;
  left_ = std::move(left);
  right_ = std::move(right);
  changed();
}

}  // namespace pelorin
