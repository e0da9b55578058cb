#include "storage/SettingsFile.h"

#include <mutex>
#include <optional>
#include <system_error>

#include "common/CodePage1251.h"
#include "storage/SettingsCache.h"
#include "storage/SettingsDocument.h"
#include "storage/SettingsPending.h"
#include "storage/SettingsSyntax.h"

namespace pelorin {
namespace {

std::filesystem::path FullName(const std::filesystem::path& file) {
  std::error_code error;
  auto full = std::filesystem::absolute(file, error);
  return error ? file : full;
}

std::filesystem::path CanonicalTarget(const std::filesystem::path& file) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(file, error);
  if (error) return file;
  auto canonical = std::filesystem::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal() : canonical;
}

[[noreturn]] void Refuse(std::string_view what, std::string_view text, std::string_view reason) {
  throw SettingsNameError(std::string(what) + " \"" + std::string(text) +
                          "\" cannot be stored in a settings file: " + std::string(reason));
}

void CheckText(std::string_view what, std::string_view text) {
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    Refuse(what, text, "it holds a line break");
  }
  if (!IsValidUtf8(text)) Refuse(what, text, "it is not UTF-8 text");
}

std::string_view StorableSectionName(std::string_view name) {
  CheckText("Section name", name);
  const std::string_view trimmed = TrimSettingsBlanks(name);
  if (trimmed.empty()) Refuse("Section name", name, "it is empty");
  if (trimmed.find(']') != std::string_view::npos) Refuse("Section name", name, "it holds \"]\"");
  return trimmed;
}

std::string_view StorableKeyName(std::string_view name) {
  CheckText("Key name", name);
  const std::string_view trimmed = TrimSettingsBlanks(name);
  if (trimmed.empty()) Refuse("Key name", name, "it is empty");
  if (trimmed.find('=') != std::string_view::npos) Refuse("Key name", name, "it holds \"=\"");
  if (trimmed.front() == '[') Refuse("Key name", name, "it starts with \"[\"");
  return trimmed;
}

}  // namespace

void RefuseSettingsWrite(const std::filesystem::path& reported, bool tooLarge) {
  if (tooLarge) throw SettingsWriteError(reported, std::make_error_code(std::errc::file_too_large));
  throw SettingsWriteError(reported);
}

SettingsFile::SettingsFile(std::filesystem::path file)
    : file_(std::move(file)), target_(CanonicalTarget(file_)) {}

std::shared_ptr<const SettingsDocument> SettingsFile::Document() const {
  if (const PendingSettings* pending = FindPendingSettings(target_)) return pending->current;
  return SettingsCache::Instance().Load(target_).document;
}

std::filesystem::path SettingsFile::ReportedName() const {
  return FullName(file_);
}

void SettingsFile::Change(SettingsEdit edit) {
  if (PendingSettings* pending = FindPendingSettings(target_)) {
    if (!pending->writable) RefuseSettingsWrite(ReportedName(), pending->tooLarge);
    std::string bytes = edit(*pending->current);
    if (bytes == pending->current->Bytes()) return;
    if (bytes.size() > SettingsDocument::kMaxSize) RefuseSettingsWrite(ReportedName(), true);
    pending->current = std::make_shared<const SettingsDocument>(std::move(bytes));
    pending->edits.push_back(std::move(edit));
    return;
  }
  const std::lock_guard lock(SettingsWriteMutex());
  auto& cache = SettingsCache::Instance();
  const LoadedSettings loaded = cache.Load(target_);
  if (!loaded.readable || !target_.has_filename()) {
    RefuseSettingsWrite(ReportedName(), loaded.tooLarge);
  }
  std::string bytes = edit(*loaded.document);
  if (bytes == loaded.document->Bytes()) return;
  if (bytes.size() > SettingsDocument::kMaxSize) RefuseSettingsWrite(ReportedName(), true);
  if (!cache.Write(target_, std::move(bytes))) throw SettingsWriteError(ReportedName());
}

SettingsView SettingsFile::View() const {
  return SettingsView(Document());
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  return View().ReadString(section, key, defaultValue);
}

int SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                              int defaultValue) const {
  return View().ReadInteger(section, key, defaultValue);
}

bool SettingsFile::ReadBool(std::string_view section, std::string_view key,
                            bool defaultValue) const {
  return View().ReadBool(section, key, defaultValue);
}

bool SettingsFile::SectionExists(std::string_view section) const {
  return View().SectionExists(section);
}

bool SettingsFile::ValueExists(std::string_view section, std::string_view key) const {
  return View().ValueExists(section, key);
}

std::vector<std::string> SettingsFile::ReadSection(std::string_view section) const {
  return View().ReadSection(section);
}

std::vector<std::string> SettingsFile::ReadSections() const {
  return View().ReadSections();
}

void SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  const std::string_view sectionName = StorableSectionName(section);
  const std::string_view keyName = StorableKeyName(key);
  CheckText("Value", value);
  Change([section = std::string(sectionName), key = std::string(keyName),
          value = std::string(value)](const SettingsDocument& document) {
    return document.WithValue(section, key, value);
  });
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::WriteStrings(std::string_view section,
                                const std::vector<std::pair<std::string, std::string>>& values) {
  const std::string_view sectionName = StorableSectionName(section);
  std::vector<std::pair<std::string, std::string>> checked;
  checked.reserve(values.size());
  for (const auto& [key, value] : values) {
    const std::string_view keyName = StorableKeyName(key);
    CheckText("Value", value);
    checked.emplace_back(std::string(keyName), value);
  }
  Change([section = std::string(sectionName), values = std::move(checked)](
             const SettingsDocument& document) { return document.WithValues(section, values); });
}

void SettingsFile::DeleteKey(std::string_view section, std::string_view key) {
  const std::string_view sectionName = StorableSectionName(section);
  const std::string_view keyName = StorableKeyName(key);
  Change([section = std::string(sectionName), key = std::string(keyName)](
             const SettingsDocument& document) { return document.WithoutKey(section, key); });
}

void SettingsFile::EraseSection(std::string_view section) {
  const std::string_view sectionName = StorableSectionName(section);
  Change([section = std::string(sectionName)](const SettingsDocument& document) {
    return document.WithoutSection(section);
  });
}

int NumberedSectionCount(const SettingsFile& file) {
  const auto document = file.Document();
  int count = 0;
  while (document->FindSection(std::to_string(count)))
    ++count;
  return count;
}

void DeleteNumberedSection(SettingsFile& file, int number, int count, std::string_view prefix,
                           int first) {
  if (number < first || number - first >= count) return;
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count - (number - first)));
  for (int entry = number; entry - first < count; ++entry) {
    names.emplace_back(StorableSectionName(std::string(prefix) + std::to_string(entry)));
  }
  file.Change([names = std::move(names)](const SettingsDocument& document) {
    return document.WithSectionsMovedDown(names);
  });
}

void ClearSettingsCache() {
  SettingsCache::Instance().Clear();
}

}  // namespace pelorin
