#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "alarms/AlarmsOnSim.h"
#include "organizer/OrgFile.h"
#include "organizer/OrganizerSchedule.h"
#include "organizer/TF_Shed.h"

namespace pelorin::testing {

// The suite on simulated ports with the organizer window and its schedule, the clock
// at a chosen moment; the pop-ups asked for are recorded.
class ShedOnSim : public AlarmsOnSim {
 public:
  ShedOnSim()
      : schedule(suite.context(), {}),
        shed(suite.context(), schedule, alarms.Ring(), [this](int n) { popUps.push_back(n); }) {}

  void WriteOrg(std::string_view text) { WriteBytes(OrgPath(), text); }
  std::filesystem::path OrgPath() { return org_file::FileIn(suite.values().ProfileDir); }
  SettingsFile Org() { return SettingsFile(OrgPath()); }
  ScheduleTable::Row& RowOf(int entry) { return schedule.Table()[entry]; }
  // Gives a schedule row a recognisable time, so that its moves can be followed.
  void MarkRow(int entry, std::string time) { RowOf(entry) = {std::move(time), "0101", false}; }

  OrganizerSchedule schedule;
  TF_Shed shed;
  std::vector<int> popUps;
};

// A section of org.hif with the keys the tests care about.
inline std::string OrgSection(int n, std::string_view title, std::string_view day,
                              std::string_view month, std::string_view hour = "09",
                              std::string_view minute = "00", std::string_view extra = "") {
  return "[" + std::to_string(n) + "]\r\nTITLE=" + std::string(title) +
         "\r\nDayX=" + std::string(day) + "\r\nMonthX=" + std::string(month) +
         "\r\nHourX=" + std::string(hour) + "\r\nMinuteX=" + std::string(minute) +
         "\r\nDate=1\r\nTime=1\r\nEnabled=1\r\n" + std::string(extra);
}

}  // namespace pelorin::testing
