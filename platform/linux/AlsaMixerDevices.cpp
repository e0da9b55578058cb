#include "linux/AlsaMixerDevices.h"

#include <alsa/asoundlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {
namespace {

constexpr const char* kDefaultDevice = "default";
constexpr const char* kCardFolder = "/dev/snd";

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
  if (snd_ctl_open(&raw, kDefaultDevice, 0) < 0) return std::nullopt;
  CtlHandle ctl(raw);
  if (snd_ctl_type(ctl.get()) == SND_CTL_TYPE_HW) return std::nullopt;
  snd_ctl_card_info_t* info = nullptr;
  if (snd_ctl_card_info_malloc(&info) < 0) return std::nullopt;
  std::string name = kDefaultDevice;
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

// What changes when a card's device files come or go: the folder's identity and the
// time of its last change; "none" while it does not exist.
std::string CardFolderStamp() {
  struct stat folder {};
  if (::stat(kCardFolder, &folder) != 0) return "none";
  return std::to_string(folder.st_dev) + ":" + std::to_string(folder.st_ino) + ":" +
         std::to_string(folder.st_mtim.tv_sec) + "." + std::to_string(folder.st_mtim.tv_nsec);
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

// A line's range and raw channel volumes; false when ALSA failed to give them.
bool ReadLine(snd_mixer_elem_t* element, AlsaLineState& line) {
  if (snd_mixer_selem_get_playback_volume_range(element, &line.min, &line.max) < 0) return false;
  for (const auto channel : PlaybackChannels(element)) {
    long raw = 0;
    if (snd_mixer_selem_get_playback_volume(element, channel, &raw) < 0) {
      line.raw.clear();
      return false;
    }
    line.raw.push_back(raw);
  }
  return true;
}

}  // namespace

struct AlsaMixerDevices::OpenMixers {
  std::map<std::string, MixerHandle> mixers;
  std::string serverName;  // of the "default" device while it is a sound server

