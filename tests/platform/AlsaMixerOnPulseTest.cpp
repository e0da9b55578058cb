#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "linux/AlsaMixer.h"
#include "linux/AlsaVolumeScale.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "sim/SimLog.h"
#include "support/Eventually.h"
#include "support/PrivatePulseServer.h"
#include "support/RunProgram.h"

namespace pelorin {
namespace {

using lnx::AlsaMixer;
using testing::Eventually;
using testing::PrivatePulseServer;
using testing::RunProgram;
using testing::ScopedEnvironmentVariable;
using Values = std::vector<int>;

constexpr long kPulseTop = 65536;  // PulseAudio's 100 %: the raw range of its "Master"
constexpr const char* kPactl = "/usr/bin/pactl";

// The channel value the mixer shows for a write of `value`, from the raw volume the write
// makes on PulseAudio's range.
int ShownAfterWrite(int value, long present) {
  return lnx::ToChannelValue(lnx::ToRawVolume(value, present, 0, kPulseTop), 0, kPulseTop);
}

// Thaws a frozen server after a long while, so that a call that waits for it fails the
// test instead of hanging it.
class ThawWatchdog {
 public:
  explicit ThawWatchdog(PrivatePulseServer& server)
      : thread_([this, &server] {
          std::unique_lock lock(mutex_);
          if (!released_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; })) {
            fired_ = true;
            server.Thaw();
          }
        }) {}
  ~ThawWatchdog() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    released_.notify_all();
    thread_.join();
  }
  bool Fired() {
    std::lock_guard lock(mutex_);
    return fired_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;
};

// Connections that wait in a frozen server's queue until it is full, as those of the
// desktop's other programs do; closed when it goes.
class FullConnectionQueue {
 public:
  explicit FullConnectionQueue(const std::filesystem::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    for (int tries = 0; tries < 4096; ++tries) {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      if (fd < 0) return;
      if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        full_ = errno == EAGAIN;
        ::close(fd);
        return;
      }
      fds_.push_back(fd);
    }
  }
  ~FullConnectionQueue() {
    for (const int fd : fds_)
      ::close(fd);
  }
  bool Full() const { return full_; }

 private:
  std::vector<int> fds_;
  bool full_ = false;
};

// The mixer against a PulseAudio server of the test's own, reached through ALSA's
// default device as on a desktop.
class AlsaMixerOnPulse : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.Running())
      GTEST_SKIP() << "no PulseAudio server could start here\n" << server.Log();
    // ALSA decides once per process, when it first reads its configuration, whether its
    // default device goes through PulseAudio (only when a server answers then): it reads
    // it afresh now that this test's server runs.
    snd_config_update_free_global();
  }

  // A mixer that has answered and whose first device is the server; false (the test
  // then skips) when ALSA's default does not lead to PulseAudio here.
  bool ReachesServer(const AlsaMixer& mixer) {
    return Eventually([&] { return mixer.Known(); }) && mixer.DeviceCount() > 0 &&
           mixer.DeviceName(0) == "PulseAudio";
  }
  // The null sink's raw channel volumes as the server reports them.
  std::vector<long> SinkVolumes() {
    const auto result = RunProgram(kPactl, {"get-sink-volume", "nullsink"});
    std::vector<long> volumes;
    std::istringstream words(result.out);
    std::string word;
    while (words >> word) {
      if (word == "front-left:" || word == "front-right:") {
        long volume = -1;
        words >> volume;
        volumes.push_back(volume);
      }
    }
    return volumes;
  }

  sim::SimLog backendLog;
  PrivatePulseServer server;
  ScopedEnvironmentVariable address{"PULSE_SERVER", server.Address()};
};

TEST_F(AlsaMixerOnPulse, FollowsOtherProgramsAndSendsItsWritesToTheServer) {
  AlsaMixer mixer(backendLog);
  if (!ReachesServer(mixer)) GTEST_SKIP() << "ALSA's default device is not PulseAudio here";
  const auto lines = mixer.Lines(0);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].name, "Master");

  // Another program moves the volume: the mixer hears of it without being asked.
  ASSERT_EQ(RunProgram(kPactl, {"set-sink-volume", "nullsink", "16384", "49152"}).exitStatus, 0);
  const Values moved = {lnx::ToChannelValue(16384, 0, kPulseTop),
                        lnx::ToChannelValue(49152, 0, kPulseTop)};
  EXPECT_TRUE(Eventually([&] { return mixer.ChannelValues(0, 0, -1) == moved; }))
      << mixer.ChannelValues(0, 0, -1).value_or(Values{}).size();

  // A write shows at once and reaches the server.
  ASSERT_TRUE(mixer.SetChannelValues(0, 0, -1, {40000, 20000}));
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1),
            (Values{ShownAfterWrite(40000, 16384), ShownAfterWrite(20000, 49152)}));
  const std::vector<long> written = {lnx::ToRawVolume(40000, 16384, 0, kPulseTop),
                                     lnx::ToRawVolume(20000, 49152, 0, kPulseTop)};
  EXPECT_TRUE(Eventually([&] { return SinkVolumes() == written; }));
  EXPECT_EQ(mixer.ChannelValues(0, 0, -1),
            (Values{ShownAfterWrite(40000, 16384), ShownAfterWrite(20000, 49152)}));
  EXPECT_FALSE(mixer.SetChannelValues(0, static_cast<int>(lines.size()), -1, {1}));
}

