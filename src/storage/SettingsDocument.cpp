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

// Whether one of the eight bytes of `word` is a CR or an LF.
bool HoldsLineEnd(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighBits = 0x8080808080808080;
  const auto holdsZero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHighBits) != 0; };
  return holdsZero(word ^ (kOnes * '\n')) || holdsZero(word ^ (kOnes * '\r'));
}

LineBounds BoundsOf(const char* line, const char* limit) {
  // Eight bytes at a time up to the word that holds the line end: lines may end in CR
  // or LF, so memchr for one of them could run far past the line.
  const char* end = line;
  for (std::uint64_t word; limit - end >= 8; end += 8) {
    std::memcpy(&word, end, sizeof word);
    if (HoldsLineEnd(word)) break;
  }
  while (end < limit && !IsSettingsLineEnd(*end))
    ++end;
  if (end == limit) return {limit, limit};
  const char* next = end + 1;
  if (*end == '\r' && next < limit && *next == '\n') ++next;
  return {end, next};
}

std::uint32_t HashOf(std::string_view folded) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(folded));
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
  const auto offset = [data](const char* p) { return static_cast<std::uint32_t>(p - data); };
  const char* search = body;
  while (search < limit) {
    const auto* bracket = static_cast<const char*>(std::memchr(search, '[', limit - search));
    if (bracket == nullptr) break;
    const char* lineBegin = bracket;
    while (lineBegin > body && IsSettingsBlank(lineBegin[-1]))
      --lineBegin;
    if (lineBegin > body && !IsSettingsLineEnd(lineBegin[-1])) {
      search = bracket + 1;
      continue;
    }
    const auto header = HeaderAt(offset(lineBegin));
    if (!header) {
      // Not a header, and no later "[" of this line starts one.
      search = BoundsOf(bracket, limit).next;
      continue;
    }
    AddSection(offset(lineBegin), *header);
    search = data + header->next;
  }
}

std::size_t SettingsDocument::IndexBytes() const {
  return sections_.capacity() * sizeof(Section) + slots_.capacity() * sizeof(std::uint32_t);
}

std::optional<SettingsDocument::Header> SettingsDocument::HeaderAt(std::uint32_t lineBegin) const {
  const char* const data = bytes_.data();
  const char* const limit = data + bytes_.size();
  const char* bracket = data + lineBegin;
  while (bracket < limit && IsSettingsBlank(*bracket))
    ++bracket;
  if (bracket == limit || *bracket != '[') return std::nullopt;
  const auto [end, next] = BoundsOf(bracket, limit);
  const std::string_view line(bracket + 1, end - bracket - 1);
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimSettingsBlanks(line.substr(0, close));
  const auto offset = [data](const char* p) { return static_cast<std::uint32_t>(p - data); };
  return Header{offset(name.data()), offset(name.data() + name.size()), offset(next)};
}

void SettingsDocument::AddSection(std::uint32_t lineBegin, const Header& header) {
  const std::string folded = FoldSettingsName(Slice(header.nameBegin, header.nameEnd), encoding_);
  const std::uint32_t hash = HashOf(folded);
  if (Lookup(folded, hash)) return;  // a later section of a name that is already known
  sections_.push_back({lineBegin, hash});
  Index(sections_.size() - 1);
}

std::optional<std::size_t> SettingsDocument::Lookup(std::string_view folded,
                                                    std::uint32_t hash) const {
  if (slots_.empty()) return std::nullopt;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const std::size_t section = slots_[slot] - 1;
    if (sections_[section].hash == hash &&
        SettingsNameMatches(SectionName(section), folded, encoding_)) {
      return section;
    }
  }
  return std::nullopt;
}

