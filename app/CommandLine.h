#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::app {

enum class BackendKind { Linux, Sim };

// What the program was asked to do besides starting the suite.
enum class CommandLineRequest { StartSuite, Help, Version };

struct CommandLine {
  CommandLineRequest request = CommandLineRequest::StartSuite;
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

// Parses the arguments after the program name. Options take their value as the next
// argument or after "=" (--home=DIR). The only word that is not an option is the
// restoring argument "PELORIN.EXE" (any case), once. Nothing
// and a message naming what was wrong for bad arguments.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// The short usage text shown with a usage error.
const char* Usage();
// The whole help text of --help.
std::string HelpText();
// The text of --version: the suite's version and the build.
std::string VersionText();

}  // namespace pelorin::app
