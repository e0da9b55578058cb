#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/AtomicFile.h"

namespace pelorin {

class SettingsDocument;

// One change of a settings file: the file's bytes after the change, made from its
// parsed form before it.
using SettingsEdit = std::function<std::string(const SettingsDocument&)>;

// The state of a settings file while a SettingsTransaction is open on it: the text as
// it was read when the transaction began, the text with the changes made since, and
// the changes themselves, so that they can be made again on a file that someone else
// changed meanwhile. Open transactions belong to the thread that opened them; other
// threads read and write the file on disk as usual.
struct PendingSettings {
  std::filesystem::path target;    // canonical path, as the parse cache knows the file
  std::filesystem::path reported;  // the name a write error gives
  std::shared_ptr<const SettingsDocument> base;
  std::shared_ptr<const SettingsDocument> current;
  // False when the file cannot be written (see LoadedSettings::readable), and why.
  bool writable = true;
  bool tooLarge = false;
  std::vector<SettingsEdit> edits;
  Durability durability = Durability::Durable;
};

// The open transaction of this thread on the file, or null.
PendingSettings* FindPendingSettings(const std::filesystem::path& target);

// Raises the error of a write refused before it was tried: for a file too large to be
// read, its cause is std::errc::file_too_large ("... : File too large").
[[noreturn]] void RefuseSettingsWrite(const std::filesystem::path& reported, bool tooLarge);

// Serialises every read-modify-write of settings files in the process.
std::mutex& SettingsWriteMutex();

}  // namespace pelorin
