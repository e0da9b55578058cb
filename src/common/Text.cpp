#include "common/Text.h"

#include <algorithm>
#include <iterator>

namespace pelorin {

std::string UpCaseText(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 0x20);
    } else if (i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (b == 0xD0 && next >= 0xB0 && next <= 0xBF) {  // а..п -> А..П
        out[i + 1] = static_cast<char>(next - 0x20);
        ++i;
      } else if (b == 0xD1 && next >= 0x80 && next <= 0x8F) {  // р..я -> Р..Я
        out[i] = static_cast<char>(0xD0);
        out[i + 1] = static_cast<char>(next + 0x20);
        ++i;
      }
    }
  }
  return out;
}

std::string GetField(std::string_view text, char separator, int n) {
  if (n < 1 || n > kMaxFields) return {};
  std::size_t begin = 0;
  for (int field = 1; field < n; ++field) {
    const std::size_t sep = text.find(separator, begin);
    if (sep == std::string_view::npos) return {};
    begin = sep + 1;
  }
  const std::size_t end = text.find(separator, begin);
  return std::string(text.substr(begin, end == std::string_view::npos ? end : end - begin));
}

int CountChar(std::string_view text, char c) {
  return static_cast<int>(std::count(text.begin(), text.end(), c));
}

std::string RemoveChar(std::string_view text, char c) {
  std::string out;
  out.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(out), [c](char ch) { return ch != c; });
  return out;
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

std::string PadNumber(long long value, int width, char pad) {
  std::string digits = std::to_string(value);
  const std::size_t wanted = width > 0 ? static_cast<std::size_t>(width) : 0;
  if (digits.size() >= wanted) return digits;
  const std::size_t fill = wanted - digits.size();
  const std::size_t at = (pad == '0' && value < 0) ? 1 : 0;
  digits.insert(at, fill, pad);
  return digits;
}

int FindText(std::string_view text, int start, std::string_view pattern, bool caseSensitive) {
  if (text.empty() || pattern.empty() || start < 0 || pattern.size() > text.size()) return -1;
  std::size_t found;
  if (caseSensitive) {
    found = text.find(pattern, static_cast<std::size_t>(start));
  } else {
    found = std::string_view(UpCaseText(text))
                .find(UpCaseText(pattern), static_cast<std::size_t>(start));
  }
  return found == std::string_view::npos ? -1 : static_cast<int>(found);
}

int FindTextInRange(std::string_view text, std::string_view pattern, int from, int to,
                    bool caseSensitive, std::string& matched) {
  matched.clear();
  if (pattern.empty() || pattern.size() > text.size()) return -1;
  const int last = static_cast<int>(text.size() - pattern.size()) + 1;
  from = std::clamp(from, 1, last);
  to = to < 0 ? last : std::min(to, last);
  if (from > to) return -1;
  const int offset = FindText(text, from - 1, pattern, caseSensitive);
  if (offset < 0 || offset + 1 > to) return -1;
  matched = std::string(text.substr(static_cast<std::size_t>(offset), pattern.size()));
  return offset + 1;
}

std::string BufferToText(std::span<const char> buffer, std::size_t n) {
  return std::string(buffer.data(), std::min(n, buffer.size()));
}

std::string CStrToText(std::span<const char> buffer) {
  const auto nul = std::find(buffer.begin(), buffer.end(), '\0');
  return std::string(buffer.begin(), nul);
}

std::size_t TextToBuffer(std::string_view text, std::span<char> buffer) {
  const std::size_t count = std::min(text.size(), buffer.size());
  std::copy_n(text.begin(), count, buffer.begin());
  return count;
}

}  // namespace pelorin
