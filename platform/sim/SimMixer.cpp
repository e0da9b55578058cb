#include "sim/SimMixer.h"

#include <algorithm>
#include <utility>

namespace pelorin::sim {
namespace {

template <typename T>
bool ValidIndex(const std::vector<T>& items, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

}  // namespace

int SimMixer::AddDevice(std::string name) {
  devices_.push_back({std::move(name), {}});
  return DeviceCount() - 1;
}

int SimMixer::AddDestination(int device, std::string name, std::vector<int> values) {
  if (!ValidIndex(devices_, device)) return -1;
  auto& destinations = devices_[device].destinations;
  destinations.push_back({{std::move(name), std::move(values)}, {}});
  return static_cast<int>(destinations.size()) - 1;
}

int SimMixer::AddSource(int device, int destination, std::string name, std::vector<int> values) {
  if (!ValidIndex(devices_, device) || !ValidIndex(devices_[device].destinations, destination))
    return -1;
  auto& sources = devices_[device].destinations[destination].sources;
  sources.push_back({std::move(name), std::move(values)});
  return static_cast<int>(sources.size()) - 1;
}

bool SimMixer::SetValues(int device, int destination, int source, std::vector<int> values) {
  Line* line = FindLine(device, destination, source);
  if (line == nullptr) return false;
  line->values = std::move(values);
  return true;
}

std::string SimMixer::DeviceName(int device) const {
  return known_ && ValidIndex(devices_, device) ? devices_[device].name : std::string();
}

std::vector<ports::MixerLine> SimMixer::Lines(int device) const {
  std::vector<ports::MixerLine> lines;
  if (!known_ || !ValidIndex(devices_, device)) return lines;
  const auto& destinations = devices_[device].destinations;
  for (std::size_t d = 0; d < destinations.size(); ++d) {
    const int dest = static_cast<int>(d);
    lines.push_back({dest, -1, destinations[d].line.name});
    const auto& sources = destinations[d].sources;
    for (std::size_t s = 0; s < sources.size(); ++s)
      lines.push_back(
          {dest, static_cast<int>(s), destinations[d].line.name + " : " + sources[s].name});
  }
  return lines;
}

std::optional<std::vector<int>> SimMixer::ChannelValues(int device, int destination,
                                                        int source) const {
  if (!known_) return std::nullopt;
  const Line* line = FindLine(device, destination, source);
  if (line == nullptr || line->values.empty()) return std::nullopt;
  return line->values;
}

bool SimMixer::SetChannelValues(int device, int destination, int source,
                                const std::vector<int>& values) {
  if (!known_) return false;
  Line* line = FindLine(device, destination, source);
  if (line == nullptr || line->values.empty()) return false;
  const std::size_t count = std::min(values.size(), line->values.size());
  for (std::size_t c = 0; c < count; ++c)
    line->values[c] = std::clamp(values[c], 0, 65535);
  writes_.push_back({device, destination, source, line->values});
  return true;
}

const SimMixer::Line* SimMixer::FindLine(int device, int destination, int source) const {
  if (!ValidIndex(devices_, device)) return nullptr;
  const auto& destinations = devices_[device].destinations;
  if (!ValidIndex(destinations, destination)) return nullptr;
  const Destination& dest = destinations[destination];
  if (source == -1) return &dest.line;
  return ValidIndex(dest.sources, source) ? &dest.sources[source] : nullptr;
}

SimMixer::Line* SimMixer::FindLine(int device, int destination, int source) {
  return const_cast<Line*>(std::as_const(*this).FindLine(device, destination, source));
}

}  // namespace pelorin::sim
