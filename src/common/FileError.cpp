#include "common/FileError.h"

namespace pelorin {
namespace {

std::string WithReason(std::string text, std::error_code cause) {
  if (cause) text += ": " + cause.message();
  return text;
}

}  // namespace

std::string WriteFailureText(const std::filesystem::path& file, std::error_code cause) {
  return WithReason("Unable to write to " + file.string(), cause);
}

std::string ReadFailureText(const std::filesystem::path& file, std::error_code cause) {
  return WithReason("Unable to read " + file.string(), cause);
}

}  // namespace pelorin
