#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ports/Log.h"
#include "ports/Mixer.h"

namespace pelorin::lnx {

// The system's sound mixers through ALSA, without ever holding the caller.
//
// ALSA's "default" device talks to PulseAudio or PipeWire synchronously, and a call
// hangs for as long as the server does. So every ALSA call is made by a worker thread
// that owns the mixers; the calls of this class answer from the worker's last reading
// (a snapshot) and queue writes to it.
// - The worker reads everything once at the start, then again after each write it made
//   and each change ALSA reports on the open mixers (other programs moving a volume, a
//   card or the server going away), and looks for cards and sound servers that came or
//   went every kDeviceScanPeriod. Between those it sleeps in poll().
// - Until the first reading has arrived, Known() is false and the mixer has no devices.
//   Only the calls made within kFirstAnswerWait of the construction wait for it, and no
//   longer than that; no other call ever waits for the worker. A sound server that
//   listens but does not answer gives no reading at all (rather than one without the
//   server), so the last reading stands, or the mixer stays unknown.
// - SetChannelValues queues the write and shows it in the snapshot at once. A line's
//   later write takes the place of one that the worker has not made yet, so a frozen
//   server never makes the queue grow.
// Devices, lines and values are those AlsaMixerDevices reads: the "default" mixer first
// when it is a sound server, then every card; every element with a playback volume is a
// destination line with source -1; raw volumes are scaled to 0..65535 (AlsaVolumeScale).
//
// Nothing is printed: ALSA's library messages are silenced for the whole process when
// the first AlsaMixer is made; ALSA's failures go to the log instead (AlsaMixerDevices),
// written from the worker's thread while the mixer exists. Calls may come from any
// thread.
class AlsaMixer : public ports::Mixer {
 public:
  static constexpr std::chrono::milliseconds kFirstAnswerWait{50};
  static constexpr std::chrono::milliseconds kDeviceScanPeriod{2000};
  // How long the destructor waits for the worker to close the mixers. A worker held by
  // a frozen server is left to finish on its own when the server answers.
  static constexpr std::chrono::milliseconds kStopWait{50};

  explicit AlsaMixer(ports::Log& log);
  ~AlsaMixer() override;
  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  bool Known() const override;
  int DeviceCount() const override;
  std::string DeviceName(int device) const override;
  std::vector<ports::MixerLine> Lines(int device) const override;
  std::optional<std::vector<int>> ChannelValues(int device, int destination,
                                                int source) const override;
  // True when the line exists and has a volume: the write is then queued.
  bool SetChannelValues(int device, int destination, int source,
                        const std::vector<int>& values) override;

 private:
  struct Shared;  // the snapshot and the queue, shared with the worker

  std::shared_ptr<Shared> shared_;
  std::thread worker_;
};

}  // namespace pelorin::lnx
