#include "linux/AlsaMixer.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <utility>

#include "linux/AlsaMixerDevices.h"
#include "linux/AlsaMixerSnapshot.h"
#include "linux/AlsaVolumeScale.h"

namespace pelorin::lnx {
namespace {

using SteadyClock = std::chrono::steady_clock;

void SilentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

// A write the worker has not made yet: raw volumes for a line's first channels.
struct PendingWrite {
  std::string alsaName;
  std::string line;
  std::vector<long> raw;
};

AlsaLineState* FindLine(AlsaMixerSnapshot& snapshot, const std::string& alsaName,
                        const std::string& line) {
  for (AlsaDeviceState& device : snapshot) {
    if (device.alsaName != alsaName) continue;
    for (AlsaLineState& state : device.lines) {
      if (state.name == line) return &state;
    }
  }
  return nullptr;
}

// Shows a write in a snapshot as the worker will make it.
void ShowWrite(AlsaMixerSnapshot& snapshot, const PendingWrite& write) {
  AlsaLineState* line = FindLine(snapshot, write.alsaName, write.line);
  if (line == nullptr) return;
  const std::size_t count = std::min(line->raw.size(), write.raw.size());
  std::copy_n(write.raw.begin(), count, line->raw.begin());
}

// The mixer's log as the worker reaches it: a worker left behind on a frozen server
// writes nothing once the mixer has gone.
class DetachableLog : public ports::Log {
 public:
  explicit DetachableLog(ports::Log& log) : log_(&log) {}
  void Write(const std::string& source, const std::string& line) override {
    std::lock_guard lock(mutex_);
    if (log_ != nullptr) log_->Write(source, line);
  }
  void Detach() {
    std::lock_guard lock(mutex_);
    log_ = nullptr;
  }

