#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "sim/SimMixer.h"

namespace pelorin {
namespace {

using Values = std::vector<int>;

TEST(SimMixer, DevicesLinesAndNames) {
  sim::SimMixer mixer;
  EXPECT_EQ(mixer.DeviceCount(), 0);
  const int card = mixer.AddDevice("Card A");
  const int speakers = mixer.AddDestination(card, "Speakers", {30000, 20000});
  mixer.AddSource(card, speakers, "Wave", {1000, 1000});
  mixer.AddSource(card, speakers, "Beep", {});  // no volume control
  mixer.AddDestination(card, "Recording", {5000});
  mixer.AddDevice("Card B");

  EXPECT_EQ(mixer.DeviceCount(), 2);
  EXPECT_EQ(mixer.DeviceName(0), "Card A");
  EXPECT_EQ(mixer.DeviceName(1), "Card B");
  EXPECT_EQ(mixer.DeviceName(2), "");

  const auto lines = mixer.Lines(0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].name, "Speakers");
  EXPECT_EQ(lines[1].name, "Speakers : Wave");
  EXPECT_EQ(lines[2].name, "Speakers : Beep");
  EXPECT_EQ(lines[3].name, "Recording");
  EXPECT_EQ(lines[2].destination, 0);
  EXPECT_EQ(lines[2].source, 1);
  EXPECT_EQ(lines[3].destination, 1);
  EXPECT_EQ(lines[3].source, -1);
  EXPECT_TRUE(mixer.Lines(1).empty());
  EXPECT_TRUE(mixer.Lines(-1).empty());

  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({30000, 20000}));
  EXPECT_EQ(mixer.ChannelValues(0, 0, 0), Values({1000, 1000}));
  EXPECT_EQ(mixer.ChannelValues(0, 0, 1), std::nullopt);   // no volume
  EXPECT_EQ(mixer.ChannelValues(0, 0, 2), std::nullopt);   // no such source
  EXPECT_EQ(mixer.ChannelValues(0, 2, -1), std::nullopt);  // no such destination
  EXPECT_EQ(mixer.ChannelValues(1, 0, -1), std::nullopt);
  EXPECT_EQ(mixer.ChannelValues(5, 0, -1), std::nullopt);

  mixer.RemoveAllDevices();
  EXPECT_EQ(mixer.DeviceCount(), 0);
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), std::nullopt);
}

TEST(SimMixer, WritesAreClampedAndRecordedButOutsideChangesAreNot) {
  sim::SimMixer mixer;
  mixer.AddDevice("Card");
  mixer.AddDestination(0, "Speakers", {30000, 20000});
  mixer.AddSource(0, 0, "Beep", {});

  EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, {70000, -5}));
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({65535, 0}));
  EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, {100}));  // only the channels given
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({100, 0}));
  EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, {1, 2, 3}));  // extra values ignored
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({1, 2}));

  EXPECT_FALSE(mixer.SetChannelValues(0, 0, 0, {100}));  // no volume control
  EXPECT_FALSE(mixer.SetChannelValues(0, 1, -1, {100}));
  EXPECT_FALSE(mixer.SetChannelValues(1, 0, -1, {100}));

  EXPECT_TRUE(mixer.SetValues(0, 0, -1, {500, 600}));  // the user turns the knob
  EXPECT_FALSE(mixer.SetValues(0, 3, -1, {1}));
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({500, 600}));

  const std::vector<sim::SimMixer::Write> expected = {
      {0, 0, -1, {65535, 0}}, {0, 0, -1, {100, 0}}, {0, 0, -1, {1, 2}}};
  EXPECT_EQ(mixer.Writes(), expected);
}

TEST(SimMixer, AMixerThatHasNotAnsweredShowsNothingAndTakesNoWrites) {
  sim::SimMixer mixer;
  mixer.AddDevice("Card");
  mixer.AddDestination(0, "Speakers", {30000, 20000});
  mixer.SetKnown(false);
  EXPECT_FALSE(mixer.Known());
  EXPECT_EQ(mixer.DeviceCount(), 0);
  EXPECT_EQ(mixer.DeviceName(0), "");
  EXPECT_TRUE(mixer.Lines(0).empty());
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), std::nullopt);
  EXPECT_FALSE(mixer.SetChannelValues(0, 0, -1, {100, 100}));
  EXPECT_TRUE(mixer.SetValues(0, 0, -1, {500, 600}));  // the hardware goes on meanwhile

  mixer.SetKnown(true);
  EXPECT_EQ(mixer.DeviceCount(), 1);
  EXPECT_EQ(mixer.Lines(0).size(), 1u);
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1), Values({500, 600}));
  EXPECT_TRUE(mixer.Writes().empty());
}

}  // namespace
}  // namespace pelorin
