#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "CtlCommands.h"
#include "common/Text.h"
#include "storage/SettingsFile.h"

namespace pelorin::ctl {
namespace {

std::optional<int> ParseInt(const std::string& text) {
  try {
    std::size_t used = 0;
    const int value = std::stoi(text, &used, 10);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

std::optional<bool> ParseBool(const std::string& text) {
  if (text == "1" || text == "true") return true;
  if (text == "0" || text == "false") return false;
  return std::nullopt;
}

// Runs a change of the file, reporting failures as pelorinctl does.
template <typename Change>
int ApplyChange(const std::string& file, Change change) {
  if (const auto refusal = BackupRefusal(file)) {
    std::cerr << "pelorinctl: " << *refusal << "\n";
    return kFailed;
  }
  const int status = RunChange([&] {
    change(SettingsFile(file));
    return kOk;
  });
  if (status != kOk) return status;
  return RefreshBackupAfterChange(file);
}

}  // namespace

int RunIni(const Args& args) {
  if (args.empty()) return UsageError("ini needs an action and a file", "ini");
  const std::string& verb = args[0];
  if (!KnownAction("ini", verb)) return UsageError("unknown ini action \"" + verb + "\"", "ini");
  if (args.size() < 2 || args[1].empty()) {
    if (args.size() < 2) return CountError("ini", verb, 0);
    return UsageError("ini " + verb + ": FILE is empty", "ini", verb);
  }
  if (!FreeOfLineBreaks(args)) return LineBreakError("ini", verb);
  const std::string& file = args[1];
  const std::size_t n = args.size();

  const bool isRead =
      verb == "get" || verb == "get-int" || verb == "get-bool" || verb == "list-length";
  if (isRead && ExistsButUnreadable(file)) {
    std::cerr << "pelorinctl: cannot read " << file << "\n";
    return kFailed;
  }
  const SettingsFile settings(file);

  if (verb == "get" && (n == 4 || n == 5)) {
    std::cout << settings.ReadString(args[2], args[3], n == 5 ? args[4] : "") << "\n";
    return kOk;
  }
  if (verb == "get-int" && n == 5) {
    const auto def = ParseInt(args[4]);
    if (!def) {
      return UsageError("ini get-int: DEFAULT must be a whole number, not \"" + args[4] + "\"",
                        "ini", verb);
    }
    std::cout << settings.ReadInteger(args[2], args[3], *def) << "\n";
    return kOk;
  }
  if (verb == "get-bool" && n == 5) {
    const auto def = ParseBool(args[4]);
    if (!def) {
      return UsageError(
          "ini get-bool: DEFAULT must be 1, 0, true or false, not \"" + args[4] + "\"", "ini",
          verb);
    }
    std::cout << (settings.ReadBool(args[2], args[3], *def) ? 1 : 0) << "\n";
    return kOk;
  }
  if (verb == "list-length" && n == 2) {
    std::cout << NumberedSectionCount(settings) << "\n";
    return kOk;
  }
  const bool isChange = verb == "set" || verb == "delete-key" || verb == "erase-section";
  if (isChange && UpCaseText(std::filesystem::path(file).extension().string()) == ".HF") {
    std::cerr << "pelorinctl: " << file << " is scrambled; change it with 'hf set'\n";
    return kUsage;
  }
  if (verb == "set" && n == 5) {
    return ApplyChange(file, [&](SettingsFile f) { f.WriteString(args[2], args[3], args[4]); });
  }
  if (verb == "delete-key" && n == 4) {
    return ApplyChange(file, [&](SettingsFile f) { f.DeleteKey(args[2], args[3]); });
  }
  if (verb == "erase-section" && n == 3) {
    return ApplyChange(file, [&](SettingsFile f) { f.EraseSection(args[2]); });
  }
  return CountError("ini", verb, n - 1);
}

}  // namespace pelorin::ctl
