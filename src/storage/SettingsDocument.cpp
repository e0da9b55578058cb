#include "storage/SettingsDocument.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "common/CodePage1251.h"
#include "storage/SettingsSyntax.h"

namespace pelorin {
namespace {

std::string Splice(std::string_view bytes, std::size_t from, std::size_t to,
                   std::string_view insert) {
  std::string result;
  result.reserve(bytes.size() - (to - from) + insert.size());
  result.append(bytes.substr(0, from));
  result.append(insert);
  result.append(bytes.substr(to));
  return result;
}

// Cuts well-formed UTF-8 text after `count` characters.
void CutToCharacters(std::string& text, std::size_t count) {
  if (text.size() <= count) return;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters == count) {
      text.resize(i);
      return;
    }
    ++characters;
  }
}

std::size_t BodyStart(SettingsEncoding encoding) {
  return encoding == SettingsEncoding::kUtf8 ? kUtf8ByteOrderMark.size() : 0;
}

struct LineBounds {
  const char* end;   // end of the line's text, before its line end
  const char* next;  // first byte of the next line
};

LineBounds BoundsOf(const char* line, const char* limit) {
  const auto* lineFeed = static_cast<const char*>(std::memchr(line, '\n', limit - line));
  if (lineFeed == nullptr) return {limit, limit};
  const char* end = lineFeed;
  if (end > line && end[-1] == '\r') --end;
  return {end, lineFeed + 1};
}

}  // namespace

SettingsDocument::SettingsDocument(std::string bytes)
    : bytes_(std::move(bytes)), encoding_(DetectSettingsEncoding(bytes_)) {
  if (bytes_.size() <= kMaxSize) Parse();
}

void SettingsDocument::Parse() {
  // A header is a "[" with nothing but blanks before it on its line, so the search
  // jumps from one "[" to the next instead of walking every line.
  const char* const data = bytes_.data();
  const char* const body = data + BodyStart(encoding_);
  const char* const limit = data + bytes_.size();
  const char* search = body;
  while (search < limit) {
    const auto* bracket = static_cast<const char*>(std::memchr(search, '[', limit - search));
    if (bracket == nullptr) break;
    const char* lineBegin = bracket;
    while (lineBegin > body && IsSettingsBlank(lineBegin[-1]))
      --lineBegin;
    if (lineBegin > body && lineBegin[-1] != '\n') {
      search = bracket + 1;
      continue;
    }
    search = data + AddSection(static_cast<std::uint32_t>(lineBegin - data),
                               static_cast<std::uint32_t>(bracket - data));
  }
}

std::uint32_t SettingsDocument::AddSection(std::uint32_t lineBegin, std::uint32_t bracket) {
  const char* const data = bytes_.data();
  const auto [end, next] = BoundsOf(data + bracket, data + bytes_.size());
  const char* const nameStart = data + bracket + 1;
  const auto* close = static_cast<const char*>(std::memchr(nameStart, ']', end - nameStart));
  const std::string_view name =
      TrimSettingsBlanks(std::string_view(nameStart, (close ? close : end) - nameStart));
  const auto offset = [data](const char* p) { return static_cast<std::uint32_t>(p - data); };
  sectionIndex_.try_emplace(FoldSettingsName(name, encoding_),
                            static_cast<std::uint32_t>(sections_.size()));
  sections_.push_back(
      {lineBegin, offset(next), offset(name.data()), offset(name.data() + name.size())});
  return offset(next);
}

template <typename Visit>
std::optional<SettingsDocument::KeyLine> SettingsDocument::ScanKeyLines(std::size_t section,
                                                                        Visit visit) const {
  const char* const data = bytes_.data();
  const auto offset = [data](const char* p) { return static_cast<std::uint32_t>(p - data); };
  const char* const limit = data + SectionEnd(section);
  for (const char* line = data + sections_[section].body; line < limit;) {
    const auto [end, next] = BoundsOf(line, limit);
    const char* first = line;
    while (first < end && IsSettingsBlank(*first))
      ++first;
    // A key line needs a name: an "=" that is the first non-blank character has none.
    const auto* equals =
        first < end ? static_cast<const char*>(std::memchr(first, '=', end - first)) : nullptr;
    if (equals != nullptr && equals != first) {
      const KeyLine keyLine{offset(line), offset(equals), offset(end), offset(next)};
      if (visit(keyLine)) return keyLine;
    }
    line = next;
  }
  return std::nullopt;
}

