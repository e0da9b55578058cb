#include "storage/SettingsView.h"

#include <optional>
#include <utility>

#include "storage/SettingsDocument.h"
#include "storage/SettingsSyntax.h"

namespace pelorin {
namespace {

std::optional<SettingsDocument::KeyLine> FindKeyLine(const SettingsDocument& document,
                                                     std::string_view section,
                                                     std::string_view key) {
  const auto sectionNumber = document.FindSection(TrimSettingsBlanks(section));
  if (!sectionNumber) return std::nullopt;
  return document.FindKey(*sectionNumber, TrimSettingsBlanks(key));
}

std::optional<std::string> FindValue(const SettingsDocument& document, std::string_view section,
                                     std::string_view key) {
  const auto keyLine = FindKeyLine(document, section, key);
  if (!keyLine) return std::nullopt;
  return document.Value(*keyLine);
}

}  // namespace

SettingsView::SettingsView(std::shared_ptr<const SettingsDocument> document)
    : document_(std::move(document)) {}

std::string SettingsView::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  auto value = FindValue(*document_, section, key);
  if (value) return std::move(*value);
  // The Windows functions give the default without its trailing spaces.
  const std::size_t kept = defaultValue.find_last_not_of(' ');
  return std::string(defaultValue.substr(0, kept == std::string_view::npos ? 0 : kept + 1));
}

int SettingsView::ReadInteger(std::string_view section, std::string_view key,
                              int defaultValue) const {
  const auto value = FindValue(*document_, section, key);
  if (!value) return defaultValue;
  return ParseSettingsInteger(*value).value_or(defaultValue);
}

bool SettingsView::ReadBool(std::string_view section, std::string_view key,
                            bool defaultValue) const {
  const auto value = FindValue(*document_, section, key);
  if (!value) return defaultValue;
  const auto number = ParseSettingsInteger(*value);
  return number ? *number != 0 : defaultValue;
}

bool SettingsView::SectionExists(std::string_view section) const {
  return document_->FindSection(TrimSettingsBlanks(section)).has_value();
}

bool SettingsView::ValueExists(std::string_view section, std::string_view key) const {
  return FindKeyLine(*document_, section, key).has_value();
}

std::vector<std::string> SettingsView::ReadSection(std::string_view section) const {
  const auto number = document_->FindSection(TrimSettingsBlanks(section));
  if (!number) return {};
  return document_->KeyNames(*number);
}

std::vector<std::pair<std::string, std::string>> SettingsView::ReadSectionValues(
    std::string_view section) const {
  const auto number = document_->FindSection(TrimSettingsBlanks(section));
  if (!number) return {};
  return document_->KeyValues(*number);
}

std::vector<std::string> SettingsView::ReadSections() const {
  return document_->SectionNames();
}

}  // namespace pelorin