  bool IsOpen(const std::string& alsaName) const { return mixers.count(alsaName) > 0; }
  // The open mixer of a device, opened when it is not open; nullptr when it does not open.
  snd_mixer_t* Get(const std::string& alsaName) {
    auto found = mixers.find(alsaName);
    if (found != mixers.end()) return found->second.get();
    MixerHandle mixer = OpenMixerDevice(alsaName);
    if (!mixer) return nullptr;
    return mixers.emplace(alsaName, std::move(mixer)).first->second.get();
  }
  // Closes a device's mixer after a failure; the next Get opens it afresh.
  void Forget(const std::string& alsaName) { mixers.erase(alsaName); }
};

AlsaMixerDevices::AlsaMixerDevices() : open_(std::make_unique<OpenMixers>()) {}

AlsaMixerDevices::~AlsaMixerDevices() = default;

AlsaMixerDevices::ServerLookup AlsaMixerDevices::SoundServer() {
  // While the server's mixer is open the server is there (a server that goes away makes
  // the mixer fail, and HandleEvents closes it); asking ALSA's configuration again would
  // connect to the server each time.
  if (open_->IsOpen(kDefaultDevice)) return {open_->serverName, false};
  std::optional<std::string> name = DefaultServerName();
  if (!name) {
    switch (ProbeSoundServer()) {
      case SoundServerState::kAbsent:
        configReloaded_ = false;
        return {};
      case SoundServerState::kStuck:
        configReloaded_ = false;
        return {std::nullopt, true};
      case SoundServerState::kListening:
        if (configReloaded_) return {};  // ALSA's default does not lead to it
        snd_config_update_free_global();
        configReloaded_ = true;
        name = DefaultServerName();
        if (!name) return {};
        break;
    }
  }
  open_->serverName = *name;
  if (open_->Get(kDefaultDevice) == nullptr) return {std::nullopt, true};
  return {name, false};
}

std::optional<std::vector<AlsaMixerDevices::Device>> AlsaMixerDevices::Devices() {
  const ServerLookup server = SoundServer();
  if (server.unanswered) return std::nullopt;
  std::vector<Device> devices;
  if (server.name) devices.push_back({kDefaultDevice, *server.name});
  const auto& cards = Cards();
  devices.insert(devices.end(), cards.begin(), cards.end());
  return devices;
}

const std::vector<AlsaMixerDevices::Device>& AlsaMixerDevices::Cards() {
  const std::string stamp = CardFolderStamp();
  if (cardFolderStamp_ == stamp) return cards_;
  cardFolderStamp_ = stamp;
  cards_.clear();
  int card = -1;
  while (snd_card_next(&card) >= 0 && card >= 0) {
    char* name = nullptr;
    Device device{"hw:" + std::to_string(card), "card " + std::to_string(card)};
    if (snd_card_get_name(card, &name) >= 0 && name != nullptr) device.name = name;
    std::free(name);
    cards_.push_back(std::move(device));
  }
  return cards_;
}

std::optional<AlsaMixerSnapshot> AlsaMixerDevices::Read() {
  auto devices = Devices();
  if (!devices) return std::nullopt;
  lastRead_ = std::move(*devices);
  AlsaMixerSnapshot snapshot;
  for (const Device& device : lastRead_) {
    AlsaDeviceState state{device.alsaName, device.name, {}};
    if (snd_mixer_t* mixer = open_->Get(device.alsaName)) {
      bool failed = false;
      for (snd_mixer_elem_t* element : VolumeElements(mixer)) {
        AlsaLineState line{ElementName(element), 0, 0, {}};
        if (!ReadLine(element, line)) failed = true;
        state.lines.push_back(std::move(line));
      }
      if (failed) open_->Forget(device.alsaName);
    }
    snapshot.push_back(std::move(state));
  }
  return snapshot;
}

bool AlsaMixerDevices::DevicesChanged() {
  const auto devices = Devices();
  return !devices || *devices != lastRead_;
}

std::vector<pollfd> AlsaMixerDevices::PollDescriptors() const {
  std::vector<pollfd> descriptors;
  for (const auto& [name, mixer] : open_->mixers) {
    const int count = snd_mixer_poll_descriptors_count(mixer.get());
    if (count <= 0) continue;
    const std::size_t start = descriptors.size();
    descriptors.resize(start + static_cast<std::size_t>(count));
    const int filled = snd_mixer_poll_descriptors(mixer.get(), descriptors.data() + start, count);
    descriptors.resize(start + static_cast<std::size_t>(std::max(filled, 0)));
  }
  return descriptors;
}

bool AlsaMixerDevices::HandleEvents() {
  bool changed = false;
  for (auto it = open_->mixers.begin(); it != open_->mixers.end();) {
    const int handled = snd_mixer_handle_events(it->second.get());
    if (handled != 0) changed = true;
    it = handled < 0 ? open_->mixers.erase(it) : std::next(it);
  }
  return changed;
}

bool AlsaMixerDevices::Write(const std::string& alsaName, const std::string& line,
                             const std::vector<long>& raw) {
  snd_mixer_t* mixer = open_->Get(alsaName);
  if (mixer == nullptr) return false;
  const auto elements = VolumeElements(mixer);
  const auto found = std::find_if(elements.begin(), elements.end(),
                                  [&line](snd_mixer_elem_t* e) { return ElementName(e) == line; });
  if (found == elements.end()) return false;
  snd_mixer_elem_t* element = *found;
  long min = 0;
  long max = 0;
  if (snd_mixer_selem_get_playback_volume_range(element, &min, &max) < 0) return false;
  const auto channels = PlaybackChannels(element);
  const std::size_t count = std::min(raw.size(), channels.size());
  for (std::size_t c = 0; c < count; ++c) {
    long present = min;
    bool done = snd_mixer_selem_get_playback_volume(element, channels[c], &present) >= 0;
    const long wanted = std::clamp(raw[c], min, max);
    if (done && wanted != present)
      done = snd_mixer_selem_set_playback_volume(element, channels[c], wanted) >= 0;
    if (!done) {
      open_->Forget(alsaName);
      return false;
    }
  }
  return true;
}

}  // namespace pelorin::lnx
