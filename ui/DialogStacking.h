#pragma once

namespace pelorin::ui {

// Raises the suite's open always-on-top dialogs above its other always-on-top windows
// (the status strip above all): first the dialogs that wait without holding the
// program (the password dialog, the busy box, the profile selection), then the modal
// message boxes and questions, the one that answers now last. Called whenever the suite raises one
// of its own windows, so that nothing of the suite covers a box the user must answer.
void KeepDialogsOnTop();

}  // namespace pelorin::ui
