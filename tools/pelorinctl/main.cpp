// pelorinctl: reads and changes the suite's settings files from the command line, for
// people who look after an installation and for tests that check files from outside.

#include <cstdio>
#include <exception>
#include <string>

#include "CtlCommands.h"

namespace {

bool IsHelp(const std::string& word) {
  return word == "help" || word == "--help" || word == "-h";
}

int Run(int argc, char** argv) {
  using namespace pelorin::ctl;
  if (argc < 2) return UsageError("no command given");
  const std::string group = argv[1];
  const Args rest(argv + 2, argv + argc);
  if (IsHelp(group)) {
    if (rest.empty()) {
      PrintUsage(stdout);
      return kOk;
    }
    if (rest.size() == 1) return PrintCommandUsage(rest[0]);
    return UsageError("help takes one command at most");
  }
  // "pelorinctl ini --help": the usage of that command.
  if (KnownCommand(group) && rest.size() == 1 && IsHelp(rest[0])) return PrintCommandUsage(group);
  if (group == "ini") return RunIni(rest);
  if (group == "hf") return RunHf(rest);
  if (group == "org") return RunOrg(rest);
  if (group == "scramble" || group == "unscramble") return RunScramble(rest, group == "unscramble");
  if (group == "encode-text" || group == "decode-text") {
    return RunTextCipher(rest, group == "decode-text");
  }
  return UsageError("unknown command \"" + group + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  // Whatever goes wrong, the tool ends with a message and a status, never an abort.
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pelorinctl: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "pelorinctl: unexpected failure\n");
  }
  return pelorin::ctl::kFailed;
}
