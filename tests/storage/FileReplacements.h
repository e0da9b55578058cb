#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

namespace pelorin::testing {

// Counts how often files of a directory are replaced by a rename onto their name, the
// last step of every atomic write, as the kernel reports it. Renames away are watched
// too: the kernel merges an event into an unread one just like it.
class FileReplacements {
 public:
  explicit FileReplacements(const std::filesystem::path& directory)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0 || ::inotify_add_watch(fd_, directory.c_str(), IN_MOVED_FROM | IN_MOVED_TO) < 0) {
      throw std::runtime_error("inotify is not available");
    }
  }
  ~FileReplacements() { ::close(fd_); }
  FileReplacements(const FileReplacements&) = delete;
  FileReplacements& operator=(const FileReplacements&) = delete;

  // Replacements of the file named `name` since the last call.
  int Of(const std::string& name) {
    alignas(inotify_event) char buffer[16384];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        if (event->len > 0 && (event->mask & IN_MOVED_TO) != 0) ++counts_[event->name];
        p += sizeof(inotify_event) + event->len;
      }
    }
    return std::exchange(counts_[name], 0);
  }

 private:
  int fd_;
  std::map<std::string, int> counts_;
};

}  // namespace pelorin::testing
