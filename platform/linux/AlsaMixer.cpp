#include "linux/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace pelorin::lnx {
namespace {

constexpr long long kTop = 65535;

void SilentAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

struct MixerCloser {
  void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

struct CtlCloser {
  void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};
using CtlHandle = std::unique_ptr<snd_ctl_t, CtlCloser>;

// The name of ALSA's "default" control device when it is not a hardware card (a sound
// server's plug-in); nothing when it is a card or does not open.
std::optional<std::string> DefaultServerName() {
  snd_ctl_t* raw = nullptr;
  if (snd_ctl_open(&raw, "default", 0) < 0) return std::nullopt;
  CtlHandle ctl(raw);
  if (snd_ctl_type(ctl.get()) == SND_CTL_TYPE_HW) return std::nullopt;
  snd_ctl_card_info_t* info = nullptr;
  if (snd_ctl_card_info_malloc(&info) < 0) return std::nullopt;
  std::string name = "default";
  if (snd_ctl_card_info(ctl.get(), info) >= 0) {
    const char* cardName = snd_ctl_card_info_get_name(info);
    if (cardName != nullptr && *cardName != '\0') name = cardName;
  }
  snd_ctl_card_info_free(info);
  return name;
}

MixerHandle OpenMixerDevice(const std::string& alsaName) {
  snd_mixer_t* raw = nullptr;
  if (snd_mixer_open(&raw, 0) < 0) return nullptr;
  MixerHandle mixer(raw);
  if (snd_mixer_attach(mixer.get(), alsaName.c_str()) < 0 ||
      snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
      snd_mixer_load(mixer.get()) < 0)
    return nullptr;
  return mixer;
}

std::string ElementName(snd_mixer_elem_t* element) {
  std::string name = snd_mixer_selem_get_name(element);
  const unsigned index = snd_mixer_selem_get_index(element);
  if (index > 0) name += "," + std::to_string(index);
  return name;
}

// The elements with a playback volume: "Master" first, then the others in ALSA's order.
std::vector<snd_mixer_elem_t*> VolumeElements(snd_mixer_t* mixer) {
  std::vector<snd_mixer_elem_t*> elements;
  for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e != nullptr;
       e = snd_mixer_elem_next(e)) {
    if (snd_mixer_selem_has_playback_volume(e)) elements.push_back(e);
  }
  std::stable_partition(elements.begin(), elements.end(),
                        [](snd_mixer_elem_t* e) { return ElementName(e) == "Master"; });
  return elements;
}

std::vector<snd_mixer_selem_channel_id_t> PlaybackChannels(snd_mixer_elem_t* element) {
  if (snd_mixer_selem_is_playback_mono(element)) return {SND_MIXER_SCHN_MONO};
  std::vector<snd_mixer_selem_channel_id_t> channels;
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto channel = static_cast<snd_mixer_selem_channel_id_t>(c);
    if (snd_mixer_selem_has_playback_channel(element, channel)) channels.push_back(channel);
  }
  return channels;
}

// The destination's element of an open mixer; nullptr when there is no such line.
snd_mixer_elem_t* LineElement(snd_mixer_t* mixer, int destination, int source) {
  if (source != -1 || destination < 0) return nullptr;
  const auto elements = VolumeElements(mixer);
  if (static_cast<std::size_t>(destination) >= elements.size()) return nullptr;
  return elements[destination];
}

}  // namespace

struct AlsaMixer::OpenMixers {
  std::map<std::string, MixerHandle> mixers;
  std::string serverName;  // of the "default" device while it is a sound server

  // The open mixer of a device, up to date with what ALSA reported since the last call;
  // opened (again) when it is not open or failed. nullptr when it does not open.
  snd_mixer_t* Get(const std::string& alsaName) {
    auto found = mixers.find(alsaName);
    if (found != mixers.end() && snd_mixer_handle_events(found->second.get()) >= 0)
      return found->second.get();
    if (found != mixers.end()) mixers.erase(found);
    MixerHandle mixer = OpenMixerDevice(alsaName);
    if (!mixer) return nullptr;
    return mixers.emplace(alsaName, std::move(mixer)).first->second.get();
  }
  // Closes a device's mixer after a failure; the next Get opens it afresh.
  void Forget(const std::string& alsaName) { mixers.erase(alsaName); }
};

AlsaMixer::AlsaMixer() : open_(std::make_unique<OpenMixers>()) {
  static std::once_flag silenced;
  std::call_once(silenced, [] { snd_lib_error_set_handler(SilentAlsaErrors); });
}

AlsaMixer::~AlsaMixer() = default;

std::optional<std::string> AlsaMixer::SoundServer() const {
  // While the server's mixer is open and answering, the server is there; asking ALSA's
  // configuration again would connect to the server each time.
  const auto open = open_->mixers.find("default");
  if (open != open_->mixers.end() && snd_mixer_handle_events(open->second.get()) >= 0)
    return open_->serverName;
  open_->Forget("default");
  auto name = DefaultServerName();
  if (name) {
    open_->serverName = *name;
    open_->Get("default");
  }
  return name;
}

