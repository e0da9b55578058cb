#include <cstdio>
#include <string>

#include "CtlCommands.h"

namespace pelorin::ctl {
namespace {

struct UsageLine {
  const char* command;
  const char* action;  // empty for a command without actions
  const char* operands;
};

constexpr UsageLine kUsageLines[] = {
    {"ini", "get", "FILE SECTION KEY [DEFAULT]"},
    {"ini", "get-int", "FILE SECTION KEY DEFAULT"},
    {"ini", "get-bool", "FILE SECTION KEY DEFAULT"},
    {"ini", "set", "FILE SECTION KEY VALUE"},
    {"ini", "delete-key", "FILE SECTION KEY"},
    {"ini", "erase-section", "FILE SECTION"},
    {"ini", "list-length", "FILE"},
    {"scramble", "", "SRC DST [KEY]"},
    {"unscramble", "", "SRC DST [KEY]"},
    {"encode-text", "", "SRC DST PASSPHRASE"},
    {"decode-text", "", "SRC DST PASSPHRASE"},
    {"hf", "cat", "FILE.hf"},
    {"hf", "set", "FILE.hf SECTION KEY VALUE"},
    {"org", "export-ics", "ORGFILE"},
    {"org", "import-ics", "ORGFILE ICSFILE"},
};

constexpr const char* kStatuses = "exit status: 0 done, 1 failed, 2 usage error\n";

// Prints the lines of `command` (of its `action` alone when that is one of its actions);
// the number of lines printed.
int PrintLines(std::FILE* to, const std::string& command, const std::string& action) {
  bool actionKnown = false;
  for (const UsageLine& line : kUsageLines) {
    actionKnown = actionKnown || (command == line.command && action == line.action);
  }
  int printed = 0;
  for (const UsageLine& line : kUsageLines) {
    if (!command.empty() && command != line.command) continue;
    if (actionKnown && action != line.action) continue;
    std::fprintf(to, "  pelorinctl %s%s%s %s\n", line.command, *line.action != '\0' ? " " : "",
                 line.action, line.operands);
    ++printed;
  }
  return printed;
}

}  // namespace

void PrintUsage(std::FILE* to) {
  std::fputs("usage:\n", to);
  PrintLines(to, "", "");
  std::fputs("  pelorinctl help [COMMAND]\n", to);
  std::fputs(kStatuses, to);
}

bool KnownCommand(const std::string& command) {
  for (const UsageLine& line : kUsageLines) {
    if (command == line.command) return true;
  }
  return false;
}

bool KnownAction(const std::string& command, const std::string& action) {
  for (const UsageLine& line : kUsageLines) {
    if (command == line.command && action == line.action) return true;
  }
  return false;
}

int PrintCommandUsage(const std::string& command) {
  if (!KnownCommand(command)) return UsageError("unknown command \"" + command + "\"");
  std::fputs("usage:\n", stdout);
  PrintLines(stdout, command, "");
  std::fputs(kStatuses, stdout);
  return kOk;
}

int UsageError(const std::string& what, const std::string& command, const std::string& action) {
  std::fprintf(stderr, "pelorinctl: %s\n", what.c_str());
  if (command.empty() || !KnownCommand(command)) {
    PrintUsage(stderr);
  } else {
    std::fputs("usage:\n", stderr);
    PrintLines(stderr, command, action);
  }
  return kUsage;
}

int CountError(const std::string& command, const std::string& action, std::size_t given) {
  std::size_t least = 0;
  std::size_t most = 0;
  for (const UsageLine& line : kUsageLines) {
    if (command != line.command || action != line.action) continue;
    for (const char* word = line.operands; *word != '\0';) {
      ++most;
      if (*word != '[') ++least;
      while (*word != '\0' && *word != ' ')
        ++word;
      while (*word == ' ')
        ++word;
    }
  }
  const std::string name = action.empty() ? command : command + " " + action;
  const char* which = given < least ? "too few" : given > most ? "too many" : "the wrong";
  return UsageError(
      std::string(which) + " arguments for " + name + ": " + std::to_string(given) + " given",
      command, action);
}

int LineBreakError(const std::string& command, const std::string& action) {
  return UsageError("a name or value holds a line break, which a settings file cannot store",
                    command, action);
}

}  // namespace pelorin::ctl
