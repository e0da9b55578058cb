#pragma once

#include <cstddef>
#include <memory>

#include "common/AtomicFile.h"
#include "storage/SettingsFile.h"

namespace pelorin {

struct PendingSettings;

// A change of one settings file in many keys, written to disk once.
//
// While a transaction is open on a file, every write to that file made on this thread,
// through any SettingsFile object of it (WriteString, DeleteKey, EraseSection,
// DeleteNumberedSection, ...), changes only its text in memory, and every read of it
// on this thread sees those changes. Commit() then replaces the file once, atomically,
// with one flush to disk like a single key write. A transaction that ends without
// Commit() (the operation returned early or threw half-way) writes nothing: the file
// stays as it was.
//
//   SettingsFile run(file);
//   SettingsTransaction change(run);
//   DeleteNumberedSection(run, entry, count);
//   run.WriteInteger("SYSTEM", "Count", count - 1);
//   change.Commit();  // the one write; SettingsWriteError when it is refused
//
// Writes inside a transaction check names and values as usual (SettingsNameError) and
// raise SettingsWriteError at once when the file could not be written at all (a
// directory or an unreadable file in its place), before anything is changed.
//
// Transactions nest: one begun on a file that already has a transaction open on this
// thread joins it. Its Commit() hands its changes to the outer one, and ending without
// Commit() drops only the changes made since it began. The file is written when the
// outermost one commits: what reads the file on disk meanwhile (a backup copy, another
// program) sees the changes only then.
//
// When another program changed the file on disk after the transaction began, Commit()
// makes the same changes again on the file as it is then, so that the other program's
// change is kept as it would be with key-at-a-time writes.
//
// Each change inside a transaction still makes the file's whole new text in memory
// (about a millisecond for a file of some megabytes): a list is changed with
// DeleteNumberedSection, not by copying its sections key by key.
//
// The object is bound to its scope: it cannot be copied or moved.
class SettingsTransaction {
 public:
  // `durability` of the one write: the plain twin of a scrambled file, which is deleted
  // right after it is scrambled, need not wait for the disk.
  explicit SettingsTransaction(const SettingsFile& file,
                               Durability durability = Durability::Durable);
  ~SettingsTransaction();
  SettingsTransaction(const SettingsTransaction&) = delete;
  SettingsTransaction& operator=(const SettingsTransaction&) = delete;

  // Ends the transaction keeping its changes: the outermost one writes the file (when
  // something changed) and raises SettingsWriteError when the write is refused, the
  // file then being unchanged. Later calls do nothing.
  void Commit();

 private:
  PendingSettings* pending_;  // null once the transaction ended
  bool outermost_;
  // What an inner transaction goes back to when it ends without Commit().
  std::shared_ptr<const SettingsDocument> savedDocument_;
  std::size_t savedEdits_ = 0;
};

}  // namespace pelorin
