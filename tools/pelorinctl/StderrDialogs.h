#pragma once

#include "ports/Dialogs.h"

namespace pelorin::ctl {

// The suite's messages for a command-line user: printed to standard error. Questions
// are answered No (Cancel where there is no No): a tool never restores or deletes on
// the user's behalf.
class StderrDialogs : public ports::Dialogs {
 public:
  ports::DialogAnswer Show(const ports::MessageRequest& request) override;
  // No file is ever chosen on the tool's behalf.
  std::string ChooseFileToOpen(const ports::OpenFileRequest&) override { return {}; }
};

}  // namespace pelorin::ctl
