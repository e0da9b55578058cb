#pragma once

#include <QString>
#include <string>

#include "ports/Dialogs.h"

namespace pelorin::lnx {

// Message boxes and questions as QMessageBox. Show runs the box modally in a nested
// event loop, so the suite's timers keep firing while the user thinks. Every box stays
// on top, above the suite's own always-on-top windows.
class QtDialogs : public ports::Dialogs {
 public:
  ports::DialogAnswer Show(const ports::MessageRequest& request) override;
  std::string ChooseFileToOpen(const ports::OpenFileRequest& request) override;
};

// A filter of the form "Wave files (*.wav)|*.wav|All files (*.*)|*.*" as Qt takes it:
// "Wave files (*.wav);;All files (*.*)".
QString QtFileFilter(const std::string& filter);

}  // namespace pelorin::lnx
