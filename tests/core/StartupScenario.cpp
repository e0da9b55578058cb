#include "core/StartupScenario.h"

#include "storage/Scrambler.h"
#include "storage/SuiteHome.h"
#include "storage/SuiteLayout.h"

namespace pelorin::testing {

namespace fs = std::filesystem;

SuiteProcess::SuiteProcess(const fs::path& home) : suite(Ports(), view, home) {}

bool SuiteProcess::Create(const std::vector<std::string>& args, bool restoringAllowed) {
  return suite.main().MainCreate(args, restoringAllowed);
}

void SuiteProcess::StartUp(const std::vector<std::string>& args, bool restoringAllowed) {
  ASSERT_TRUE(Create(args, restoringAllowed));
  Advance(50 + 1500 + 100);
}

StartupScenario::StartupScenario() {
  sim::SimLog seedLog;
  EXPECT_EQ(SeedHome(home.path(), home / "no-delivered-data", seedLog), SeedResult::Seeded);
}

void StartupScenario::Install() {
  SuiteProcess first(home.path());
  first.dialogs.Expect("Pelorin installation successfully done, enjoy using it!",
                       ports::DialogAnswer::Ok);
  first.StartUp();
  ASSERT_TRUE(first.values().ProfileActive);
}

fs::path StartupScenario::ProfileFile(std::string_view name) const {
  return SuiteLayout(home.path()).ProfileDir("Master") / name;
}

fs::path StartupScenario::SystemFile() const {
  return SuiteLayout(home.path()).SystemSettingsFile();
}

std::string StartupScenario::ScrambledValue(const fs::path& scrambled, std::string_view section,
                                            std::string_view key) const {
  const fs::path copy = scratch / "probe.hif";
  if (!UnscrambleFile(scrambled, copy, SuiteLayout::kScrambledFileKey)) return "<unreadable>";
  const std::string value = SettingsFile(copy).ReadString(section, key, "<missing>");
  fs::remove(copy);
  return value;
}

void StartupScenario::ChangeScrambledFile(const fs::path& scrambled,
                                          const std::function<void(SettingsFile&)>& change) const {
  const fs::path copy = scratch / "change.hif";
  ASSERT_TRUE(UnscrambleFile(scrambled, copy, SuiteLayout::kScrambledFileKey));
  SettingsFile file(copy);
  change(file);
  ASSERT_TRUE(ScrambleFile(copy, scrambled, SuiteLayout::kScrambledFileKey));
  fs::remove(copy);
}

void StartupScenario::SetSystemValue(std::string_view section, std::string_view key,
                                     std::string_view value) {
  ChangeScrambledFile(SystemFile(), [&](SettingsFile& f) { f.WriteString(section, key, value); });
}

void StartupScenario::SetMainValue(std::string_view section, std::string_view key,
                                   std::string_view value) {
  ChangeScrambledFile(ProfileFile("main.hf"),
                      [&](SettingsFile& f) { f.WriteString(section, key, value); });
}

SettingsFile StartupScenario::Plain(std::string_view name) const {
  return SettingsFile(ProfileFile(std::string(name) + ".hif"));
}

std::vector<std::string> StartupScenario::PlainCopiesLeft() const {
  std::vector<std::string> left;
  for (const fs::path& dir : {home.path(), ProfileFile("")}) {
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string name = entry.path().filename().string();
      if (name == "pelorin.hif" || name == "pelorin.start.hif" || name == "main.hif" ||
          name == "wimcdax2.hif" || name == "wimpcax2.hif") {
        left.push_back(name);
      }
    }
  }
  return left;
}

}  // namespace pelorin::testing
