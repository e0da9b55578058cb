#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::cstdr {

// How the suite started its companion: "START --home H --suite PATH [--backend B]".
struct CompanionOptions {
  std::filesystem::path home;
  std::filesystem::path suite;  // the suite's executable, started again after a crash
  std::string backend;          // passed on as --backend when not empty
  // How often the suite's lock is looked at: 500 ms, or PELORIN_CSTDR_POLL_MS
  // (1..60000) from the environment, which tests use to run quickly.
  std::chrono::milliseconds pollPeriod{500};
};

// The options of a command line (without the program name); nothing, with the reason
// in error, when it is not a valid one. Relative paths are made absolute.
std::optional<CompanionOptions> ParseCompanionOptions(const std::vector<std::string>& args,
                                                      std::string& error);

// The poll period from PELORIN_CSTDR_POLL_MS, or the default when it is unset or invalid.
std::chrono::milliseconds PollPeriodFromEnvironment();

}  // namespace pelorin::cstdr
