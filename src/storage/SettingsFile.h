#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/SettingsView.h"
#include "storage/SettingsWriteError.h"

namespace pelorin {

class SettingsDocument;

// Raised when a name or value cannot be stored in a settings file (a line break in
// it, an "=" or a leading "[" in a key name, a "]" in a section name, an empty key or
// section name, text that is not UTF-8).
class SettingsNameError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// One settings file (INI format), opened for a few reads or writes and released.
// Names and values are UTF-8; the file keeps code page 1251 with CR LF lines, and
// only a file holding text the code page cannot represent is written as UTF-8 with a
// byte-order mark. Section and key names match without regard to letter case
// (UpCaseText); the first matching section and key count. Blanks around names and
// values are ignored, and one pair of matching quotes (" or ') around a value is
// removed when it is read; a value written with blanks at either end or wrapped in
// quotes is quoted so that it reads back as written. Hand-edited files read as the
// Windows profile functions read them (see SettingsDocument for the line rules).
//
// A missing file reads as all defaults and is created by the first write. A
// directory, an unreadable file or a file larger than 64 MB in its place reads as all
// defaults without being read whole and refuses writes, so that it is never
// overwritten. Writes replace the file atomically (temporary file and rename, through
// a symbolic link to its target) and keep every untouched line byte for byte; a write
// that changes nothing leaves the file alone. Reads of an unchanged file are answered
// from a parse cache shared by all SettingsFile objects.
//
// Each write replaces the file on its own. An operation that changes many keys opens
// a SettingsTransaction on the file first, so that the file is written once at its
// end, and not at all when the operation fails half-way.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path file);

  const std::filesystem::path& FileName() const { return file_; }

  // The file as it is now, for many reads that look at it once.
  SettingsView View() const;

  // Values are cut to 2047 characters. The default is given without its trailing
  // spaces, as the Windows functions give it.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" when the text is longer than two
  // characters; anything else gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer: true when not 0. A text that is not a number gives the default.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Key names of the first matching section, in file order, each once.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Section names in file order, each once (in its first spelling).
  std::vector<std::string> ReadSections() const;

  // Names are trimmed of blanks. These raise SettingsWriteError when the file cannot
  // be written and SettingsNameError for a name or value that a settings file cannot
  // hold; the file is then unchanged.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Many keys of one section, in this order, in one change of the file's text (a
  // section of a large file written key by key makes its whole text once per key).
  void WriteStrings(std::string_view section,
                    const std::vector<std::pair<std::string, std::string>>& values);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);

 private:
  friend class SettingsTransaction;
  friend int NumberedSectionCount(const SettingsFile& file);
  friend void DeleteNumberedSection(SettingsFile& file, int number, int count,
                                    std::string_view prefix, int first);

  std::shared_ptr<const SettingsDocument> Document() const;
  // Makes one change: on disk, or in memory while a transaction is open on the file.
  void Change(std::function<std::string(const SettingsDocument&)> edit);
  // The file's name as a write error gives it: absolute.
  std::filesystem::path ReportedName() const;

  std::filesystem::path file_;
  // The file's canonical path: the key of the parse cache and the path written.
  std::filesystem::path target_;
};

// Length of a list kept as numbered sections "0", "1", ...: the number of the first
// missing section.
int NumberedSectionCount(const SettingsFile& file);

// Deletes entry `number` from a list of `count` entries kept as numbered sections named
// `prefix` followed by the numbers first, first + 1, ..., first + count - 1 ("0", "1",
// ... by default; "Profile1", "Profile2", ... for the profile table). Every later
// section is copied one place down (each takes the whole content of the one after it,
// in the place of its own) and the last is erased, all in one write; the lines of the
// moved sections are kept byte for byte. A number outside the list changes nothing.
// Raises like the other writes.
void DeleteNumberedSection(SettingsFile& file, int number, int count, std::string_view prefix = {},
                           int first = 0);

// Forgets every parsed settings file, so that the next read of each parses it again
// (for measurements).
void ClearSettingsCache();

}  // namespace pelorin
