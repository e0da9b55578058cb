#include "linux/MemInfo.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace pelorin::lnx {
namespace {

constexpr std::uint64_t kBytesPerKb = 1024;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The value of the first line "name: <digits> kB" in kilobytes; nothing when the line
// is missing, holds anything else, or counts more bytes than 64 bits hold.
std::optional<std::uint64_t> KilobytesOf(std::string_view text, std::string_view name) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != name) continue;

    std::string_view value = Trim(line.substr(colon + 1));
    if (value.size() < 2 || value.substr(value.size() - 2) != "kB") return std::nullopt;
    value = Trim(value.substr(0, value.size() - 2));
    std::uint64_t kilobytes = 0;
    const auto [last, error] =
        std::from_chars(value.data(), value.data() + value.size(), kilobytes);
    if (value.empty() || error != std::errc() || last != value.data() + value.size() ||
        kilobytes > std::numeric_limits<std::uint64_t>::max() / kBytesPerKb) {
      return std::nullopt;
    }
    return kilobytes;
  }
  return std::nullopt;
}

}  // namespace

ports::MemoryStatus ParseMemInfo(std::string_view text) {
  const auto total = KilobytesOf(text, "MemTotal");
  const auto available = KilobytesOf(text, "MemAvailable");
  const auto swapTotal = KilobytesOf(text, "SwapTotal");
  const auto swapFree = KilobytesOf(text, "SwapFree");
  const auto commitLimit = KilobytesOf(text, "CommitLimit");
  const auto committed = KilobytesOf(text, "Committed_AS");

  ports::MemoryStatus status;
  status.TotalPhys = total.value_or(0) * kBytesPerKb;
  status.AvailPhys = available.value_or(0) * kBytesPerKb;
  status.TotalPageFile = swapTotal.value_or(0) * kBytesPerKb;
  status.AvailPageFile = swapFree.value_or(0) * kBytesPerKb;
  status.TotalVirtual = commitLimit.value_or(0) * kBytesPerKb;
  if (commitLimit && committed && *committed <= *commitLimit) {
    status.AvailVirtual = (*commitLimit - *committed) * kBytesPerKb;
  }
  // Kilobytes times 100 stay within 64 bits: they were checked to fit 1024 times over.
  if (total && available && *total > 0 && *available <= *total) {
    status.MemoryLoad = static_cast<unsigned>((*total - *available) * 100 / *total);
  }
  return status;
}

}  // namespace pelorin::lnx
