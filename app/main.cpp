// pelorin: the resident suite. One process per home: a second start ends at once, or
// forwards a command code to the running suite with --command, from any terminal and
// whatever its XDG_RUNTIME_DIR.

#include <unistd.h>

#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/Backends.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/SessionEndWatcher.h"
#include "app/StartRefusal.h"
#include "app/StartupMeasurement.h"
#include "app/SuiteApplication.h"
#include "linux/InstanceChannel.h"
#include "linux/InstanceLock.h"
#include "linux/InstancePaths.h"
#include "linux/RestoreToken.h"
#include "linux/StderrLog.h"
#include "storage/SuiteHome.h"
#include "suite/Suite.h"
#include "ui/QtMainView.h"

namespace fs = std::filesystem;
using namespace pelorin;

namespace {

fs::path ExecutablePath() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self;
}

app::ProgramPlace FindPlace(const app::CommandLine& cl) {
  app::ProgramPlace place;
  place.executable = ExecutablePath();
  const fs::path exeDir = place.executable.parent_path();
  place.home = ResolveHome({cl.home, exeDir, {}});
  // The home a start without --home finds (the autostart entry carries no environment).
  place.defaultHome = ResolveHome({std::nullopt, exeDir, [](const char* name) {
                                     const char* v = std::getenv(name);
                                     if (v == nullptr || std::string(name) == "PELORIN_HOME") {
                                       return std::optional<std::string>();
                                     }
                                     return std::optional<std::string>(v);
                                   }});
  std::error_code ec;
  place.installed = !fs::equivalent(exeDir, PELORIN_BUILD_BIN_DIR, ec);
  return place;
}

constexpr int kReplyTimeoutMs = 5000;

// Forwards a command code to the suite running on the home: 0 once it was received.
int ForwardCommand(const lnx::InstancePaths& paths, int code) {
  const auto sent =
      lnx::InstanceChannel::Send(paths, "COMMAND " + std::to_string(code), kReplyTimeoutMs);
  if (sent.reply && *sent.reply == "OK") return 0;
  std::cerr << "pelorin: "
            << (sent.reply ? "the suite did not take the command: " + *sent.reply : sent.error)
            << "\n";
  return 1;
}

// Sends a test event to the suite running on the home and prints its answer.
int SendSimEvent(const lnx::InstancePaths& paths, const std::vector<std::string>& words) {
  std::string line = "SIM";
  for (const auto& w : words)
    line += " " + w;
  const auto sent = lnx::InstanceChannel::Send(paths, line, kReplyTimeoutMs);
  if (!sent.reply) {
    std::cerr << "pelorin: " << sent.error << "\n";
    return 1;
  }
  std::cout << *sent.reply << "\n";
  return *sent.reply == "UNKNOWN" ? 2 : 0;
}

