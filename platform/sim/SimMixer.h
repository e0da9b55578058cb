#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/Mixer.h"

namespace pelorin::sim {

// Fake sound cards: devices with named destination lines, each with its own source
// lines, and per-channel values that tests set and read. Every accepted write is
// recorded. A line made without channel values has no volume control. A test can make
// the mixer one that has not answered yet (a sound server frozen at the start): it then
// shows no devices and takes no writes, whatever it holds, until it is known again.
class SimMixer : public ports::Mixer {
 public:
  struct Write {
    int device, destination, source;
    std::vector<int> values;  // as stored, after clamping
    friend bool operator==(const Write&, const Write&) = default;
  };

  // Each returns the number of what it added.
  int AddDevice(std::string name);
  int AddDestination(int device, std::string name, std::vector<int> values);
  int AddSource(int device, int destination, std::string name, std::vector<int> values);
  // Removes every device, as when the sound hardware goes away.
  void RemoveAllDevices() { devices_.clear(); }
  // Sets a line's values as the user or another program would: not recorded as a write.
  // False when the line does not exist.
  bool SetValues(int device, int destination, int source, std::vector<int> values);

  void SetKnown(bool known) { known_ = known; }

  const std::vector<Write>& Writes() const { return writes_; }

  bool Known() const override { return known_; }
  int DeviceCount() const override { return known_ ? static_cast<int>(devices_.size()) : 0; }
  std::string DeviceName(int device) const override;
  std::vector<ports::MixerLine> Lines(int device) const override;
  std::optional<std::vector<int>> ChannelValues(int device, int destination,
                                                int source) const override;
  bool SetChannelValues(int device, int destination, int source,
                        const std::vector<int>& values) override;

 private:
  struct Line {
    std::string name;
    std::vector<int> values;  // empty: no volume control
  };
  struct Destination {
    Line line;
    std::vector<Line> sources;
  };
  struct Device {
    std::string name;
    std::vector<Destination> destinations;
  };

  const Line* FindLine(int device, int destination, int source) const;
  Line* FindLine(int device, int destination, int source);

  std::vector<Device> devices_;
  std::vector<Write> writes_;
  bool known_ = true;
};

}  // namespace pelorin::sim
