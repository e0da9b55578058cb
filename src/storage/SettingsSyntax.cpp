#include "storage/SettingsSyntax.h"

#include <charconv>
#include <cstdint>

namespace pelorin {
namespace {

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

bool IsWrappedInQuotes(std::string_view text) {
  return text.size() >= 2 && IsQuote(text.front()) && text.front() == text.back();
}

template <typename Number>
std::optional<Number> ParseWhole(std::string_view text, int base) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (error != std::errc{} || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::string_view TrimSettingsBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsSettingsBlank(text[begin]))
    ++begin;
  while (end > begin && IsSettingsBlank(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

std::string_view UnquoteSettingsValue(std::string_view trimmed) {
  if (IsWrappedInQuotes(trimmed)) return trimmed.substr(1, trimmed.size() - 2);
  return trimmed;
}

std::string QuoteSettingsValue(std::string_view value) {
  const bool needsQuotes =
      !value.empty() &&
      (IsSettingsBlank(value.front()) || IsSettingsBlank(value.back()) || IsWrappedInQuotes(value));
  if (!needsQuotes) return std::string(value);
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted.push_back('"');
  quoted.append(value);
  quoted.push_back('"');
  return quoted;
}

std::optional<int> ParseSettingsInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const auto bits = ParseWhole<std::uint32_t>(text.substr(2), 16);
    if (!bits) return std::nullopt;
    return static_cast<int>(*bits);
  }
  // from_chars takes a minus sign but not a plus sign.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  return ParseWhole<int>(text, 10);
}

}  // namespace pelorin
