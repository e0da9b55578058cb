#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/AtomicFile.h"

namespace pelorin {

class SettingsDocument;

// What a read of a settings file found.
struct LoadedSettings {
  // The parsed file; an empty document for a missing or unreadable file. Never null.
  std::shared_ptr<const SettingsDocument> document;
  // False when something stands at the path that is not a readable settings file (a
  // directory, a file that cannot be read or is too large): a write must not replace it.
  bool readable = true;
  // Why it is not: a file larger than SettingsDocument::kMaxSize, which is not read.
  bool tooLarge = false;
};

// The process-wide cache of parsed settings files, so that repeated reads of an
// unchanged file do not parse it again. Entries are keyed on the file's canonical path
// and checked on every load with one stat(): the file's device, inode, size,
// modification time and change time must be those of the cached bytes. A file whose
// timestamps are not yet older than the clock tick of its reading (a change within
// the same tick would leave them equal) is read again and compared byte for byte
// until they are. Holds the most recently used files, up to a count and a total size.
// Safe to use from several threads.
class SettingsCache {
 public:
  // What identifies one state of a file.
  struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };

  static SettingsCache& Instance();

  LoadedSettings Load(const std::filesystem::path& file);
  // Replaces the file with the bytes (atomically) and keeps them parsed, so that the
  // next load does not parse. False when the file could not be written; it is then
  // unchanged.
  bool Write(const std::filesystem::path& file, std::string bytes,
             Durability durability = Durability::Durable);
  // Forgets every file: the next load of each parses it again.
  void Clear();
  // How many times file bytes were parsed since the process started.
  std::uint64_t ParseCount() const;

 private:
  struct Entry {
    std::string key;
    FileStamp stamp;
    // False while a change within the clock tick of the reading could have kept the
    // stamp: the bytes are then compared before the document is used.
    bool settled = false;
    std::shared_ptr<const SettingsDocument> document;
    std::uint64_t lastUse = 0;
  };

  static constexpr std::size_t kMaxEntries = 64;
  static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

  std::shared_ptr<const SettingsDocument> Parse(std::string bytes);
  Entry* Find(const std::string& key);
  void Store(Entry entry);
  void Forget(const std::string& key);

  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
  std::uint64_t useClock_ = 0;
  std::uint64_t parseCount_ = 0;
};

}  // namespace pelorin
