#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/RingService.h"
#include "common/Text.h"
#include "core/CoreContext.h"
#include "core/CoreHotkeys.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSchedule.h"
#include "organizer/TF_ShedShow.h"
#include "organizer/TF_Welcome.h"
#include "storage/SettingsFile.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin::testing {

// org.hif with these SYSTEM lines and one section per entry (Count = their number
// unless the SYSTEM lines give one). Lines are separated by "\n".
inline std::string OrgText(std::string_view system, const std::vector<std::string>& entries) {
  std::string text = "[SYSTEM]\n";
  if (system.find("Count=") == std::string_view::npos)
    text += "Count=" + std::to_string(entries.size()) + "\n";
  text += system;
  for (std::size_t n = 0; n < entries.size(); ++n)
    text += "[" + std::to_string(n) + "]\n" + entries[n];
  return text;
}

// The organizer's schedule, its pop-up and its welcome window on simulated ports, wired
// as the subsystem wires them, with a record of what the check called.
struct OrganizerAlone : SimPortSet<> {
  struct Popped {
    int entry;
    std::string when;  // "DD.MM HH:MM"
  };

  OrganizerAlone() {
    ctx.values.ProfileDir = ctx.layout.ProfileDir(ctx.custodo.ProfilePath());
    std::filesystem::create_directories(ctx.values.ProfileDir);
    coreHotkeys.AddAtoms();
  }

  std::filesystem::path OrgFile() const { return org_file::FileIn(ctx.values.ProfileDir); }
  void WriteOrg(std::string_view text) { WriteBytes(OrgFile(), text); }
  SettingsFile Org() const { return SettingsFile(OrgFile()); }
  std::filesystem::path ProfileFile(std::string_view name) const {
    return ctx.values.ProfileDir / (std::string(name) + ".hif");
  }

  void SetClock(int year, int month, int day, int hour, int minute, int second = 0) {
    clock.Set({year, month, day, hour, minute, second, 0});
  }
  // The profile load: the settings read, then the re-initialization.
  void Start() {
    schedule.ReadSettings();
    schedule.ScheduleAll();
  }
  const ScheduleTable::Row& Row(int entry) const { return schedule.Table()[entry]; }

  std::vector<std::string> PopTimes() const {
    std::vector<std::string> times;
    for (const Popped& p : popped)
      times.push_back(p.when);
    return times;
  }

  TempDir home;
  RecordingMainView view;
  CoreContext ctx{Ports(), view, home.path()};
  CoreHotkeys coreHotkeys{ctx};
  RingService ring{ctx, coreHotkeys};

  std::vector<Popped> popped;
  int welcomes = 0;
  int dayChanges = 0;
  int listRefreshes = 0;
  bool listShown = false;

  OrganizerSchedule schedule{
      ctx,
      {.popUp =
           [this](int entry) {
             const ports::LocalTime t = clock.Now();
             popped.push_back({entry, PadNumber(t.day, 2, '0') + "." + PadNumber(t.month, 2, '0') +
                                          " " + PadNumber(t.hour, 2, '0') + ":" +
                                          PadNumber(t.minute, 2, '0')});
             popup.PopUpEntry(entry);
           },
       .prepareWelcome =
           [this] {
             ++welcomes;
             welcome.Prepare();
           },
       .dayChanged = [this] { ++dayChanges; },
       .refreshListImages = [this] { ++listRefreshes; },
       .listVisible = [this] { return listShown; }}};
  TF_ShedShow popup{ctx, ring, schedule};
  TF_Welcome welcome{ctx, schedule.Table()};
};

}  // namespace pelorin::testing
