#pragma once

#include <filesystem>
#include <string>

#include "linux/InstancePaths.h"
#include "ports/Companion.h"
#include "ports/Log.h"

namespace pelorin::lnx {

// The companion watchdog "cstdr" of a home. Its "window" is its local socket
// (InstancePaths::CompanionSocket); a message is the line "POST <message> <wParam>
// <lParam>\n" sent over that socket without waiting for an answer. The program lives
// beside the suite's executable and is started detached with
// "START --home <home> --suite <suite executable> [--backend <backend>]", inheriting the
// suite's environment (DISPLAY, XDG_RUNTIME_DIR), so that it can restart the suite the
// same way. A companion that cannot be started is one line of the log (source
// "companion") when the failure begins, and one when a start succeeds again: the suite
// tries again on every tick of its timer.
class LinuxCompanion : public ports::Companion {
 public:
  // backend: the suite's --backend choice, empty for the default.
  LinuxCompanion(const std::filesystem::path& home, std::filesystem::path suiteExecutable,
                 ports::Log& log, std::string backend = {});

  bool WindowExists() override;
  void Post(const ports::CompanionMessage& message) override;
  bool ProgramExists() const override;
  bool Start() override;

  std::filesystem::path ProgramFile() const;

 private:
  // A connected socket to the companion, or -1; listening tells whether a companion of
  // this user answers at all. Never waits: a local connect succeeds or fails at once.
  int Connect(bool& listening) const;
  // Whether the companion program may be run, and if not, why.
  std::string WhyNotRunnable() const;
  void NoteStart(bool started, const std::string& why);

  std::filesystem::path home_;
  std::filesystem::path suiteExecutable_;
  std::string backend_;
  InstancePaths paths_;
  ports::Log& log_;
  bool startFailing_ = false;  // the last start failed, and the log said so
};

}  // namespace pelorin::lnx
