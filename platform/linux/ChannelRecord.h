#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin::lnx {

// The note with which the running suite tells later starts on its home where its command
// channel is: two lines, its process id and the socket's path. It is the content of the
// home's lock file (InstancePaths::LockFile), written by the lock's holder only.
struct ChannelRecord {
  pid_t pid = 0;
  std::filesystem::path socket;
};

std::string FormatChannelRecord(const ChannelRecord& record);

// The record of a text, when it is a well-formed one.
std::optional<ChannelRecord> ParseChannelRecord(std::string_view text);

// The record in a file, when the file is a regular file of this user holding a
// well-formed one.
std::optional<ChannelRecord> ReadChannelRecord(const std::filesystem::path& file);

}  // namespace pelorin::lnx
