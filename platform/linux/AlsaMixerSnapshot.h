#pragma once

#include <string>
#include <vector>

namespace pelorin::lnx {

// One line of an ALSA mixer as last read: a simple element with a playback volume.
struct AlsaLineState {
  std::string name;  // the element's name, "Name,1" for a second element of that name
  long min = 0;      // the element's raw volume range
  long max = 0;
  std::vector<long> raw;  // each playback channel's raw volume; empty when unreadable
};

// One mixer device as last read.
struct AlsaDeviceState {
  std::string alsaName;  // what snd_mixer_attach takes: "default", "hw:0"
  std::string name;      // the card's or sound server's name
  std::vector<AlsaLineState> lines;
};

// Every device in the order the Mixer port numbers them.
using AlsaMixerSnapshot = std::vector<AlsaDeviceState>;

}  // namespace pelorin::lnx
