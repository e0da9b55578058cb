#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelorin {

class SettingsDocument;

// One state of a settings file, looked at once: every read answers from that state.
// A handler that reads many keys of a file it reads afresh (a due check over a long
// list) takes a view first and so looks at the file once, not once per key. The reads
// are those of SettingsFile, with the same rules.
class SettingsView {
 public:
  explicit SettingsView(std::shared_ptr<const SettingsDocument> document);

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Every key of the section with its value as ReadString gives it (without a
  // default), in file order: for reading a whole section in one pass.
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(
      std::string_view section) const;
  std::vector<std::string> ReadSections() const;

 private:
  std::shared_ptr<const SettingsDocument> document_;
};

}  // namespace pelorin
