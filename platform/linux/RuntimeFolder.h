#pragma once

#include <filesystem>
#include <string>

namespace pelorin::lnx {

// The folder where the running suite keeps its runtime files (its command channel, the
// companion's socket and lock, the restore token): $XDG_RUNTIME_DIR when it is set to an
// absolute path, else "pelorin-<uid>" under /tmp. Whoever can put or replace files there
// can catch the suite's commands, keep its watchdog away or forge a restart, so the
// folder is used only when nobody but this user can write in it.
struct RuntimeFolder {
  std::filesystem::path path;
  bool fallback = false;  // the folder under /tmp, not one the session provides
};

// The folder the environment names (xdgRuntimeDir: the value of XDG_RUNTIME_DIR, or
// null). Looks at nothing on disc.
RuntimeFolder ChooseRuntimeFolder(const char* xdgRuntimeDir,
                                  const std::filesystem::path& fallbackParent = "/tmp");

// Makes sure the folder can be trusted: the session's folder must exist, be owned by
// this user and be writable by nobody else; the fallback is created (mode 700) when it is
// missing and must be a real folder, not a link, owned by this user, with mode 700
// exactly. Nothing is changed in a folder that exists. Empty when the folder can be
// trusted, else the reason, naming the folder.
std::string SecureRuntimeFolder(const RuntimeFolder& folder);

}  // namespace pelorin::lnx
