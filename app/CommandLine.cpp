#include "app/CommandLine.h"

#include <QtGlobal>

#include "app/BuildId.h"
#include "common/Text.h"
#include "core/SuiteVersion.h"

namespace pelorin::app {
namespace {

// The whole text as a number, or nothing.
std::optional<int> Number(const std::string& text) {
  try {
    std::size_t used = 0;
    const int value = std::stoi(text, &used);
    if (used == text.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

struct Option {
  std::string name;
  std::optional<std::string> value;  // given after "=" in the same argument
};

Option Split(const std::string& argument) {
  const auto equals = argument.find('=');
  if (argument.rfind("--", 0) != 0 || equals == std::string::npos) return {argument, {}};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

}  // namespace

const char* Usage() {
  return "usage: pelorin [PELORIN.EXE] [--home DIR] [--backend linux|sim] [--measure-startup]\n"
         "       pelorin [--home DIR] --command N\n"
         "       pelorin [--home DIR] --sim EVENT...   (state, suspend, resume)\n"
         "       pelorin --help | --version\n";
}

std::string HelpText() {
  return std::string(
             "Pelorin, a personal office suite: one resident process with a tray icon,\n"
             "a status strip and its applets.\n\n") +
         Usage() +
         "\n"
         "  --home DIR         the folder of the suite's data (default: $PELORIN_HOME, the\n"
         "                     program's folder when it holds pelorin.hf, else\n"
         "                     ~/.local/share/pelorin)\n"
         "  --backend KIND     linux (the real system services, the default) or sim\n"
         "                     (simulated drives, mixer, player, power and launches)\n"
         "  --measure-startup  prints the milliseconds until the first profile is loaded,\n"
         "                     then ends the suite in order\n"
         "  --command N        sends command code N (101-116, 201-203) to the suite\n"
         "                     running on the home\n"
         "  --sim EVENT        asks the running suite for its state, or sends a sim-backend\n"
         "                     suite suspend or resume\n"
         "  --help             shows this text\n"
         "  --version          shows the version and the build\n"
         "\n"
         "Exit status: 0 done, 1 failed (no display, no suite to send to, cannot start),\n"
         "2 usage error.\n";
}

std::string VersionText() {
  return std::string("pelorin ") + kSuiteVersion + "\nbuild " + PELORIN_BUILD_ID + ", Qt " +
         QT_VERSION_STR + "\n";
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine cl;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Option option = Split(args[i]);
    const std::string& name = option.name;
    // The option's value: after "=" or the next argument.
    const auto value = [&](const char* what) -> std::optional<std::string> {
      if (option.value) return option.value;
      // "--home --backend sim" lacks the folder; a value that starts so goes after "=".
      if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) return args[++i];
      error = name + " needs a value (" + what + ")";
      return std::nullopt;
    };
    const auto flag = [&] {
      if (!option.value) return true;
      error = name + " takes no value";
      return false;
    };

    if (name == "--help" || name == "-h") {
      if (!flag()) return std::nullopt;
      cl.request = CommandLineRequest::Help;
    } else if (name == "--version") {
      if (!flag()) return std::nullopt;
      cl.request = CommandLineRequest::Version;
    } else if (name == "--home") {
      const auto dir = value("DIR");
      if (!dir) return std::nullopt;
      if (dir->empty()) {
        error = "--home needs a folder, not an empty text";
        return std::nullopt;
      }
      cl.home = *dir;
    } else if (name == "--backend") {
      const auto kind = value("linux or sim");
      if (!kind) return std::nullopt;
      if (*kind == "linux") {
        cl.backend = BackendKind::Linux;
      } else if (*kind == "sim") {
        cl.backend = BackendKind::Sim;
      } else {
        error = "unknown backend \"" + *kind + "\" (linux or sim)";
        return std::nullopt;
      }
    } else if (name == "--command") {
      const auto code = value("a command code");
      if (!code) return std::nullopt;
      cl.command = Number(*code);
      if (!cl.command) {
        error = "--command takes a number, not \"" + *code + "\"";
        return std::nullopt;
      }
    } else if (name == "--restore-fd") {
      const auto fd = value("a file descriptor");
      if (!fd) return std::nullopt;
      cl.restoreFd = Number(*fd);
      if (!cl.restoreFd || *cl.restoreFd < 0) {
        error = "--restore-fd takes a file descriptor, not \"" + *fd + "\"";
        return std::nullopt;
      }
    } else if (name == "--sim") {
      // The event's words are the rest of the line.
      if (option.value) cl.simEvent.push_back(*option.value);
      cl.simEvent.insert(cl.simEvent.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.end());
      if (cl.simEvent.empty() || cl.simEvent.front().empty()) {
        error = "--sim needs an event (state, suspend or resume)";
        return std::nullopt;
      }
      break;
    } else if (name == "--measure-startup") {
      if (!flag()) return std::nullopt;
      cl.measureStartup = true;
    } else if (name.size() > 1 && name.front() == '-') {
      error = "unknown option " + name;
      return std::nullopt;
    } else if (cl.positional.empty() && UpCaseText(name) == "PELORIN.EXE") {
      cl.positional.push_back(args[i]);
    } else {
      error = "unexpected argument \"" + args[i] + "\"";
      return std::nullopt;
    }
  }
  if (cl.command && !cl.simEvent.empty()) {
    error = "--command and --sim cannot be given together";
    return std::nullopt;
  }
  return cl;
}

}  // namespace pelorin::app
