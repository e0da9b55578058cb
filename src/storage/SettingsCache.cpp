#include "storage/SettingsCache.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cerrno>

#include "common/AtomicFile.h"
#include "storage/SettingsDocument.h"

namespace pelorin {
namespace {

using FileStamp = SettingsCache::FileStamp;

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
// A file system that keeps whole seconds (or two, like FAT) gets this much slack.
constexpr std::int64_t kCoarseTimestampSlackNs = 2 * kNsPerSecond;
// Attempts to read a file that keeps changing while it is read.
constexpr int kReadAttempts = 3;

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * kNsPerSecond + time.tv_nsec;
}

// The clock that file timestamps are taken from: a change made after this moment gets
// a timestamp at or after it.
std::int64_t TimestampClockNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
  return Nanoseconds(now);
}

enum class StatResult { kFile, kMissing, kUnusable, kTooLarge };

StatResult StatFile(const std::filesystem::path& file, FileStamp& stamp) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? StatResult::kMissing : StatResult::kUnusable;
  }
  if (!S_ISREG(info.st_mode)) return StatResult::kUnusable;
  if (static_cast<std::uint64_t>(info.st_size) > SettingsDocument::kMaxSize) {
    return StatResult::kTooLarge;
  }
  stamp = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
           static_cast<std::int64_t>(info.st_size), Nanoseconds(info.st_mtim),
           Nanoseconds(info.st_ctim)};
  return StatResult::kFile;
}

// Whether every change after `readStart` must show in the stamp: its timestamps lie
// before the tick in which the reading started. Timestamps without a fraction of a
// second come from a file system that rounds them down, which needs the slack.
bool IsSettled(const FileStamp& stamp, std::int64_t readStart) {
  const bool wholeSeconds =
      stamp.modifiedNs % kNsPerSecond == 0 && stamp.changedNs % kNsPerSecond == 0;
  const std::int64_t latest = std::max(stamp.modifiedNs, stamp.changedNs);
  return latest + (wholeSeconds ? kCoarseTimestampSlackNs : 0) < readStart;
}

const std::shared_ptr<const SettingsDocument>& EmptyDocument() {
  static const auto empty = std::make_shared<const SettingsDocument>(std::string());
  return empty;
}

}  // namespace

SettingsCache& SettingsCache::Instance() {
  static SettingsCache cache;
  return cache;
}

LoadedSettings SettingsCache::Load(const std::filesystem::path& file) {
  const std::string& key = file.native();
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    const std::int64_t readStart = TimestampClockNow();
    FileStamp stamp;
    const StatResult found = StatFile(file, stamp);
    if (found == StatResult::kMissing) {
      const std::lock_guard lock(mutex_);
      Forget(key);
      return {EmptyDocument(), true};
    }
    if (found == StatResult::kUnusable) return {EmptyDocument(), false};
    if (found == StatResult::kTooLarge) return {EmptyDocument(), false, true};

    std::shared_ptr<const SettingsDocument> unsettled;
    {
      const std::lock_guard lock(mutex_);
      if (Entry* entry = Find(key); entry != nullptr && entry->stamp == stamp) {
        entry->lastUse = ++useClock_;
        if (entry->settled) return {entry->document, true};
        unsettled = entry->document;
      }
    }

    auto bytes = ReadWholeFile(file);
    FileStamp after;
    if (!bytes || StatFile(file, after) != StatResult::kFile || after != stamp) continue;
    const bool settled = IsSettled(stamp, readStart);
    if (unsettled && unsettled->Bytes() == *bytes) {
      const std::lock_guard lock(mutex_);
      if (Entry* entry = Find(key); entry != nullptr && entry->document == unsettled) {
        entry->settled = settled;
      }
      return {unsettled, true};
    }
    auto document = Parse(std::move(*bytes));
    const std::lock_guard lock(mutex_);
    Store({key, stamp, settled, document, 0});
    return {document, true};
  }
  // The file changed during every attempt: use one more reading without keeping it.
  auto bytes = ReadWholeFile(file);
  if (!bytes) return {EmptyDocument(), false};
  if (bytes->size() > SettingsDocument::kMaxSize) return {EmptyDocument(), false, true};
  return {Parse(std::move(*bytes)), true};
}

bool SettingsCache::Write(const std::filesystem::path& file, std::string bytes,
                          Durability durability) {
  if (bytes.size() > SettingsDocument::kMaxSize) return false;
  const std::int64_t writeStart = TimestampClockNow();
  if (!WriteFileAtomically(file, bytes, durability)) return false;
  auto document = Parse(std::move(bytes));
  FileStamp stamp;
  const bool written = StatFile(file, stamp) == StatResult::kFile;
  const std::lock_guard lock(mutex_);
  if (written) {
    Store({file.native(), stamp, IsSettled(stamp, writeStart), std::move(document), 0});
  } else {
    Forget(file.native());
  }
  return true;
}

void SettingsCache::Clear() {
  const std::lock_guard lock(mutex_);
  entries_.clear();
}

std::uint64_t SettingsCache::ParseCount() const {
  const std::lock_guard lock(mutex_);
  return parseCount_;
}

std::shared_ptr<const SettingsDocument> SettingsCache::Parse(std::string bytes) {
  {
    const std::lock_guard lock(mutex_);
    ++parseCount_;
  }
  return std::make_shared<const SettingsDocument>(std::move(bytes));
}

SettingsCache::Entry* SettingsCache::Find(const std::string& key) {
  const auto found = std::find_if(entries_.begin(), entries_.end(),
                                  [&key](const Entry& entry) { return entry.key == key; });
  return found == entries_.end() ? nullptr : &*found;
}

void SettingsCache::Store(Entry entry) {
  entry.lastUse = ++useClock_;
  if (Entry* existing = Find(entry.key)) {
    *existing = std::move(entry);
  } else {
    entries_.push_back(std::move(entry));
  }
  // Drop the least recently used files beyond the bounds; the newest always stays.
  const auto totalBytes = [this] {
    std::size_t total = 0;
    for (const Entry& e : entries_)
      total += e.document->Bytes().size();
    return total;
  };
  while (entries_.size() > 1 && (entries_.size() > kMaxEntries || totalBytes() > kMaxBytes)) {
    entries_.erase(
        std::min_element(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; }));
  }
}

void SettingsCache::Forget(const std::string& key) {
  std::erase_if(entries_, [&key](const Entry& entry) { return entry.key == key; });
}

}  // namespace pelorin
