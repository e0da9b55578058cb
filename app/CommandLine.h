#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::app {

enum class BackendKind { Linux, Sim };

struct CommandLine {
  std::optional<std::filesystem::path> home;  // --home DIR
  BackendKind backend = BackendKind::Linux;   // --backend linux|sim
  std::optional<int> command;                 // --command N: forward to the running suite
  bool measureStartup = false;                // --measure-startup
  std::vector<std::string> simEvent;          // --sim EVENT...: test event for a sim suite
  // --restore-fd N: the pipe on which the watchdog hands a restarted suite the secret of
  // its restore token.
  std::optional<int> restoreFd;
  std::vector<std::string> positional;  // what the suite itself reads ("PELORIN.EXE")
};

// Parses the arguments after the program name; nothing and a message for bad ones.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

const char* Usage();

}  // namespace pelorin::app
