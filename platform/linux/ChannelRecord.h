#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace pelorin::lnx {

// The note with which the running suite tells later starts on its home where its command
// channel is (InstancePaths::ChannelRecord): two lines, its process id and the socket's
// path. Only the holder of the home's lock writes it.
struct ChannelRecord {
  pid_t pid = 0;
  std::filesystem::path socket;
};

// Writes the record in one step (a temporary file renamed over the old one), mode 600.
// Empty, or the reason naming the file.
std::string WriteChannelRecord(const std::filesystem::path& file, const ChannelRecord& record);

// The record, when the file is a regular file of this user holding a well-formed one.
std::optional<ChannelRecord> ReadChannelRecord(const std::filesystem::path& file);

}  // namespace pelorin::lnx
