#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelorin::ports {

// One line of a mixer: a destination (the output, such as the speakers) or one of its
// sources. Channel values run from 0 to 65535.
struct MixerLine {
  int destination = -1;
  int source = -1;   // -1: the destination line itself
  std::string name;  // the destination's name, or "destination : source"
};

// The audio mixers of the system (sound cards) with their lines and channel values.
class Mixer {
 public:
  virtual ~Mixer() = default;

  // Whether the system's mixer has answered yet. A sound server that is slow or frozen
  // can keep it from answering for a while after the start; until it does, the mixer
  // has no devices, and that says nothing about the sound hardware.
  virtual bool Known() const = 0;

  virtual int DeviceCount() const = 0;
  virtual std::string DeviceName(int device) const = 0;
  virtual std::vector<MixerLine> Lines(int device) const = 0;

  // The channel values of a line (one per channel), or nothing when the line does not
  // exist or has no volume.
  virtual std::optional<std::vector<int>> ChannelValues(int device, int destination,
                                                        int source) const = 0;
  // Sets every channel given; values outside 0..65535 are clamped. False when the line
  // does not exist or has no volume. A mixer that works in the background may make the
  // change later; its channel values show it at once.
  virtual bool SetChannelValues(int device, int destination, int source,
                                const std::vector<int>& values) = 0;
};

}  // namespace pelorin::ports
