#include "storage/SettingsTransaction.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "storage/SettingsCache.h"
#include "storage/SettingsDocument.h"
#include "storage/SettingsPending.h"

namespace pelorin {
namespace {

// The open transactions of this thread, one per file.
std::vector<std::unique_ptr<PendingSettings>>& OpenTransactions() {
  thread_local std::vector<std::unique_ptr<PendingSettings>> open;
  return open;
}

std::unique_ptr<PendingSettings> Close(PendingSettings* pending) {
  auto& open = OpenTransactions();
  const auto found = std::find_if(open.begin(), open.end(),
                                  [pending](const auto& entry) { return entry.get() == pending; });
  std::unique_ptr<PendingSettings> closed = std::move(*found);
  open.erase(found);
  return closed;
}

// The bytes to store: the changes as made when the file is still as the transaction
// found it, else the same changes made again on the file as it is now.
std::string ChangedBytes(const PendingSettings& pending, const SettingsDocument& onDisk) {
  if (&onDisk == pending.base.get() || onDisk.Bytes() == pending.base->Bytes()) {
    return pending.current->Bytes();
  }
  std::string bytes = onDisk.Bytes();
  for (const SettingsEdit& edit : pending.edits) {
    bytes = edit(SettingsDocument(std::move(bytes)));
  }
  return bytes;
}

void Write(const PendingSettings& pending) {
  if (pending.edits.empty()) return;
  const std::lock_guard lock(SettingsWriteMutex());
  auto& cache = SettingsCache::Instance();
  const LoadedSettings onDisk = cache.Load(pending.target);
  if (!onDisk.readable) RefuseSettingsWrite(pending.reported, onDisk.tooLarge);
  std::string bytes = ChangedBytes(pending, *onDisk.document);
  if (bytes == onDisk.document->Bytes()) return;
  if (!cache.Write(pending.target, std::move(bytes), pending.durability)) {
    throw SettingsWriteError(pending.reported);
  }
}

}  // namespace

PendingSettings* FindPendingSettings(const std::filesystem::path& target) {
  for (const auto& entry : OpenTransactions()) {
    if (entry->target == target) return entry.get();
  }
  return nullptr;
}

std::mutex& SettingsWriteMutex() {
  static std::mutex mutex;
  return mutex;
}

SettingsTransaction::SettingsTransaction(const SettingsFile& file, Durability durability)
    : pending_(FindPendingSettings(file.target_)), outermost_(pending_ == nullptr) {
  if (!outermost_) {
    savedDocument_ = pending_->current;
    savedEdits_ = pending_->edits.size();
    return;
  }
  auto state = std::make_unique<PendingSettings>();
  const LoadedSettings loaded = SettingsCache::Instance().Load(file.target_);
  state->target = file.target_;
  state->reported = file.ReportedName();
  state->base = loaded.document;
  state->current = loaded.document;
  state->writable = loaded.readable && file.target_.has_filename();
  state->tooLarge = loaded.tooLarge;
  state->durability = durability;
  pending_ = state.get();
  OpenTransactions().push_back(std::move(state));
}

SettingsTransaction::~SettingsTransaction() {
  if (pending_ == nullptr) return;
  if (outermost_) {
    Close(pending_);
    return;
  }
  pending_->current = std::move(savedDocument_);
  pending_->edits.resize(savedEdits_);
}

void SettingsTransaction::Commit() {
  if (pending_ == nullptr) return;
  PendingSettings* const pending = std::exchange(pending_, nullptr);
  if (!outermost_) return;  // the outer transaction keeps the changes
  // Closed first, so that the write reads the file as it is on disk.
  Write(*Close(pending));
}

}  // namespace pelorin
