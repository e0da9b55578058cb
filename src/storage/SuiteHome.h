#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "ports/Log.h"

namespace pelorin {

// Where the suite's data lives (its home, `ProgramDir`) and how a new home is seeded.
// The programs live elsewhere: the delivered data files are installed beside them
// under share/pelorin.

struct HomeSources {
  std::optional<std::filesystem::path> commandLineHome;  // --home DIR
  std::filesystem::path executableDir;
  // Reads an environment variable; the real environment when empty.
  std::function<std::optional<std::string>(const char* name)> environment;
};

// The home, chosen in this order: --home; $PELORIN_HOME; the executable's directory
// when it holds pelorin.hf (a portable installation); $XDG_DATA_HOME/pelorin, by
// default ~/.local/share/pelorin. The result is absolute. Creates nothing.
std::filesystem::path ResolveHome(const HomeSources& sources);

// share/pelorin beside the executable's bin directory: the delivered System/ files.
std::filesystem::path DeliveredDataDir(const std::filesystem::path& executableDir);

enum class SeedResult {
  Existing,  // the home has pelorin.hf or Profiles/: it is left as it is
  Seeded,    // a new home was made
  Failed,    // the home could not be made (the message says why)
};

// Readies the home for a start of the suite. A home holding neither pelorin.hf nor
// Profiles/ is created for the owner only (0700): the delivered System/ files are
// copied into it (files already there are kept) and pelorin.hf gets its least
// content, the scrambled marker without `Installed`, so that the first-run
// installation follows. A home with Profiles/ but without pelorin.hf is never
// re-seeded: that is a damaged installation, not a new one. From an existing home,
// what interrupted saves left is removed (RemoveInterruptedSaves, which tells `log`),
// so call this only while holding the home's single-instance lock.
SeedResult SeedHome(const std::filesystem::path& home, const std::filesystem::path& deliveredDir,
                    ports::Log& log, std::string* error = nullptr);

}  // namespace pelorin
