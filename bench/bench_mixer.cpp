#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "linux/AlsaMixer.h"
#include "sim/SimLog.h"
#include "support/Eventually.h"
#include "support/PrivatePulseServer.h"

// How long the mixer's calls hold the user-interface thread, with ALSA's default device
// going through a PulseAudio of this program's own, healthy or frozen (SIGSTOP), and
// what its worker costs while nothing happens.

namespace {

using pelorin::lnx::AlsaMixer;
using pelorin::sim::SimLog;
using pelorin::testing::Eventually;
using pelorin::testing::PrivatePulseServer;

// One server for the whole program; ALSA reads its configuration (and decides there
// whether the default device is PulseAudio) on the first mixer's worker.
PrivatePulseServer& Server() {
  static PrivatePulseServer server;
  static const bool addressed = [] {
    ::setenv("PULSE_SERVER", server.Address().c_str(), 1);
    return true;
  }();
  (void)addressed;
  return server;
}

// A mixer that has answered, whose first device is the server; nothing when the server
// or ALSA's way to it is missing here.
bool ReachesServer(const AlsaMixer& mixer) {
  return Eventually([&] { return mixer.Known(); }) && mixer.DeviceCount() > 0 &&
         mixer.DeviceName(0) == "PulseAudio";
}

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A query and a write of the chosen line, as the volume controller makes every 200 ms.
void QueryAndWrite(benchmark::State& state, bool frozen) {
  if (!Server().Running()) return state.SkipWithError("no PulseAudio server here");
  SimLog mixerLog;
  AlsaMixer mixer(mixerLog);
  if (!ReachesServer(mixer)) return state.SkipWithError("ALSA's default is not PulseAudio");
  if (frozen) Server().Freeze();
  int value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(mixer.ChannelValues(0, 0, -1));
    mixer.SetChannelValues(0, 0, -1, {value, value});
    value = (value + 655) % 65536;
  }
  if (frozen) Server().Thaw();
}

void BM_QueryAndWriteHealthyServer(benchmark::State& state) {
  QueryAndWrite(state, false);
}
BENCHMARK(BM_QueryAndWriteHealthyServer);

void BM_QueryAndWriteFrozenServer(benchmark::State& state) {
  QueryAndWrite(state, true);
}
BENCHMARK(BM_QueryAndWriteFrozenServer);

// A mixer made, asked whether it is known, and destroyed while the server is frozen:
// the longest the user-interface thread waits at all (the first answer's bound, then
// the destructor's). Each iteration leaves a worker behind until the server goes on.
void BM_StartAndEndWithFrozenServer(benchmark::State& state) {
  if (!Server().Running()) return state.SkipWithError("no PulseAudio server here");
  {
    SimLog firstLog;
    AlsaMixer first(firstLog);  // ALSA's configuration read while the server answers
    if (!ReachesServer(first)) return state.SkipWithError("ALSA's default is not PulseAudio");
  }
  using Clock = std::chrono::steady_clock;
  Clock::duration asking{};
  Clock::duration ending{};
  int known = 0;
  Server().Freeze();
  for (auto _ : state) {
    SimLog mixerLog;
    std::optional<AlsaMixer> mixer(std::in_place, mixerLog);
    const auto made = Clock::now();
    known += mixer->Known() ? 1 : 0;
    const auto asked = Clock::now();
    mixer.reset();
    asking += asked - made;
    ending += Clock::now() - asked;
  }
  Server().Thaw();
  const auto ms = [&state](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count() /
           static_cast<double>(state.iterations());
  };
  state.counters["first_answer_ms"] = ms(asking);
  state.counters["destructor_ms"] = ms(ending);
  state.counters["known"] = known;
}
BENCHMARK(BM_StartAndEndWithFrozenServer)->Iterations(10)->Unit(benchmark::kMillisecond);

// The process's CPU time while a mixer on the server waits for 10 s with nothing
// happening, per second of waiting (with that of the libraries' own threads).
void BM_IdleWorker(benchmark::State& state) {
  if (!Server().Running()) return state.SkipWithError("no PulseAudio server here");
  SimLog mixerLog;
  AlsaMixer mixer(mixerLog);
  if (!ReachesServer(mixer)) return state.SkipWithError("ALSA's default is not PulseAudio");
  std::this_thread::sleep_for(std::chrono::seconds(1));  // past the start's own work
  for (auto _ : state) {
    const double before = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    state.counters["cpu_ms_per_s"] = (CpuSeconds() - before) * 1000 / 10;
  }
}
BENCHMARK(BM_IdleWorker)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
