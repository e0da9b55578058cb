#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ports/Mixer.h"

namespace pelorin::lnx {

// The system's sound mixers through ALSA.
//
// Devices: the "default" mixer first when it is not itself a hardware card (with
// PulseAudio or PipeWire running, ALSA's default is their mixer, whose "Master" moves
// the desktop's volume), then every sound card in ALSA's card order. A device's name is
// the card's name ("HDA Intel PCH", "PulseAudio").
// Lines: every simple mixer element with a playback volume is a destination line, named
// after the element ("PCM", "Headphone"; "Name,1" for a second element of that name),
// "Master" first and the others in ALSA's order. ALSA has no sources below them, so
// every line has source -1.
// Channel values: each channel's raw volume scaled linearly from the element's range to
// 0..65535, and back to the nearest raw step when written.
//
// Each device's mixer is opened when first needed and kept open; every call first takes
// in the changes that ALSA reported since (other programs moving a volume, a card going
// away), and a mixer that fails is closed and opened afresh on the next call. The list of
// devices is read anew on every call, so a card or a sound server that comes later shows
// at once. Not for use from several threads. Nothing is printed: ALSA's library messages
// are silenced for the whole process when the first AlsaMixer is made.
class AlsaMixer : public ports::Mixer {
 public:
  AlsaMixer();
  ~AlsaMixer() override;
  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  int DeviceCount() const override;
  std::string DeviceName(int device) const override;
  std::vector<ports::MixerLine> Lines(int device) const override;
  std::optional<std::vector<int>> ChannelValues(int device, int destination,
                                                int source) const override;
  bool SetChannelValues(int device, int destination, int source,
                        const std::vector<int>& values) override;

  // A raw volume in [min, max] as a channel value 0..65535 (rounded to the nearest).
  static int ToChannelValue(long raw, long min, long max);
  // A channel value as the nearest raw volume in [min, max]. When the nearest raw step is
  // the channel's present one although the value asks for a different level, the volume
  // moves one raw step toward the value: on a coarse control (0..31) a small volume step
  // or a slow fade would otherwise never move it.
  static long ToRawVolume(int value, long present, long min, long max);

 private:
  struct Device {
    std::string alsaName;  // what snd_mixer_attach takes: "default", "hw:0"
    std::string name;
  };
  struct OpenMixers;  // the mixers kept open, by ALSA name

  std::vector<Device> Devices() const;
  std::optional<Device> DeviceAt(int device) const;
  // The name of the sound server behind ALSA's "default" device; nothing when that device
  // is a card itself or does not open.
  std::optional<std::string> SoundServer() const;

  std::unique_ptr<OpenMixers> open_;
};

}  // namespace pelorin::lnx
