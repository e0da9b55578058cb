#pragma once

#include <string>

namespace pelorin::ports {

enum class DialogIcon { None, Information, Warning, Error, Question };

// The button sets the suite uses. YesNoAll is the four-button question about several
// missing files: Yes, No, No to All, Yes to All.
enum class DialogButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoAll };

enum class DialogAnswer { Ok, Cancel, Yes, No, NoToAll, YesToAll };

struct MessageRequest {
  std::string text;  // UTF-8; "\r" and "\n" break lines
  std::string caption;
  DialogIcon icon = DialogIcon::None;
  DialogButtons buttons = DialogButtons::Ok;
  bool systemModal = false;  // stays above every window of the desktop
  bool foreground = false;   // brought to the foreground when shown
};

// A dialog that asks for a file to open. `filter` has the form
// "Wave files (*.wav)|*.wav|All files (*.*)|*.*": pairs of a description and its masks.
struct OpenFileRequest {
  std::string title;
  std::string filter;
  std::string defaultExtension;  // added to a name typed without one
  bool fileMustExist = true;
  std::string initialFile;  // where the dialog starts; may be empty
};

// Modal message boxes, questions and file choosers. Each call returns when the user
// has answered; timers keep firing meanwhile.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual DialogAnswer Show(const MessageRequest& request) = 0;
  // The chosen file (a full path), or empty when the user cancelled.
  virtual std::string ChooseFileToOpen(const OpenFileRequest& request) = 0;
};

}  // namespace pelorin::ports