std::vector<AlsaMixer::Device> AlsaMixer::Devices() const {
  std::vector<Device> devices;
  if (auto server = SoundServer()) devices.push_back({"default", *server});
  int card = -1;
  while (snd_card_next(&card) >= 0 && card >= 0) {
    char* name = nullptr;
    Device device{"hw:" + std::to_string(card), "card " + std::to_string(card)};
    if (snd_card_get_name(card, &name) >= 0 && name != nullptr) device.name = name;
    std::free(name);
    devices.push_back(std::move(device));
  }
  return devices;
}

std::optional<AlsaMixer::Device> AlsaMixer::DeviceAt(int device) const {
  auto devices = Devices();
  if (device < 0 || static_cast<std::size_t>(device) >= devices.size()) return std::nullopt;
  return std::move(devices[device]);
}

int AlsaMixer::DeviceCount() const {
  return static_cast<int>(Devices().size());
}

std::string AlsaMixer::DeviceName(int device) const {
  const auto found = DeviceAt(device);
  return found ? found->name : std::string();
}

std::vector<ports::MixerLine> AlsaMixer::Lines(int device) const {
  std::vector<ports::MixerLine> lines;
  const auto found = DeviceAt(device);
  if (!found) return lines;
  snd_mixer_t* mixer = open_->Get(found->alsaName);
  if (mixer == nullptr) return lines;
  const auto elements = VolumeElements(mixer);
  for (std::size_t d = 0; d < elements.size(); ++d)
    lines.push_back({static_cast<int>(d), -1, ElementName(elements[d])});
  return lines;
}

std::optional<std::vector<int>> AlsaMixer::ChannelValues(int device, int destination,
                                                         int source) const {
  const auto found = DeviceAt(device);
  if (!found) return std::nullopt;
  snd_mixer_t* mixer = open_->Get(found->alsaName);
  if (mixer == nullptr) return std::nullopt;
  snd_mixer_elem_t* element = LineElement(mixer, destination, source);
  if (element == nullptr) return std::nullopt;
  long min = 0;
  long max = 0;
  if (snd_mixer_selem_get_playback_volume_range(element, &min, &max) < 0) return std::nullopt;
  std::vector<int> values;
  for (const auto channel : PlaybackChannels(element)) {
    long raw = 0;
    if (snd_mixer_selem_get_playback_volume(element, channel, &raw) < 0) {
      open_->Forget(found->alsaName);
      return std::nullopt;
    }
    values.push_back(ToChannelValue(raw, min, max));
  }
  if (values.empty()) return std::nullopt;
  return values;
}

bool AlsaMixer::SetChannelValues(int device, int destination, int source,
                                 const std::vector<int>& values) {
  const auto found = DeviceAt(device);
  if (!found) return false;
  snd_mixer_t* mixer = open_->Get(found->alsaName);
  if (mixer == nullptr) return false;
  snd_mixer_elem_t* element = LineElement(mixer, destination, source);
  if (element == nullptr) return false;
  long min = 0;
  long max = 0;
  if (snd_mixer_selem_get_playback_volume_range(element, &min, &max) < 0) return false;
  const auto channels = PlaybackChannels(element);
  const std::size_t count = std::min(values.size(), channels.size());
  for (std::size_t c = 0; c < count; ++c) {
    long present = min;
    bool done = snd_mixer_selem_get_playback_volume(element, channels[c], &present) >= 0;
    const long raw = ToRawVolume(values[c], present, min, max);
    if (done && raw != present)
      done = snd_mixer_selem_set_playback_volume(element, channels[c], raw) >= 0;
    if (!done) {
      open_->Forget(found->alsaName);
      return false;
    }
  }
  return true;
}

int AlsaMixer::ToChannelValue(long raw, long min, long max) {
  if (max <= min) return 0;
  const long long range = static_cast<long long>(max) - min;
  const long long offset = std::clamp(raw, min, max) - static_cast<long long>(min);
  return static_cast<int>((offset * kTop * 2 + range) / (range * 2));
}

long AlsaMixer::ToRawVolume(int value, long present, long min, long max) {
  if (max <= min) return min;
  const long long range = static_cast<long long>(max) - min;
  const long long wanted = std::clamp<long long>(value, 0, kTop);
  const long nearest = static_cast<long>(min + (wanted * range * 2 + kTop) / (kTop * 2));
  if (nearest != present || present < min || present > max) return nearest;
  const int presentValue = ToChannelValue(present, min, max);
  if (wanted > presentValue && present < max) return present + 1;
  if (wanted < presentValue && present > min) return present - 1;
  return present;
}

}  // namespace pelorin::lnx
