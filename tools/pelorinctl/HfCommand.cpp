#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "CtlCommands.h"
#include "HomeOfFile.h"
#include "StderrDialogs.h"
#include "StderrLog.h"
#include "common/AtomicFile.h"
#include "storage/Custodo.h"
#include "storage/ScrambledFiles.h"
#include "storage/Scrambler.h"
#include "storage/SettingsEncoding.h"

namespace fs = std::filesystem;

namespace pelorin::ctl {
namespace {

int Cat(const std::string& file) {
  const auto bytes = ReadWholeFile(file);
  const auto plain = bytes ? UnscrambleBlock(*bytes, SuiteLayout::kScrambledFileKey)
                           : std::optional<std::string>();
  if (!plain || plain->empty()) {
    std::cerr << "pelorinctl: " << file << " is missing or damaged\n";
    return kFailed;
  }
  const SettingsEncoding encoding = DetectSettingsEncoding(*plain);
  std::string_view body = *plain;
  if (encoding == SettingsEncoding::kUtf8) body.remove_prefix(kUtf8ByteOrderMark.size());
  std::string text = DecodeSettingsText(body, encoding);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  std::cout << out;
  return kOk;
}

// A scrambled file outside any home: its plain form goes to a scratch file of its own
// beside it, so that no file of the user's is overwritten or deleted. The scratch file
// holds what the scrambled file protects: it is the owner's only, and is named as a
// temporary file of the scrambled file, so that when the tool is killed the next write
// of that file removes it.
bool ChangeLooseFile(const fs::path& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  fs::path twin;
  std::error_code cause;
  const int fd = CreateScratchFileFor(file, twin, cause);
  if (fd < 0) throw SettingsWriteError(file, cause);
  ::close(fd);
  struct RemoveTwin {
    fs::path path;
    ~RemoveTwin() {
      std::error_code ec;
      fs::remove(path, ec);
    }
  } guard{twin};
  if (!UnscrambleFile(file, twin, SuiteLayout::kScrambledFileKey)) return false;
  SettingsFile(twin).WriteString(section, key, value);
  FileError refusal;
  if (!ScrambleFile(twin, file, SuiteLayout::kScrambledFileKey, &refusal)) {
    throw SettingsWriteError(file, refusal.cause);
  }
  return true;
}

bool ChangeInHome(const PlaceInHome& place, const ProfileFileName& name, const std::string& section,
                  const std::string& key, const std::string& value) {
  StderrDialogs dialogs;
  StderrLog log;
  const SuiteLayout layout(place.home);
  Custodo custodo(layout, place.profilePath, dialogs, log);
  ScrambledFiles scrambled(layout, place.profilePath, dialogs, log, custodo, [] {});
  const auto write = [&](SettingsFile& settings) { settings.WriteString(section, key, value); };
  if (place.profilePath.empty()) return scrambled.ChangeSystemSettings(write);

  // The profile's own Custodo option decides whether the change is backed up.
  bool protect = false;
  if (!scrambled.ReadScrambled("main", [&](const SettingsFile& main) {
        protect = main.ReadBool("SYSTEM", "Custodo", false);
      })) {
    return false;
  }
  custodo.SetCustodo(protect);
  return scrambled.ChangeScrambled(name.name, write);
}

int Set(const Args& args) {
  const fs::path file = args[1];
  const auto place = FindPlaceInHome(file);
  // In a profile folder only the suite's own scrambled files are changed, by the names
  // its backup keeps.
  ProfileFileName name{"", true};
  if (place && !place->profilePath.empty()) {
    const auto found = ProfileFileNameOf(file);
    if (!found || !found->scrambled || !IsSettingsFileName(found->name)) {
      std::cerr << "pelorinctl: " << file.string()
                << " is not a scrambled settings file of the suite; nothing was changed\n";
      return kFailed;
    }
    name = *found;
  }
  return RunChange([&] {
    const bool changed = place ? ChangeInHome(*place, name, args[2], args[3], args[4])
                               : ChangeLooseFile(file, args[2], args[3], args[4]);
    if (changed) return kOk;
    std::cerr << "pelorinctl: " << file.string() << " is missing or damaged\n";
    return kFailed;
  });
}

}  // namespace

int RunHf(const Args& args) {
  if (args.empty()) return UsageError("hf needs an action and a file", "hf");
  const std::string& verb = args[0];
  if (!KnownAction("hf", verb)) return UsageError("unknown hf action \"" + verb + "\"", "hf");
  if (!FreeOfLineBreaks(args)) return LineBreakError("hf", verb);
  if (args.size() == 2 && verb == "cat") return Cat(args[1]);
  if (args.size() == 5 && verb == "set") return Set(args);
  return CountError("hf", verb, args.size() - 1);
}

}  // namespace pelorin::ctl
