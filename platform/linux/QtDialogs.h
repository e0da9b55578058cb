#pragma once

#include "ports/Dialogs.h"

namespace pelorin::lnx {

// Message boxes and questions as QMessageBox. Show runs the box modally in a nested
// event loop, so the suite's timers keep firing while the user thinks. Every box stays
// on top, above the suite's own always-on-top windows.
class QtDialogs : public ports::Dialogs {
 public:
  ports::DialogAnswer Show(const ports::MessageRequest& request) override;
};

}  // namespace pelorin::lnx
