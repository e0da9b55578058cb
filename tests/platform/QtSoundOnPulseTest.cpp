#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "linux/LinuxClock.h"
#include "linux/QtSound.h"
#include "linux/QtWavePlayer.h"
#include "linux/SoundModule.h"
#include "platform/QtTestApplication.h"
#include "platform/ScopedEnvironmentVariable.h"
#include "sim/SimLog.h"
#include "support/PrivatePulseServer.h"
#include "support/TempDir.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;
using testing::PrivatePulseServer;
using testing::ProcessEventsUntil;
using testing::ReadBytes;
using testing::ScopedEnvironmentVariable;
using testing::TempDir;
using testing::WriteBytes;

const fs::path kSounds = PELORIN_BUILD_DIR "/share/pelorin/System/Snd";

constexpr int kRecordRate = 8000;
constexpr std::size_t kWindow = kRecordRate / 20;  // 50 ms of the recording
// Silence on the null sink's monitor reads 0; a sound of the suite reads thousands.
constexpr double kSilence = 30;
constexpr double kHeard = 300;

// What the null sink plays, recorded from its monitor by parec into a file.
class MonitorRecording {
 public:
  explicit MonitorRecording(fs::path file) : file_(std::move(file)) {
    pid_ = ::fork();
    if (pid_ == 0) {
      const int out = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (out >= 0) ::dup2(out, 1);
      ::execl("/usr/bin/parec", "parec", "-d", "nullsink.monitor", "--format=s16le", "--rate=8000",
              "--channels=1", "--raw", "--latency-msec=20", nullptr);
      ::_exit(127);
    }
  }
  ~MonitorRecording() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  MonitorRecording(const MonitorRecording&) = delete;
  MonitorRecording& operator=(const MonitorRecording&) = delete;

  std::vector<std::int16_t> Samples() const {
    const std::string bytes = ReadBytes(file_);
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                             static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return samples;
  }
  std::size_t Count() const { return Samples().size(); }

  // The RMS of the last 50 ms recorded.
  double RecentRms() const {
    const auto samples = Samples();
    return Rms(samples, samples.size() < kWindow ? 0 : samples.size() - kWindow);
  }
  // The RMS of the loudest 50 ms from sample `from` on.
  double LoudestSince(std::size_t from) const {
    const auto samples = Samples();
    double loudest = 0;
    for (std::size_t at = from; at + kWindow <= samples.size(); at += kWindow / 2)
      loudest = std::max(loudest, Rms(samples, at));
    return loudest;
  }
  // How long, in whole 50 ms windows, the sink sounded from sample `from` on.
  int SoundingWindowsSince(std::size_t from) const {
    const auto samples = Samples();
    int sounding = 0;
    for (std::size_t at = from; at + kWindow <= samples.size(); at += kWindow)
      sounding += Rms(samples, at) > kHeard;
    return sounding;
  }
  // Waits until `seconds` more of the sink's sound have been recorded.
  bool RecordFor(double seconds) const {
    const std::size_t until = Count() + static_cast<std::size_t>(seconds * kRecordRate);
    return ProcessEventsUntil([&] { return Count() >= until; });
  }

 private:
  static double Rms(const std::vector<std::int16_t>& samples, std::size_t from) {
    const std::size_t end = std::min(samples.size(), from + kWindow);
    if (end <= from) return 0;
    double sum = 0;
    for (std::size_t i = from; i < end; ++i)
      sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(end - from));
  }

  fs::path file_;
  pid_t pid_ = -1;
};

// The Qt sound backend against a PulseAudio server of the test's own, heard on its null
// sink's monitor. Qt's sound system connects to one server for the life of the program,
// so the tests of one program share theirs.
class QtSoundOnPulse : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new PrivatePulseServer;
    ::setenv("PULSE_SERVER", server_->Address().c_str(), 1);
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server_->Running()) << server_->Log();
    testing::EnsureQtApplication();
    recording_ = std::make_unique<MonitorRecording>(dir_ / "monitor.raw");
    // Recording has begun once the monitor's silence arrives.
    ASSERT_TRUE(ProcessEventsUntil([&] { return recording_->Count() >= kWindow; }));
  }

  static PrivatePulseServer* server_;
  TempDir dir_;
  std::unique_ptr<MonitorRecording> recording_;
  lnx::LinuxClock clock_;
  sim::SimLog log_;
  lnx::QtSound sound_{clock_, log_};
};

PrivatePulseServer* QtSoundOnPulse::server_ = nullptr;

