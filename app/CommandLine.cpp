#include "app/CommandLine.h"

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

}  // namespace

const char* Usage() {
  return "usage: pelorin [PELORIN.EXE] [--home DIR] [--backend linux|sim] [--measure-startup]\n"
         "       pelorin [--home DIR] --command N\n"
         "       pelorin [--home DIR] --sim EVENT...   (state, suspend, resume)\n";
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
  CommandLine cl;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--home" && hasValue) {
      cl.home = args[++i];
    } else if (a == "--backend" && hasValue) {
      const std::string& kind = args[++i];
      if (kind == "linux") {
        cl.backend = BackendKind::Linux;
      } else if (kind == "sim") {
        cl.backend = BackendKind::Sim;
      } else {
        error = "unknown backend \"" + kind + "\"";
        return std::nullopt;
      }
    } else if (a == "--command" && hasValue) {
      cl.command = Number(args[++i]);
      if (!cl.command) {
        error = "--command takes a number";
        return std::nullopt;
      }
    } else if (a == "--restore-fd" && hasValue) {
      cl.restoreFd = Number(args[++i]);
      if (!cl.restoreFd || *cl.restoreFd < 0) {
        error = "--restore-fd takes a file descriptor";
        return std::nullopt;
      }
    } else if (a == "--sim" && hasValue) {
      cl.simEvent.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    } else if (a == "--measure-startup") {
      cl.measureStartup = true;
    } else if (a.rfind("--", 0) == 0) {
      error = "unknown option " + a;
      return std::nullopt;
    } else {
      cl.positional.push_back(a);
    }
  }
  return cl;
}

}  // namespace pelorin::app
