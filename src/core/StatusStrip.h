#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/CoreContext.h"
#include "ports/Desktop.h"
#include "ports/DriveTable.h"
#include "ports/Timers.h"
#include "storage/SettingsFile.h"

namespace pelorin {

// The measurement kinds of a strip text (status.hif SYSTEM/StatusID1/2): figures divided
// by the text's divisor up to kFreeOnDrive, percentages from kFirstPercent on. Any other
// number measures 0.
namespace status_kind {
inline constexpr int kTotalPhysical = 0;
inline constexpr int kFreePhysical = 1;
inline constexpr int kTotalVirtual = 2;
inline constexpr int kFreeVirtual = 3;
inline constexpr int kTotalPageFile = 4;
inline constexpr int kFreePageFile = 5;
inline constexpr int kFreeOnDrive = 6;  // free bytes on the text's drive
inline constexpr int kMemoryLoad = 10;
inline constexpr int kFreePhysicalPercent = 11;
inline constexpr int kFreeVirtualPercent = 12;
inline constexpr int kFreePageFilePercent = 13;
inline constexpr int kFreeOnDrivePercent = 14;  // free share of the text's drive
inline constexpr int kFirstPercent = kMemoryLoad;
}  // namespace status_kind

// What one of the strip's two texts measures: the kind (status_kind), its divisor `div`,
// the drive number `disk` (3 = C: ... 26 = Z:) of the drive kinds, and the drive cycling
// interval in milliseconds (0: no cycling).
struct StatusTextSettings {
  int id = status_kind::kFreePhysical;
  int div = 1024;
  int disk = 3;
  int interval = 0;
};

// The status strip's measurements: two short texts, each a memory figure, the free
// space of a drive or a percentage, refreshed every 250 ms while the strip is on the
// screen; a text measuring a drive can cycle through the present drives.
class StatusStrip {
 public:
  explicit StatusStrip(CoreContext& ctx);
  ~StatusStrip();

  // status.hif SYSTEM: StatusID1/2, StatusDiv1/2, Disk1/2, DiskInterval1/2. A text that
  // cycles starts at C:. Starts the measurements and the drive cycling.
  void LoadSettings(const SettingsFile& status);

  // Stop and start the measuring and the drive cycling (sleep, profile loading).
  void StopTimers();
  void StartTimers();

  void StatusTimerTimer();
  void StatusDisk1TimerTimer();
  void StatusDisk2TimerTimer();

  const std::string& LeftText() const { return left_; }
  const std::string& RightText() const { return right_; }
  // Called whenever a text has changed.
  ports::Notification<> changed;

  // The settings of the left (1) or right (2) text; any other number gives defaults
  // and changes nothing. A change applies to the running strip at once.
  StatusTextSettings Text(int which) const;
  void SetText(int which, const StatusTextSettings& settings);

  // One text from the readings: the value of its kind (kinds below 10 divided by its
  // divisor) as the strip shows it. `space` and `driveExists` are those of the text's
  // drive; `leftText` says whether it is the left text.
  static std::string MeasurementText(const StatusTextSettings& text, bool leftText,
                                     const ports::MemoryStatus& memory,
                                     const ports::DiskSpace& space, bool driveExists);

  ports::Timer& StatusTimer() { return *statusTimer_; }
  ports::Timer& StatusDisk1Timer() { return *disk1Timer_; }
  ports::Timer& StatusDisk2Timer() { return *disk2Timer_; }

 private:
  void ShowMeasurements();
  std::string TextOf(const StatusTextSettings& text, bool leftText,
                     const ports::MemoryStatus& memory) const;
  void CycleDrive(StatusTextSettings& text, ports::Timer& timer);
  void SetTexts(std::string left, std::string right);

  CoreContext& ctx_;
  StatusTextSettings texts_[2];
  std::string left_ = "131072";
  std::string right_ = "E: DISC";
  std::unique_ptr<ports::Timer> statusTimer_;
  std::unique_ptr<ports::Timer> disk1Timer_;
  std::unique_ptr<ports::Timer> disk2Timer_;
  ports::Subscription stopAtEnd_;
};

}  // namespace pelorin
