#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "storage/SettingsFile.h"
#include "suite/Suite.h"
#include "support/RecordingMainView.h"
#include "support/SimPortSet.h"
#include "support/TempDir.h"

namespace pelorin::testing {

// One run of the suite on simulated system services and a given home: what a process
// of the program is, from the creation of the main window to its end.
class SuiteProcess : public SimPortSet<> {
 public:
  explicit SuiteProcess(const std::filesystem::path& home);

  // The main window's creation steps.
  bool Create(const std::vector<std::string>& args = {}, bool restoringAllowed = false);
  // Creates the main window and lets time pass until the start profile's request has
  // been answered (splash, start-up timer, one password tick).
  void StartUp(const std::vector<std::string>& args = {}, bool restoringAllowed = false);
  void Advance(std::int64_t milliseconds) { timers.Advance(milliseconds); }

  SharedValues& values() { return suite.values(); }
  bool Ended() { return suite.main().Ended(); }

  RecordingMainView view;
  Suite suite;
};

// A new home, seeded as the program seeds one, and the helpers that read and change
// its files as the owner (or damage) would.
class StartupScenario : public ::testing::Test {
 protected:
  StartupScenario();

  std::unique_ptr<SuiteProcess> NewProcess() { return std::make_unique<SuiteProcess>(home.path()); }
  // Runs the first start (answering the installation message) up to the loaded profile.
  void Install();

  std::filesystem::path ProfileFile(std::string_view name) const;
  std::filesystem::path SystemFile() const;
  // Reads or changes a scrambled file through a plain copy outside the home.
  std::string ScrambledValue(const std::filesystem::path& scrambled, std::string_view section,
                             std::string_view key) const;
  void ChangeScrambledFile(const std::filesystem::path& scrambled,
                           const std::function<void(SettingsFile&)>& change) const;
  void SetSystemValue(std::string_view section, std::string_view key, std::string_view value);
  void SetMainValue(std::string_view section, std::string_view key, std::string_view value);
  // A plain settings file of the Master profile.
  SettingsFile Plain(std::string_view name) const;
  // Plain copies of scrambled files left in the home or the profile folder.
  std::vector<std::string> PlainCopiesLeft() const;

  TempDir home;
  TempDir scratch;
};

}  // namespace pelorin::testing
