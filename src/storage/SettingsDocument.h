#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/SettingsEncoding.h"

namespace pelorin {

// The parsed form of one settings file: its bytes, kept exactly as they are, and an
// index of its sections by folded name, read as the Windows profile functions read a
// hand-edited file:
// - A line ends with LF, CR LF or a CR alone.
// - A line whose first non-blank character is "[" and that holds a "]" opens a section,
//   named by the text between the "[" and the line's last "]", without blanks at its
//   ends ("[[A]]" is the section "[A]"). A "[" line without "]" opens nothing.
// - A line of a section with a key name before an "=" holds a value; every other line
//   (no "=", nothing before the "=", lines before the first section) is kept but not
//   read, and does not hide a later line of its key.
// Lookups take UTF-8 names and compare them folded (UpCaseText); the first matching
// section, and the first matching key in it, count. A document never changes: an edit
// returns the bytes of the file after the change, with every untouched line byte for
// byte. Besides the bytes, the document keeps 8 bytes per distinct section name and
// its index, whatever the shape of the file.
class SettingsDocument {
 public:
  // Longest text a value reads as, in characters.
  static constexpr std::size_t kMaxValueLength = 2047;
  // Largest settings file: larger files are not read (they read as all defaults and
  // refuse writes), and larger bytes make an empty document.
  static constexpr std::size_t kMaxSize = std::size_t{64} << 20;

  // Where a key line lies in the bytes.
  struct KeyLine {
    std::uint32_t begin;   // first byte of the line
    std::uint32_t equals;  // the "=" after the key name
    std::uint32_t end;     // end of the line's text, before its line end
    std::uint32_t next;    // first byte of the next line
  };

  explicit SettingsDocument(std::string bytes);

  const std::string& Bytes() const { return bytes_; }
  // Memory the document holds besides its bytes (for measurements).
  std::size_t IndexBytes() const;
  SettingsEncoding Encoding() const { return encoding_; }

  // Number of the first section with this name.
  std::optional<std::size_t> FindSection(std::string_view name) const;
  // The first key line with this name in the section.
  std::optional<KeyLine> FindKey(std::size_t section, std::string_view name) const;
  // The key line's value: blanks and one pair of matching quotes removed, cut to
  // kMaxValueLength characters.
  std::string Value(const KeyLine& line) const;
  // Names of the sections in file order, each name once (in its first spelling).
  std::vector<std::string> SectionNames() const;
  // Key names of the section in file order, each name once.
  std::vector<std::string> KeyNames(std::size_t section) const;
  // The section's keys with their values, in file order, each name once (the first
  // line of a name counts, as for FindKey), read in one pass over the section.
  std::vector<std::pair<std::string, std::string>> KeyValues(std::size_t section) const;

  // The file after setting a value: the key's line is rewritten in place, or a key line
  // is added after the last key line of its section, or the section is added at the
  // end. Names must be trimmed and storable. The result is in code page 1251 when all
  // of its text fits it, else UTF-8 with the byte-order mark.
  std::string WithValue(std::string_view section, std::string_view key,
                        std::string_view value) const;
  // The file after setting many values of one section, as WithValue one after the
  // other would leave it, but making the file's text once: the section's lines are
  // edited on their own and put back in its place.
  std::string WithValues(std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values) const;
  // The file without the key's line, or the same bytes when there is no such key.
  std::string WithoutKey(std::string_view section, std::string_view key) const;
  // The file without the section's header and every line up to the next section, or
  // the same bytes when there is no such section.
  std::string WithoutSection(std::string_view section) const;
  // The file after deleting the first entry of a list of sections: each section of
  // `names` but the last takes the lines of the one after it under its own header line,
  // where it stands (a missing one is added at the end when the one after it exists),
  // and the last is erased. Names must be trimmed and storable.
  std::string WithSectionsMovedDown(const std::vector<std::string>& names) const;

 private:
  // The first section of a name: where its header line starts, and the hash of its
  // folded name.
  struct Section {
    std::uint32_t begin;
    std::uint32_t hash;
  };
  // A header line.
  struct Header {
    std::uint32_t nameBegin;  // the trimmed name between "[" and the last "]"
    std::uint32_t nameEnd;
    std::uint32_t next;  // first byte of the next line
  };

  // Only the headers are found when parsing; the lines of a section (a few dozen short
  // lines) are scanned when it is looked into.
  void Parse();
  // The header line starting at `lineBegin`, if that line is one.
  std::optional<Header> HeaderAt(std::uint32_t lineBegin) const;
  // Adds the section of the header at `lineBegin` unless its name was seen before.
  void AddSection(std::uint32_t lineBegin, const Header& header);
  std::optional<std::size_t> Lookup(std::string_view folded, std::uint32_t hash) const;
  void Index(std::size_t section);
  // Calls visit(line) for the key lines of the section in file order until it returns
  // true; returns that line.
  template <typename Visit>
  std::optional<KeyLine> ScanKeyLines(std::size_t section, Visit visit) const;
  std::string_view Slice(std::uint32_t begin, std::uint32_t end) const;
  std::string_view SectionName(std::size_t section) const;
  std::string_view KeyName(const KeyLine& line) const;
  // First byte after the section's header line, and the first byte of the next header
  // line (of any name) or the end of the file.
  std::uint32_t SectionBody(std::size_t section) const;
  std::uint32_t SectionEnd(std::size_t section) const;
  std::optional<KeyLine> FindKeyLine(std::string_view section, std::string_view key) const;
  // The bytes to store after an edit: a UTF-8 file whose text fits code page 1251
  // goes back to it.
  std::string StoredForm(std::string edited) const;

  std::string bytes_;
  SettingsEncoding encoding_;
  std::vector<Section> sections_;     // in file order
  std::vector<std::uint32_t> slots_;  // open addressing over sections_: number + 1, 0 free
};

}  // namespace pelorin