std::string_view SettingsDocument::Slice(std::uint32_t begin, std::uint32_t end) const {
  return std::string_view(bytes_).substr(begin, end - begin);
}

std::string_view SettingsDocument::SectionName(const Section& section) const {
  return Slice(section.nameBegin, section.nameEnd);
}

std::string_view SettingsDocument::KeyName(const KeyLine& line) const {
  return TrimSettingsBlanks(Slice(line.begin, line.equals));
}

std::uint32_t SettingsDocument::SectionEnd(std::size_t section) const {
  return section + 1 < sections_.size() ? sections_[section + 1].begin
                                        : static_cast<std::uint32_t>(bytes_.size());
}

std::optional<std::size_t> SettingsDocument::FindSection(std::string_view name) const {
  const auto folded = FoldedSettingsName(name, encoding_);
  if (!folded) return std::nullopt;
  const auto found = sectionIndex_.find(*folded);
  if (found == sectionIndex_.end()) return std::nullopt;
  return found->second;
}

std::optional<SettingsDocument::KeyLine> SettingsDocument::FindKey(std::size_t section,
                                                                   std::string_view name) const {
  const auto folded = FoldedSettingsName(name, encoding_);
  if (!folded) return std::nullopt;
  return ScanKeyLines(section, [&](const KeyLine& line) {
    return SettingsNameMatches(KeyName(line), *folded, encoding_);
  });
}

std::string SettingsDocument::Value(const KeyLine& line) const {
  const std::string_view stored = TrimSettingsBlanks(Slice(line.equals + 1, line.end));
  std::string value = DecodeSettingsText(UnquoteSettingsValue(stored), encoding_);
  CutToCharacters(value, kMaxValueLength);
  return value;
}

std::vector<std::string> SettingsDocument::SectionNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const std::string_view name = SectionName(sections_[i]);
    if (sectionIndex_.at(FoldSettingsName(name, encoding_)) != i) continue;
    names.push_back(DecodeSettingsText(name, encoding_));
  }
  return names;
}

std::vector<std::string> SettingsDocument::KeyNames(std::size_t section) const {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  ScanKeyLines(section, [&](const KeyLine& line) {
    const std::string_view name = KeyName(line);
    if (seen.insert(FoldSettingsName(name, encoding_)).second) {
      names.push_back(DecodeSettingsText(name, encoding_));
    }
    return false;
  });
  return names;
}

std::optional<SettingsDocument::KeyLine> SettingsDocument::FindKeyLine(std::string_view section,
                                                                       std::string_view key) const {
  const auto number = FindSection(section);
  if (!number) return std::nullopt;
  return FindKey(*number, key);
}

