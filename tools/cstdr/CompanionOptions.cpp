#include "CompanionOptions.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace fs = std::filesystem;

namespace pelorin::cstdr {

std::optional<CompanionOptions> ParseCompanionOptions(const std::vector<std::string>& args,
                                                      std::string& error) {
  if (args.empty() || args[0] != "START") {
    error = "the first argument must be START";
    return std::nullopt;
  }
  CompanionOptions options;
  for (std::size_t i = 1; i < args.size(); i += 2) {
    const std::string& name = args[i];
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[i + 1];
    if (name == "--home") {
      options.home = value;
    } else if (name == "--suite") {
      options.suite = value;
    } else if (name == "--backend") {
      options.backend = value;
    } else {
      error = "unknown argument " + name;
      return std::nullopt;
    }
  }
  if (options.home.empty() || options.suite.empty()) {
    error = "--home and --suite are required";
    return std::nullopt;
  }
  std::error_code ec;
  options.home = fs::absolute(options.home, ec);
  options.suite = fs::absolute(options.suite, ec);
  if (ec) {
    error = "the working directory is unknown";
    return std::nullopt;
  }
  options.pollPeriod = PollPeriodFromEnvironment();
  return options;
}

std::chrono::milliseconds PollPeriodFromEnvironment() {
  constexpr std::chrono::milliseconds kDefault{500};
  const char* text = std::getenv("PELORIN_CSTDR_POLL_MS");
  if (text == nullptr) return kDefault;
  int value = 0;
  const char* end = text + std::strlen(text);
  const auto [rest, failure] = std::from_chars(text, end, value);
  if (failure != std::errc() || rest != end || value < 1 || value > 60000) return kDefault;
  return std::chrono::milliseconds(value);
}

}  // namespace pelorin::cstdr