void SettingsDocument::Index(std::size_t section) {
  // At most three quarters of the slots are used, so that a probe ends soon.
  if ((sections_.size()) * 4 > slots_.size() * 3) {
    std::vector<std::uint32_t> grown(std::max<std::size_t>(16, slots_.size() * 2), 0);
    slots_.swap(grown);
    for (std::size_t i = 0; i < sections_.size(); ++i) {
      if (i != section) Index(i);
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = sections_[section].hash & mask;
  while (slots_[slot] != 0)
    slot = (slot + 1) & mask;
  slots_[slot] = static_cast<std::uint32_t>(section + 1);
}

template <typename Visit>
std::optional<SettingsDocument::KeyLine> SettingsDocument::ScanKeyLines(std::size_t section,
                                                                        Visit visit) const {
  const char* const data = bytes_.data();
  const auto offset = [data](const char* p) { return static_cast<std::uint32_t>(p - data); };
  const char* const limit = data + bytes_.size();
  for (const char* line = data + SectionBody(section); line < limit;) {
    const auto [end, next] = BoundsOf(line, limit);
    const char* first = line;
    while (first < end && IsSettingsBlank(*first))
      ++first;
    if (first < end && *first == '[' && HeaderAt(offset(line))) break;  // the next section
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

std::string_view SettingsDocument::SectionName(std::size_t section) const {
  const auto header = HeaderAt(sections_[section].begin);
  return Slice(header->nameBegin, header->nameEnd);
}

std::string_view SettingsDocument::KeyName(const KeyLine& line) const {
  return TrimSettingsBlanks(Slice(line.begin, line.equals));
}

std::uint32_t SettingsDocument::SectionBody(std::size_t section) const {
  return HeaderAt(sections_[section].begin)->next;
}

std::uint32_t SettingsDocument::SectionEnd(std::size_t section) const {
  const char* const data = bytes_.data();
  const char* const limit = data + bytes_.size();
  for (const char* line = data + SectionBody(section); line < limit;) {
    const auto begin = static_cast<std::uint32_t>(line - data);
    if (HeaderAt(begin)) return begin;
    line = BoundsOf(line, limit).next;
  }
  return static_cast<std::uint32_t>(bytes_.size());
}

std::optional<std::size_t> SettingsDocument::FindSection(std::string_view name) const {
  const auto folded = FoldedSettingsName(name, encoding_);
  if (!folded) return std::nullopt;
  return Lookup(*folded, HashOf(*folded));
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
  names.reserve(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i)
    names.push_back(DecodeSettingsText(SectionName(i), encoding_));
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

std::vector<std::pair<std::string, std::string>> SettingsDocument::KeyValues(
    std::size_t section) const {
  std::vector<std::pair<std::string, std::string>> values;
  std::unordered_set<std::string> seen;
  ScanKeyLines(section, [&](const KeyLine& line) {
    const std::string_view name = KeyName(line);
    if (seen.insert(FoldSettingsName(name, encoding_)).second)
      values.emplace_back(DecodeSettingsText(name, encoding_), Value(line));
    return false;
  });
  return values;
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
    if (edited.size() > BodyStart(encoding_) && !IsSettingsLineEnd(edited.back())) {
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
  std::uint32_t at = SectionBody(*number);
  ScanKeyLines(*number, [&at](const KeyLine& keyLine) {
    at = keyLine.next;
    return false;
  });
  std::string inserted;
  // Only the file's last line can lack its line end.
  if (!IsSettingsLineEnd(bytes_[at - 1])) inserted += kSettingsLineEnd;
  inserted += line;
  inserted += kSettingsLineEnd;
  return StoredForm(Splice(bytes_, at, at, inserted));
}

std::string SettingsDocument::WithValues(
    std::string_view section,
    const std::vector<std::pair<std::string, std::string>>& values) const {
  bool fits = encoding_ == SettingsEncoding::kCp1251 && FitsCp1251(section);
  for (const auto& [key, value] : values)
    fits = fits && FitsCp1251(key) && FitsCp1251(value);
  if (!fits) {
    // A change of encoding (or a UTF-8 file) takes the plain way, key by key.
    std::string edited = bytes_;
    for (const auto& [key, value] : values)
      edited = SettingsDocument(std::move(edited)).WithValue(section, key, value);
    return edited;
  }
  const auto number = FindSection(section);
  const std::uint32_t begin = number ? sections_[*number].begin : 0;
  const std::uint32_t end = number ? SectionEnd(*number) : 0;
  std::string part(number ? Slice(begin, end) : std::string_view());
  for (const auto& [key, value] : values)
    part = SettingsDocument(std::move(part)).WithValue(section, key, value);
  if (number) return StoredForm(Splice(bytes_, begin, end, part));
  std::string edited = bytes_;
  if (edited.size() > BodyStart(encoding_) && !IsSettingsLineEnd(edited.back()))
    edited += kSettingsLineEnd;
  edited += part;
  return StoredForm(std::move(edited));
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
  std::vector<std::pair<std::size_t, std::size_t>> places;  // section number, index in names
  for (std::size_t i = 0; i < names.size(); ++i) {
    found.push_back(FindSection(names[i]));
    if (found.back()) places.emplace_back(*found.back(), i);
  }
  std::sort(places.begin(), places.end());  // in file order
  const auto content = [&](std::size_t i) {
    return found[i] ? Slice(SectionBody(*found[i]), SectionEnd(*found[i])) : std::string_view();
  };

  std::string edited;
  edited.reserve(bytes_.size());
  // Text is added in whole lines; a piece that ended without a line end (the file's
  // last line) gets one before anything follows it. The file's start is a line start.
  bool atLineStart = true;
  const auto append = [&](std::string_view text) {
    if (text.empty()) return;
    if (!atLineStart) edited += kSettingsLineEnd;
    edited += text;
    atLineStart = IsSettingsLineEnd(text.back());
  };
  std::uint32_t untouched = 0;  // the first byte not yet copied or replaced
  for (const auto& [number, i] : places) {
    const std::uint32_t begin = sections_[number].begin;
    append(Slice(untouched, begin));
    if (begin > untouched) atLineStart = true;  // a header line starts where it ends
    if (i + 1 < names.size()) {
      append(Slice(begin, SectionBody(number)));
      append(content(i + 1));
    }
    untouched = SectionEnd(number);
  }
  append(Slice(untouched, static_cast<std::uint32_t>(bytes_.size())));
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