 private:
  std::mutex mutex_;
  ports::Log* log_;
};

}  // namespace

struct AlsaMixer::Shared {
  explicit Shared(ports::Log& mixerLog)
      : wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), log(mixerLog) {}
  ~Shared() {
    if (wakeFd >= 0) ::close(wakeFd);
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  // The worker's thread function: it alone makes ALSA calls, and closes every mixer
  // before it ends.
  void Work();
  void Wake() const {
    const std::uint64_t one = 1;
    if (wakeFd >= 0 && ::write(wakeFd, &one, sizeof one) < 0) {
      // Only a counter at its limit refuses, and then the worker is woken already.
    }
  }
  // Waits for the first reading, but only until kFirstAnswerWait after construction.
  void AwaitFirstAnswer(std::unique_lock<std::mutex>& lock) {
    changed.wait_until(lock, firstAnswerDeadline, [this] { return known; });
  }
  const AlsaDeviceState* DeviceAt(int device) const {
    if (device < 0 || static_cast<std::size_t>(device) >= snapshot.size()) return nullptr;
    return &snapshot[device];
  }
  AlsaLineState* LineAt(int device, int destination, int source) {
    if (source != -1 || DeviceAt(device) == nullptr) return nullptr;
    auto& lines = snapshot[device].lines;
    if (destination < 0 || static_cast<std::size_t>(destination) >= lines.size()) return nullptr;
    return &lines[destination];
  }
  // Queues a write in place of an earlier one to the same line that waits still.
  void Queue(PendingWrite write) {
    for (PendingWrite& waiting : pending) {
      if (waiting.alsaName != write.alsaName || waiting.line != write.line) continue;
      if (waiting.raw.size() < write.raw.size()) waiting.raw.resize(write.raw.size());
      std::copy(write.raw.begin(), write.raw.end(), waiting.raw.begin());
      return;
    }
    pending.push_back(std::move(write));
  }

  const SteadyClock::time_point firstAnswerDeadline = SteadyClock::now() + kFirstAnswerWait;
  const int wakeFd;  // an eventfd that wakes the worker from poll()
  DetachableLog log;

  std::mutex mutex;
  std::condition_variable changed;  // a reading arrived, or the worker ended
  AlsaMixerSnapshot snapshot;
  std::deque<PendingWrite> pending;
  bool known = false;
  bool stopping = false;
  bool finished = false;

 private:
  bool Stopping() {
    std::lock_guard lock(mutex);
    return stopping;
  }
  std::deque<PendingWrite> TakePending() {
    std::lock_guard lock(mutex);
    return std::exchange(pending, {});
  }
  void Publish(AlsaMixerSnapshot reading) {
    std::lock_guard lock(mutex);
    for (const PendingWrite& write : pending)
      ShowWrite(reading, write);
    snapshot = std::move(reading);
    known = true;
    changed.notify_all();
  }
  void DrainWake() const {
    std::uint64_t count = 0;
    if (wakeFd >= 0 && ::read(wakeFd, &count, sizeof count) < 0) {
      // Nothing to drain: the worker woke for a mixer or the scan.
    }
  }
};

void AlsaMixer::Shared::Work() {
  {
    AlsaMixerDevices devices(log);
    auto reading = devices.Read();
    bool answered = reading.has_value();
    if (answered) Publish(std::move(*reading));
    auto nextScan = SteadyClock::now() + kDeviceScanPeriod;
    for (;;) {
      std::vector<pollfd> descriptors = devices.PollDescriptors();
      descriptors.push_back({wakeFd, POLLIN, 0});
      const auto untilScan =
          std::chrono::duration_cast<std::chrono::milliseconds>(nextScan - SteadyClock::now());
      ::poll(descriptors.data(), descriptors.size(),
             static_cast<int>(std::max<std::int64_t>(untilScan.count(), 0)));
      DrainWake();

      // Writes queued before the end are still made: a fade's last step, say.
      bool changedHere = false;
      for (const PendingWrite& write : TakePending()) {
        devices.Write(write.alsaName, write.line, write.raw);
        changedHere = true;
      }
      if (Stopping()) break;
      if (devices.HandleEvents()) changedHere = true;
      if (SteadyClock::now() >= nextScan) {
        if (!answered || devices.DevicesChanged()) changedHere = true;
        nextScan = SteadyClock::now() + kDeviceScanPeriod;
      }
      if (!changedHere) continue;
      reading = devices.Read();
      if (!reading) continue;  // the server does not answer: the last reading stands
      answered = true;
      Publish(std::move(*reading));
    }
  }
  std::lock_guard lock(mutex);
  finished = true;
  changed.notify_all();
}

AlsaMixer::AlsaMixer(ports::Log& log) : shared_(std::make_shared<Shared>(log)) {
  static std::once_flag silenced;
  std::call_once(silenced, [] { snd_lib_error_set_handler(SilentAlsaErrors); });
  worker_ = std::thread([shared = shared_] { shared->Work(); });
}

AlsaMixer::~AlsaMixer() {
  std::unique_lock lock(shared_->mutex);
  shared_->stopping = true;
  shared_->Wake();
  const bool ended =
      shared_->changed.wait_for(lock, kStopWait, [this] { return shared_->finished; });
  lock.unlock();
  shared_->log.Detach();
  if (ended) {
    worker_.join();
  } else {
    worker_.detach();  // it holds its own share of the state
  }
}

bool AlsaMixer::Known() const {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  return shared_->known;
}

int AlsaMixer::DeviceCount() const {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  return static_cast<int>(shared_->snapshot.size());
}

std::string AlsaMixer::DeviceName(int device) const {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  const AlsaDeviceState* found = shared_->DeviceAt(device);
  return found != nullptr ? found->name : std::string();
}

std::vector<ports::MixerLine> AlsaMixer::Lines(int device) const {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  std::vector<ports::MixerLine> lines;
  const AlsaDeviceState* found = shared_->DeviceAt(device);
  if (found == nullptr) return lines;
  for (std::size_t d = 0; d < found->lines.size(); ++d)
    lines.push_back({static_cast<int>(d), -1, found->lines[d].name});
  return lines;
}

std::optional<std::vector<int>> AlsaMixer::ChannelValues(int device, int destination,
                                                         int source) const {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  const AlsaLineState* line = shared_->LineAt(device, destination, source);
  if (line == nullptr || line->raw.empty()) return std::nullopt;
  std::vector<int> values;
  for (const long raw : line->raw)
    values.push_back(ToChannelValue(raw, line->min, line->max));
  return values;
}

bool AlsaMixer::SetChannelValues(int device, int destination, int source,
                                 const std::vector<int>& values) {
  std::unique_lock lock(shared_->mutex);
  shared_->AwaitFirstAnswer(lock);
  const AlsaLineState* line = shared_->LineAt(device, destination, source);
  if (line == nullptr || line->raw.empty()) return false;
  PendingWrite write{shared_->snapshot[device].alsaName, line->name, {}};
  const std::size_t count = std::min(values.size(), line->raw.size());
  for (std::size_t c = 0; c < count; ++c)
    write.raw.push_back(ToRawVolume(values[c], line->raw[c], line->min, line->max));
  if (write.raw.empty()) return true;
  ShowWrite(shared_->snapshot, write);
  shared_->Queue(std::move(write));
  shared_->Wake();
  return true;
}

}  // namespace pelorin::lnx