// Lines that other processes send to the running suite.
std::string AnswerLine(Suite& suite, sim::SimPower* simPower, const std::string& line) {
  int code = 0;
  if (std::sscanf(line.c_str(), "COMMAND %d", &code) == 1) {
    // The command may ask questions: run it from the event loop, not inside the reply.
    QTimer::singleShot(0, [&suite, code] {
      if (!suite.main().Ended()) suite.commands().Command(code);
    });
    return "OK";
  }
  // Test events from outside (end-to-end tests): the suite's state for now.
  if (line == "SIM state") {
    const SharedValues& v = suite.values();
    if (suite.main().Ended()) return "ended";
    if (suite.power().Sleeping()) return "sleeping";
    if (!v.ProfileActive || v.ProfileSwitchPending) return "starting";
    return v.Locked ? "locked" : "active";
  }
  // The simulated computer goes to sleep or wakes up (sim backend only).
  if (simPower != nullptr && (line == "SIM suspend" || line == "SIM resume")) {
    const bool suspending = line == "SIM suspend";
    QTimer::singleShot(0, [simPower, suspending] {
      if (suspending) {
        simPower->InjectSuspend();
      } else {
        simPower->InjectResume();
      }
    });
    return "OK";
  }
  return "UNKNOWN";
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();

  std::string error;
  const auto cl = app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!cl) {
    std::cerr << "pelorin: " << error << "\n" << app::Usage() << "Try 'pelorin --help' for more.\n";
    return 2;
  }
  if (cl->request == app::CommandLineRequest::Help) {
    std::cout << app::HelpText();
    return 0;
  }
  if (cl->request == app::CommandLineRequest::Version) {
    std::cout << app::VersionText();
    return 0;
  }
  const app::ProgramPlace place = FindPlace(*cl);
  const lnx::InstancePaths paths = lnx::InstancePathsFor(place.home);
  if (cl->command) return ForwardCommand(paths, *cl->command);
  if (!cl->simEvent.empty()) return SendSimEvent(paths, cl->simEvent);
  // Before anything is locked or written: without a display the suite cannot run.
  if (const std::string missing = app::MissingDisplay(); !missing.empty()) {
    std::cerr << "pelorin: " << missing << "\n";
    return 1;
  }

  // Read (and closed) before anything else, so that no launched program inherits it.
  const std::string restoreSecret =
      cl->restoreFd ? lnx::ReadHandedOverSecret(*cl->restoreFd) : std::string();

  // One suite per home: a second start ends here without touching any file.
  lnx::InstanceLock lock(paths);
  switch (lock.state()) {
    case lnx::InstanceLock::State::Held:
      break;
    case lnx::InstanceLock::State::TakenByAnother:
      std::cerr << "pelorin: a suite already runs on " << paths.home.string() << "\n";
      return 0;
    case lnx::InstanceLock::State::Failed:
      return app::RefuseStart(argc, argv, lock.Error());
  }
  if (const std::string distrust = lnx::SecureRuntimeFolder(paths.runtime); !distrust.empty()) {
    return app::RefuseStart(argc, argv, distrust);
  }
  // The display is opened before the home is seeded, so that a display that does not
  // answer leaves every file as it was.
  std::unique_ptr<app::SuiteApplication> application;
  {
    const app::PlatformStartGuard guard;
    application = std::make_unique<app::SuiteApplication>(argc, argv);
  }
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName("Pelorin");

  const bool restoringAllowed = lnx::ConsumeRestoreToken(paths, restoreSecret);
  if (cl->restoreFd && !restoringAllowed) {
    std::cerr << "pelorin: the restore token does not match this restart: the profile "
                 "password is asked as usual\n";
  }

  // The backends are made after the home is ready; what seeding cleans up goes to
  // standard error as their log's lines do.
  lnx::StderrLog seedLog;
  std::string seedError;
  if (SeedHome(place.home, DeliveredDataDir(place.executable.parent_path()), seedLog, &seedError) ==
      SeedResult::Failed) {
    std::cerr << "pelorin: " << seedError << "\n";
    return 1;
  }

  auto backends = app::MakeBackends(cl->backend, place);
  ui::QtMainView view;
  Suite suite(backends->Ports(), view, place.home);
  view.Attach(suite);

  lnx::InstanceChannel channel(
      lock, [&suite, simPower = backends->SimulatedPower()](const std::string& line) {
        return AnswerLine(suite, simPower, line);
      });
  // The lock alone keeps the home to this suite; without the channel, only commands
  // from other programs cannot reach it.
  if (!channel.Listen()) {
    std::cerr << "pelorin: " << channel.Error()
              << " (--command and --sim cannot reach this suite)\n";
  }

  const auto endSession = [&suite] {
    if (!suite.main().Ended()) suite.main().EndSession();
  };
  app::SessionEndWatcher sessionEnd(
      *application, [&suite] { return suite.main().Ended() || suite.main().QueryEndSession(); },
      endSession);
  QObject::connect(application.get(), &QGuiApplication::applicationStateChanged,
                   [&suite](Qt::ApplicationState state) {
                     if (state == Qt::ApplicationInactive && !suite.main().Ended()) {
                       suite.timers().ApplicationDeactivated();
                     }
                   });

  std::unique_ptr<app::StartupMeasurement> measurement;
  if (cl->measureStartup) {
    measurement = std::make_unique<app::StartupMeasurement>(suite, view, sinceStart);
  }

  std::vector<std::string> args = cl->positional;
  if (!suite.main().MainCreate(args, restoringAllowed)) return 0;
  const int status = QApplication::exec();
  // Whatever left the event loop, the suite does not end without its shutdown.
  endSession();
  return status;
}