std::string SettingsDocument::WithValue(std::string_view section, std::string_view key,
                                        std::string_view value) const {
  if (encoding_ == SettingsEncoding::kCp1251 &&
      !(FitsCp1251(section) && FitsCp1251(key) && FitsCp1251(value))) {
    const SettingsDocument asUtf8(std::string(kUtf8ByteOrderMark) + Cp1251ToUtf8(bytes_));
    return asUtf8.WithValue(section, key, value);
  }
  const auto encode = [this](std::string_view text) {
    return EncodeSettingsText(text, encoding_).value_or(std::string(text));
  };
  const std::string line = encode(key) + "=" + encode(QuoteSettingsValue(value));

  const auto number = FindSection(section);
  if (!number) {
    std::string edited = bytes_;
    if (edited.size() > BodyStart(encoding_) && edited.back() != '\n') {
      edited += kSettingsLineEnd;
    }
    edited += "[" + encode(section) + "]";
    edited += kSettingsLineEnd;
    edited += line;
    edited += kSettingsLineEnd;
    return StoredForm(std::move(edited));
  }
  if (const auto existing = FindKey(*number, key)) {
    return StoredForm(Splice(bytes_, existing->begin, existing->end, line));
  }
  std::uint32_t at = sections_[*number].body;
  ScanKeyLines(*number, [&at](const KeyLine& keyLine) {
    at = keyLine.next;
    return false;
  });
  std::string inserted;
  // Only the file's last line can lack its line end.
  if (bytes_[at - 1] != '\n') inserted += kSettingsLineEnd;
  inserted += line;
  inserted += kSettingsLineEnd;
  return StoredForm(Splice(bytes_, at, at, inserted));
}

std::string SettingsDocument::WithoutKey(std::string_view section, std::string_view key) const {
  const auto line = FindKeyLine(section, key);
  if (!line) return bytes_;
  return StoredForm(Splice(bytes_, line->begin, line->next, ""));
}

std::string SettingsDocument::WithoutSection(std::string_view section) const {
  const auto number = FindSection(section);
  if (!number) return bytes_;
  return StoredForm(Splice(bytes_, sections_[*number].begin, SectionEnd(*number), ""));
}

std::string SettingsDocument::WithSectionsMovedDown(const std::vector<std::string>& names) const {
  if (names.empty()) return bytes_;
  if (encoding_ == SettingsEncoding::kCp1251 &&
      !std::all_of(names.begin(), names.end(), [](const auto& name) { return FitsCp1251(name); })) {
    const SettingsDocument asUtf8(std::string(kUtf8ByteOrderMark) + Cp1251ToUtf8(bytes_));
    return asUtf8.WithSectionsMovedDown(names);
  }
  std::vector<std::optional<std::size_t>> found;
  std::unordered_map<std::size_t, std::size_t> place;  // section number -> index in names
  for (std::size_t i = 0; i < names.size(); ++i) {
    found.push_back(FindSection(names[i]));
    if (found.back()) place.emplace(*found.back(), i);
  }
  const auto content = [&](std::size_t i) {
    return found[i] ? Slice(sections_[*found[i]].body, SectionEnd(*found[i])) : std::string_view();
  };

  std::string edited;
  edited.reserve(bytes_.size());
  // Text is added in whole lines; a piece that ended without a line end (the file's
  // last line) gets one before anything follows it.
  bool atLineStart = true;
  const auto append = [&](std::string_view text) {
    if (text.empty()) return;
    if (!atLineStart) edited += kSettingsLineEnd;
    edited += text;
    atLineStart = text.back() == '\n' || text.back() == '\r';
  };
  edited += Slice(
      0, sections_.empty() ? static_cast<std::uint32_t>(bytes_.size()) : sections_.front().begin);
  for (std::size_t number = 0; number < sections_.size(); ++number) {
    const auto role = place.find(number);
    if (role == place.end()) {
      append(Slice(sections_[number].begin, SectionEnd(number)));
    } else if (role->second + 1 < names.size()) {
      append(Slice(sections_[number].begin, sections_[number].body));
      append(content(role->second + 1));
    }
  }
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    if (found[i] || !found[i + 1]) continue;
    append("[" + EncodeSettingsText(names[i], encoding_).value_or(names[i]) + "]" +
           std::string(kSettingsLineEnd));
    append(content(i + 1));
  }
  return StoredForm(std::move(edited));
}

std::string SettingsDocument::StoredForm(std::string edited) const {
  if (encoding_ == SettingsEncoding::kUtf8) {
    auto asCp1251 = Utf8ToCp1251(std::string_view(edited).substr(kUtf8ByteOrderMark.size()));
    if (asCp1251) return std::move(*asCp1251);
  }
  return edited;
}

}  // namespace pelorin
