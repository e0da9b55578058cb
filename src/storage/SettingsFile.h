#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

// Raised when the system refuses a write. what() is "Unable to write to <file>".
class SettingsWriteError : public std::runtime_error {
 public:
  explicit SettingsWriteError(const std::filesystem::path& file);
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
};

// Raised when a name or value cannot be stored in a settings file (a line break in
// it, an "=" or a leading "[" in a key name, an empty key name).
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
// removed when it is read. A missing file reads as all defaults and is created by
// the first write. Writes replace the file atomically (temporary file and rename)
// and keep every untouched line byte for byte. Reads of an unchanged file are
// answered from a parse cache shared by all SettingsFile objects.
class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path file);

  const std::filesystem::path& FileName() const { return file_; }

  // Values are cut to 2047 characters.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" when the text is longer than two
  // characters; anything else gives the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer: true when not 0. A text that is not a number gives the default.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Key names of the first matching section, in file order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Section names in file order.
  std::vector<std::string> ReadSections() const;

  // These raise SettingsWriteError when the file cannot be written and
  // SettingsNameError for a name or value that a settings file cannot hold.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);

 private:
  std::filesystem::path file_;
};

// Length of a list kept as numbered sections "0", "1", ...: the number of the first
// missing section.
int NumberedSectionCount(const SettingsFile& file);

}  // namespace pelorin
