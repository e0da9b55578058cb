#pragma once

#include <poll.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "linux/AlsaMixerSnapshot.h"
#include "ports/Log.h"

namespace pelorin::lnx {

// The ALSA side of the mixer: the system's mixer devices, opened and kept open, read
// and written. Every call may wait for a sound server (ALSA's "default" device talks to
// PulseAudio or PipeWire synchronously and hangs while the server does), so this lives
// on AlsaMixer's worker thread only, which alone makes ALSA calls.
//
// Devices: the "default" mixer first when it is not itself a hardware card (with
// PulseAudio or PipeWire running, ALSA's default is their mixer, whose "Master" moves
// the desktop's volume), then every sound card in ALSA's card order. Lines: every simple
// element with a playback volume, "Master" first and the others in ALSA's order.
//
// A mixer that fails is closed and opened afresh when next needed. A sound server that
// listens but does not answer (frozen) makes a reading incomplete rather than one
// without the server: the devices are not known then.
//
// An ALSA call that fails is one line of the log (source "alsa": the device, the call,
// snd_strerror's text) when the device begins to fail, and one when it is read whole
// again; failures in between, which the scans would repeat, are not logged.
class AlsaMixerDevices {
 public:
  explicit AlsaMixerDevices(ports::Log& log);
  ~AlsaMixerDevices();
  AlsaMixerDevices(const AlsaMixerDevices&) = delete;
  AlsaMixerDevices& operator=(const AlsaMixerDevices&) = delete;

  // The devices present now, with their lines and raw volumes; opens what is not open.
  // Nothing while the sound server does not answer.
  std::optional<AlsaMixerSnapshot> Read();
  // Whether the devices present now may differ from those of the last complete Read: a
  // card or the sound server came or went. Cheap: the cards are read anew only when
  // their device files changed, and an open server mixer is not asked.
  bool DevicesChanged();
  // The descriptors on which the open mixers report changes.
  std::vector<pollfd> PollDescriptors() const;
  // Takes in what the open mixers reported. True when anything changed or a mixer
  // failed (and was closed).
  bool HandleEvents();
  // Sets a line's first channels to raw volumes (kept inside the element's range), as
  // many as both have. False when the device or line is gone or ALSA refused.
  bool Write(const std::string& alsaName, const std::string& line, const std::vector<long>& raw);

 private:
  struct Device {
    std::string alsaName;
    std::string name;
    friend bool operator==(const Device&, const Device&) = default;
  };
  struct OpenMixers;

  struct ServerLookup {
    std::optional<std::string> name;  // of the server behind ALSA's "default" device
    bool unanswered = false;          // a server is there but does not answer
  };

  // Nothing while the sound server does not answer.
  std::optional<std::vector<Device>> Devices();
  ServerLookup SoundServer();
  // The sound cards in ALSA's order, read anew only when the folder of the sound device
  // files changed (a card came or went): going through every card number costs.
  const std::vector<Device>& Cards();
  // `what` of `device` failed with ALSA's error `error`: logged unless it fails already.
  void Failed(const std::string& device, const std::string& what, int error);
  // `device` was used without a failure: a failure logged before is logged as over.
  void Worked(const std::string& device);

  ports::Log& log_;
  std::map<std::string, std::string> failing_;  // the failing devices, with what failed
  std::unique_ptr<OpenMixers> open_;
  std::vector<Device> lastRead_;
  std::vector<Device> cards_;
  std::optional<std::string> cardFolderStamp_;  // nothing until the cards were read
  // Set once ALSA's configuration has been read afresh for a server that came: ALSA's
  // PulseAudio hook decides only when it reads it whether the default device is the
  // server. Cleared when the server is seen gone or stuck.
  bool configReloaded_ = false;
};

}  // namespace pelorin::lnx
