#include "linux/AlsaMixerDevices.h"

#include <alsa/asoundlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>

#include "linux/SoundServerProbe.h"

namespace pelorin::lnx {
namespace {

constexpr const char* kDefaultDevice = "default";
constexpr const char* kCardFolder = "/dev/snd";
// How the log names what is not a mixer device.
constexpr const char* kControlOfDefault = "control of default";
constexpr const char* kCardList = "the list of cards";

struct MixerCloser {
  void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

struct CtlCloser {
  void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};
using CtlHandle = std::unique_ptr<snd_ctl_t, CtlCloser>;

// The name of ALSA's "default" control device when it is not a hardware card (a sound
// server's plug-in); nothing when it is a card or does not open (`error` then holds
// ALSA's error).
std::optional<std::string> DefaultServerName(int& error) {
  snd_ctl_t* raw = nullptr;
  error = snd_ctl_open(&raw, kDefaultDevice, 0);
  if (error < 0) return std::nullopt;
  error = 0;
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

// A device's mixer, opened and loaded; nothing when a step fails, with the step and
// ALSA's error in `failed` and `error`.
MixerHandle OpenMixerDevice(const std::string& alsaName, const char*& failed, int& error) {
  snd_mixer_t* raw = nullptr;
  failed = "snd_mixer_open";
  if ((error = snd_mixer_open(&raw, 0)) < 0) return nullptr;
  MixerHandle mixer(raw);
  failed = "snd_mixer_attach";
  if ((error = snd_mixer_attach(mixer.get(), alsaName.c_str())) < 0) return nullptr;
  failed = "snd_mixer_selem_register";
  if ((error = snd_mixer_selem_register(mixer.get(), nullptr, nullptr)) < 0) return nullptr;
  failed = "snd_mixer_load";
  if ((error = snd_mixer_load(mixer.get())) < 0) return nullptr;
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

// A line's range and raw channel volumes; ALSA's error when it failed to give them, 0
// otherwise.
int ReadLine(snd_mixer_elem_t* element, AlsaLineState& line) {
  if (const int error = snd_mixer_selem_get_playback_volume_range(element, &line.min, &line.max);
      error < 0) {
    return error;
  }
  for (const auto channel : PlaybackChannels(element)) {
    long raw = 0;
    if (const int error = snd_mixer_selem_get_playback_volume(element, channel, &raw); error < 0) {
      line.raw.clear();
      return error;
    }
    line.raw.push_back(raw);
  }
  return 0;
}

}  // namespace

struct AlsaMixerDevices::OpenMixers {
  std::map<std::string, MixerHandle> mixers;
  std::string serverName;  // of the "default" device while it is a sound server

  bool IsOpen(const std::string& alsaName) const { return mixers.count(alsaName) > 0; }
  // The open mixer of a device, opened when it is not open; nullptr, after telling
  // `owner` why, when it does not open.
  snd_mixer_t* Get(const std::string& alsaName, AlsaMixerDevices& owner) {
    auto found = mixers.find(alsaName);
    if (found != mixers.end()) return found->second.get();
    const char* failed = "";
    int error = 0;
    MixerHandle mixer = OpenMixerDevice(alsaName, failed, error);
    if (!mixer) {
      owner.Failed(alsaName, failed, error);
      return nullptr;
    }
    return mixers.emplace(alsaName, std::move(mixer)).first->second.get();
  }
  // Closes a device's mixer after a failure; the next Get opens it afresh.
  void Forget(const std::string& alsaName) { mixers.erase(alsaName); }
};

AlsaMixerDevices::AlsaMixerDevices(ports::Log& log)
    : log_(log), open_(std::make_unique<OpenMixers>()) {}

AlsaMixerDevices::~AlsaMixerDevices() = default;

void AlsaMixerDevices::Failed(const std::string& device, const std::string& what, int error) {
  if (!failing_.emplace(device, what).second) return;
  log_.Write("alsa", device + ": " + what + ": " + snd_strerror(error));
}

void AlsaMixerDevices::Worked(const std::string& device) {
  if (failing_.erase(device) == 0) return;
  log_.Write("alsa", device + " works again");
}

AlsaMixerDevices::ServerLookup AlsaMixerDevices::SoundServer() {
  // While the server's mixer is open the server is there (a server that goes away makes
  // the mixer fail, and HandleEvents closes it); asking ALSA's configuration again would
  // connect to the server each time.
  if (open_->IsOpen(kDefaultDevice)) return {open_->serverName, false};
  int error = 0;
  std::optional<std::string> name = DefaultServerName(error);
  // No such device is what a machine without sound has, and no failure.
  if (error < 0 && error != -ENOENT && error != -ENODEV) {
    Failed(kControlOfDefault, "snd_ctl_open", error);
  } else if (error == 0) {
    Worked(kControlOfDefault);
  }
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
        name = DefaultServerName(error);
        if (!name) return {};
        break;
    }
  }
  open_->serverName = *name;
  if (open_->Get(kDefaultDevice, *this) == nullptr) return {std::nullopt, true};
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
  int error = 0;
  while ((error = snd_card_next(&card)) >= 0 && card >= 0) {
    char* name = nullptr;
    Device device{"hw:" + std::to_string(card), "card " + std::to_string(card)};
    if (snd_card_get_name(card, &name) >= 0 && name != nullptr) device.name = name;
    std::free(name);
    cards_.push_back(std::move(device));
  }
  if (error < 0) {
    Failed(kCardList, "snd_card_next", error);
  } else {
    Worked(kCardList);
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
    if (snd_mixer_t* mixer = open_->Get(device.alsaName, *this)) {
      int failure = 0;
      for (snd_mixer_elem_t* element : VolumeElements(mixer)) {
        AlsaLineState line{ElementName(element), 0, 0, {}};
        if (const int error = ReadLine(element, line); error < 0) {
          if (failure == 0) Failed(device.alsaName, "reading " + line.name, error);
          failure = error;
        }
        state.lines.push_back(std::move(line));
      }
      if (failure < 0) {
        open_->Forget(device.alsaName);
      } else {
        Worked(device.alsaName);
      }
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
    if (handled < 0) Failed(it->first, "snd_mixer_handle_events", handled);
    it = handled < 0 ? open_->mixers.erase(it) : std::next(it);
  }
  return changed;
}

bool AlsaMixerDevices::Write(const std::string& alsaName, const std::string& line,
                             const std::vector<long>& raw) {
  snd_mixer_t* mixer = open_->Get(alsaName, *this);
  if (mixer == nullptr) return false;
  const auto elements = VolumeElements(mixer);
  const auto found = std::find_if(elements.begin(), elements.end(),
                                  [&line](snd_mixer_elem_t* e) { return ElementName(e) == line; });
  if (found == elements.end()) return false;
  snd_mixer_elem_t* element = *found;
  long min = 0;
  long max = 0;
  if (const int error = snd_mixer_selem_get_playback_volume_range(element, &min, &max); error < 0) {
    Failed(alsaName, "the range of " + line, error);
    return false;
  }
  const auto channels = PlaybackChannels(element);
  const std::size_t count = std::min(raw.size(), channels.size());
  for (std::size_t c = 0; c < count; ++c) {
    long present = min;
    int error = snd_mixer_selem_get_playback_volume(element, channels[c], &present);
    const long wanted = std::clamp(raw[c], min, max);
    if (error >= 0 && wanted != present)
      error = snd_mixer_selem_set_playback_volume(element, channels[c], wanted);
    if (error < 0) {
      Failed(alsaName, "setting the volume of " + line, error);
      open_->Forget(alsaName);
      return false;
    }
  }
  return true;
}

}  // namespace pelorin::lnx
