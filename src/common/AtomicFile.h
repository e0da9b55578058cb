#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace pelorin {

// Durable files are flushed to disk before and after they replace the old one.
// Transient files (the plain copy of a scrambled file, which lives for a moment and is
// made again from the scrambled file when it is needed) are replaced just as
// atomically, without waiting for the disk.
enum class Durability { Durable, Transient };

// Who may read a file. A shared file gets the user's usual permissions: a new one those
// the umask leaves of 0666, a replaced one the bits of the file it replaces. An
// owner-only file (one that holds passwords) is made 0600 whatever it replaces.
enum class FileAccess { Shared, OwnerOnly };

struct AtomicWriteOptions {
  Durability durability = Durability::Durable;
  FileAccess access = FileAccess::Shared;
};

// Replaces `file` with `bytes` so that a crash never leaves half a file: the bytes go
// to a temporary file in the same directory (see IsInterruptedWriteName), are flushed to
// disk and renamed over the old file. When run as root, a replaced file keeps its owner.
// The new file carries a stamp of its content (ContentStamp.h), so that a reader can
// tell a file this program wrote whole from one that something else changed.
// Temporary files that earlier, interrupted writes of the same file left are removed.
// False when any step fails, with the system's reason in `cause`; the old file is then
// untouched and no temporary file remains.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         const AtomicWriteOptions& options, std::error_code& cause);
// The same for a shared file, without the reason.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         Durability durability = Durability::Durable);

// The system's reason why the last atomic write of `file` on this thread was refused;
// empty when the last write on this thread succeeded or was of another file. For code
// that learns of a refused write only from a false result.
std::error_code LastRefusedWriteCause(const std::filesystem::path& file);

// The whole content of a regular file, or nothing when it cannot be read: then `cause`
// says why (no such file, a directory, permission denied, ...).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::error_code& cause);
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Creates a new, empty temporary file for `file` in its directory, named as an atomic
// write's (IsInterruptedWriteName) and readable by the owner only, for scratch work on
// the file's behalf (a plain copy to edit). It is locked while the returned descriptor
// stays open, so no sweep takes it; when its maker is killed, the next write of `file`
// removes it. -1 on failure, with the system's reason in `cause`.
int CreateScratchFileFor(const std::filesystem::path& file, std::filesystem::path& scratch,
                         std::error_code& cause);

// True for the name of a temporary file of an atomic write: "." + the name of the file
// written + ".pelorin-tmp-" + six letters or digits. When the writer was killed before
// renaming it, such a file stays behind.
bool IsInterruptedWriteName(std::string_view fileName);
// Removes from `directory` the temporary files that interrupted atomic writes left (of
// the file named `fileName` only, when it is given), except those that a write still in
// progress holds. Links are not followed. The number of files removed.
int RemoveInterruptedWrites(const std::filesystem::path& directory, std::string_view fileName = {});

}  // namespace pelorin