TEST_F(QtSoundOnPulse, ALoopedAlarmRingsPastItsLengthUntilStopped) {
  const auto ring = sound_.CreatePlayer("ring");
  ASSERT_TRUE(ring->Play((kSounds / "C_Remind2.wav").string(), ports::Repeat::Loop));
  EXPECT_TRUE(ProcessEventsUntil([&] { return recording_->RecentRms() > kHeard; }));
  // Longer than the sound itself: it goes on from its start.
  const std::size_t afterOneLength = recording_->Count() + 3 * kRecordRate;
  ASSERT_TRUE(recording_->RecordFor(3.5));
  EXPECT_TRUE(ring->Playing());
  EXPECT_GT(recording_->LoudestSince(afterOneLength), kHeard);

  ring->Stop();
  EXPECT_FALSE(ring->Playing());
  EXPECT_TRUE(ProcessEventsUntil([&] { return recording_->RecentRms() < kSilence; }));
  const std::size_t stopped = recording_->Count();
  ASSERT_TRUE(recording_->RecordFor(1.0));
  EXPECT_LT(recording_->LoudestSince(stopped), kSilence) << "it sounded again after Stop";
}

TEST_F(QtSoundOnPulse, TonesPlayInTurnAndASoundPlayedOnceEndsByItself) {
  const std::size_t before = recording_->Count();
  sound_.Tone(1000, 300);
  EXPECT_TRUE(ProcessEventsUntil([&] { return recording_->LoudestSince(before) > kHeard; }));

  // Four beeps asked for at once follow one another: 320 ms of sound, not one beep.
  ASSERT_TRUE(ProcessEventsUntil([&] { return recording_->RecentRms() < kSilence; }));
  const std::size_t beeps = recording_->Count();
  for (int i = 0; i < 4; ++i)
    sound_.Tone(1850, 80);
  ASSERT_TRUE(recording_->RecordFor(1.0));
  EXPECT_GE(recording_->SoundingWindowsSince(beeps), 5);

  const auto chime = sound_.CreatePlayer("chime");
  const std::size_t chimeStart = recording_->Count();
  ASSERT_TRUE(chime->Play((kSounds / "C_EveryHour1.wav").string(), ports::Repeat::Once));
  EXPECT_TRUE(chime->Playing());
  EXPECT_TRUE(ProcessEventsUntil([&] { return !chime->Playing(); }));
  EXPECT_GT(recording_->LoudestSince(chimeStart), kHeard);
}

TEST_F(QtSoundOnPulse, WhatCannotBePlayedGivesFalseAndSilence) {
  WriteBytes(dir_ / "letter.wav", "Dear friend, this is a letter and not a sound.\n");
  WriteBytes(dir_ / "empty.wav", "");
  const auto ring = sound_.CreatePlayer("ring");
  const std::size_t before = recording_->Count();
  for (const fs::path& file : {dir_ / "letter.wav", dir_ / "empty.wav", dir_ / "missing.wav"}) {
    EXPECT_FALSE(ring->Play(file.string(), ports::Repeat::Loop)) << file;
    EXPECT_FALSE(ring->Playing()) << file;
  }
  EXPECT_FALSE(ring->Play("", ports::Repeat::Once));
  {
    // No server to play on: nothing is promised, and nothing waits for one.
    const ScopedEnvironmentVariable nowhere("PULSE_SERVER", "unix:" + (dir_ / "none").string());
    EXPECT_FALSE(ring->Play((kSounds / "C_Remind2.wav").string(), ports::Repeat::Loop));
    sound_.Tone(1000, 300);
  }
  {
    // No sound module beside the program: no sound, and a word on why.
    sim::SimLog log;
    lnx::SoundModule missing(dir_ / "no-such-module.so", log);
    lnx::QtWavePlayer player(clock_, missing);
    EXPECT_FALSE(player.Play((kSounds / "C_Remind2.wav").string(), ports::Repeat::Loop));
    EXPECT_FALSE(player.Playing());
    EXPECT_FALSE(player.Play((kSounds / "C_Remind2.wav").string(), ports::Repeat::Loop));
    ASSERT_EQ(log.Lines().size(), 1u);  // said once
    EXPECT_EQ(log.Lines()[0].source, "sound");
    EXPECT_NE(log.Lines()[0].text.find("sound module cannot be loaded"), std::string::npos);
  }
  ASSERT_TRUE(recording_->RecordFor(1.0));
  EXPECT_LT(recording_->LoudestSince(before), kSilence);
}

// Qt's sound system, asked to connect to a frozen server, would hold the program for
// half a minute: it is not asked until the server answers again.
TEST_F(QtSoundOnPulse, AFrozenServerIsNotWaitedForAndPlaysOnceItGoesOn) {
  const auto ring = sound_.CreatePlayer("ring");
  const std::string alarm = (kSounds / "C_Remind2.wav").string();
  server_->Freeze();
  EXPECT_FALSE(ring->Play(alarm, ports::Repeat::Loop));
  EXPECT_FALSE(ring->Playing());
  sound_.Tone(1000, 300);
  server_->Thaw();
  EXPECT_TRUE(ProcessEventsUntil([&] { return ring->Play(alarm, ports::Repeat::Loop); }));
  EXPECT_TRUE(ProcessEventsUntil([&] { return recording_->RecentRms() > kHeard; }));
  ring->Stop();
}

}  // namespace
}  // namespace pelorin
