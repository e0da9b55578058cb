#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin {

// Durable files are flushed to disk before and after they replace the old one.
// Transient files (the plain copy of a scrambled file, which lives for a moment and is
// made again from the scrambled file when it is needed) are replaced just as
// atomically, without waiting for the disk.
enum class Durability { Durable, Transient };

// Replaces `file` with `bytes` so that a crash never leaves half a file: the bytes go
// to a temporary file in the same directory, are flushed to disk and renamed over
// the old file, whose permission bits the new one keeps. False when any step fails;
// the old file is then untouched and no temporary file remains.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes,
                         Durability durability = Durability::Durable);

// The whole content of a regular file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

}  // namespace pelorin