TEST_F(AlsaMixerOnPulse, AFrozenServerNeverHoldsTheCaller) {
  AlsaMixer mixer(backendLog);
  if (!ReachesServer(mixer)) GTEST_SKIP() << "ALSA's default device is not PulseAudio here";
  const Values before = mixer.ChannelValues(0, 0, -1).value_or(Values{});
  ASSERT_EQ(before.size(), 2u);
  const std::size_t lineCount = mixer.Lines(0).size();
  {
    ThawWatchdog watchdog(server);
    server.Freeze();
    // Writes are taken and shown at once; the last one to a line is the one that counts.
    EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, {10000, 10000}));
    EXPECT_TRUE(mixer.SetChannelValues(0, 0, -1, {30000, 50000}));
    const Values shown = {
        lnx::ToChannelValue(lnx::ToRawVolume(30000, 0, 0, kPulseTop), 0, kPulseTop),
        lnx::ToChannelValue(lnx::ToRawVolume(50000, 0, 0, kPulseTop), 0, kPulseTop)};
    EXPECT_EQ(mixer.ChannelValues(0, 0, -1), shown);
    EXPECT_TRUE(mixer.Known());
    EXPECT_EQ(mixer.DeviceName(0), "PulseAudio");
    EXPECT_EQ(mixer.Lines(0).size(), lineCount);

    // A mixer made while the server is frozen has not answered, and says so.
    {
      AlsaMixer late(backendLog);
      EXPECT_FALSE(late.Known());
      EXPECT_EQ(late.DeviceCount(), 0);
      EXPECT_TRUE(late.Lines(0).empty());
      EXPECT_EQ(late.ChannelValues(0, 0, -1), std::nullopt);
      EXPECT_FALSE(late.SetChannelValues(0, 0, -1, {1000, 1000}));
    }  // and its end does not wait for the server either
    EXPECT_FALSE(watchdog.Fired()) << "a call waited for the frozen server";
    server.Thaw();
  }
  const std::vector<long> last = {lnx::ToRawVolume(30000, 0, 0, kPulseTop),
                                  lnx::ToRawVolume(50000, 0, 0, kPulseTop)};
  EXPECT_TRUE(Eventually([&] { return SinkVolumes() == last; }));
}

TEST_F(AlsaMixerOnPulse, AMixerMadeWhileTheServerIsFrozenAnswersOnceItGoesOn) {
  {
    AlsaMixer healthy(backendLog);
    if (!ReachesServer(healthy)) GTEST_SKIP() << "ALSA's default device is not PulseAudio here";
  }
  snd_config_update_free_global();  // as in a suite started while the server is frozen
  std::optional<AlsaMixer> mixer;
  {
    ThawWatchdog watchdog(server);
    server.Freeze();
    mixer.emplace(backendLog);
    EXPECT_FALSE(mixer->Known());
    EXPECT_EQ(mixer->DeviceCount(), 0);
    EXPECT_FALSE(watchdog.Fired()) << "a call waited for the frozen server";
    server.Thaw();
  }
  EXPECT_TRUE(ReachesServer(*mixer));
  EXPECT_EQ(mixer->Lines(0).at(0).name, "Master");
  EXPECT_TRUE(mixer->ChannelValues(0, 0, -1).has_value());
}

// ALSA's PulseAudio plug-in gives up at once on a frozen server whose queue is full,
// as if there were no server: the mixer must not take that for the sound hardware.
TEST_F(AlsaMixerOnPulse, AFrozenServerWithAFullQueueIsNotTakenForNoServer) {
  {
    AlsaMixer healthy(backendLog);
    if (!ReachesServer(healthy)) GTEST_SKIP() << "ALSA's default device is not PulseAudio here";
  }
  snd_config_update_free_global();  // as in a suite started while the server is frozen
  std::optional<AlsaMixer> mixer;
  {
    ThawWatchdog watchdog(server);
    server.Freeze();
    FullConnectionQueue queue(server.Socket());
    ASSERT_TRUE(queue.Full());
    mixer.emplace(backendLog);
    EXPECT_FALSE(mixer->Known());
    EXPECT_EQ(mixer->DeviceCount(), 0);
    EXPECT_FALSE(watchdog.Fired()) << "a call waited for the frozen server";
    server.Thaw();
  }
  EXPECT_TRUE(ReachesServer(*mixer));
  EXPECT_EQ(mixer->Lines(0).at(0).name, "Master");
}

}  // namespace
}  // namespace pelorin
