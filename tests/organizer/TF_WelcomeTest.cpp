#include <gtest/gtest.h>

#include <functional>

#include "organizer/OrganizerAlone.h"

namespace pelorin {
namespace {

using testing::OrganizerAlone;
using testing::OrgText;
using Colour = TF_Welcome::ListColour;

constexpr char kNoTimeDots[] = "................";

TEST(TF_WelcomeTest, ListsTodaysMessagesThatAreSwitchedOn) {
  struct Case {
    const char* name;
    std::string system;
    // Rows of the entries: next date and switched off.
    std::vector<ScheduleTable::Row> rows;
    std::vector<std::string> lines;
    Colour colour;
    bool show;
  };
  const std::vector<std::string> entries = {
      "TITLE=Call the bank\nTime=1\nHourX=09\nMinuteX=30\n", "TITLE=Birthday\nTime=0\n",
      "TITLE=Switched off\nTime=1\nHourX=10\nMinuteX=00\n", "TITLE=Tomorrow\n"};
  const std::vector<Case> cases = {
      {"two due today",
       "",
       {{"0930", "0712", false},
        {"9999", "0712", false},
        {"1000", "0712", true},
        {"0800", "0812", false}},
       {"Call the bank.....09:30", std::string("Birthday") + kNoTimeDots},
       Colour::kYellow,
       true},
      {"none due", "", {}, {"No messages................"}, Colour::kWhite, false},
      {"none due, shown all the same",
       "WelcomeEmpty=1\n",
       {},
       {"No messages................"},
       Colour::kWhite,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.SetClock(2001, 12, 7, 7, 5);
    sim.WriteOrg(OrgText(c.system, entries));
    for (std::size_t n = 0; n < c.rows.size(); ++n)
      sim.schedule.Table()[static_cast<int>(n)] = c.rows[n];
    sim.welcome.Prepare();
    EXPECT_EQ(sim.welcome.Lines(), c.lines);
    EXPECT_EQ(sim.welcome.Colour(), c.colour);
    EXPECT_EQ(sim.welcome.ShowFlag(), c.show);

    sim.timers.Advance(TF_Welcome::kTimer1Ms);
    EXPECT_EQ(sim.welcome.Visible(), c.show);
    EXPECT_EQ(sim.welcome.Left(), c.show ? 0 : TF_Welcome::kParkedLeft);
    EXPECT_EQ(sim.welcome.Timer1Running(), c.show);
  }
}

TEST(TF_WelcomeTest, GreetsWithTheProfileTheDateTheWeekdayAndTheTime) {
  OrganizerAlone sim;
  sim.SetClock(2001, 12, 7, 7, 5, 30);  // a Friday
  sim.ctx.values.Current.name = "Anna";
  sim.welcome.Prepare();
  EXPECT_EQ(std::string(TF_Welcome::kGreeting), "Greetings to you,");
  EXPECT_EQ(sim.welcome.NameLine(), " Anna");
  EXPECT_EQ(sim.welcome.DateLine(), "Today :December 7, 2001");
  EXPECT_EQ(sim.welcome.Weekday(), "Friday");
  EXPECT_EQ(sim.welcome.Clock(), "07:05");
  EXPECT_EQ(sim.welcome.Width(), sim.screen.width);
  EXPECT_EQ(sim.welcome.Height(), sim.screen.height);
}

TEST(TF_WelcomeTest, EveryWayOfClosingStopsTheWindow) {
  struct Case {
    const char* name;
    std::function<void(TF_Welcome&)> close;
    bool organizerShown;
  };
  const std::vector<Case> cases = {
      {"OK", [](TF_Welcome& w) { w.OKClick(); }, false},
      {"Enter", [](TF_Welcome& w) { w.Button1KeyPress('\r'); }, false},
      {"Esc", [](TF_Welcome& w) { w.Button1KeyPress('\x1b'); }, false},
      {"the focus button", [](TF_Welcome& w) { w.Button1Click(); }, false},
      {"the Organizer label", [](TF_Welcome& w) { w.Label5Click(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OrganizerAlone sim;
    sim.WriteOrg(OrgText("WelcomeEmpty=1\n", {}));
    bool organizerShown = false;
    sim.welcome.showOrganizer = [&] { organizerShown = true; };
    sim.welcome.Prepare();
    sim.timers.Advance(TF_Welcome::kTimer1Ms);
    sim.welcome.Button1KeyPress('a');  // other keys do nothing
    ASSERT_TRUE(sim.welcome.Visible());

    sim.SetClock(2026, 1, 5, 9, 1);
    sim.timers.Advance(TF_Welcome::kTimer1Ms);
    EXPECT_EQ(sim.welcome.Clock(), "09:01");  // the clock runs while it shows
    c.close(sim.welcome);
    EXPECT_FALSE(sim.welcome.Visible());
    EXPECT_FALSE(sim.welcome.Timer1Running());
    EXPECT_EQ(organizerShown, c.organizerShown);
  }
}

}  // namespace
}  // namespace pelorin
