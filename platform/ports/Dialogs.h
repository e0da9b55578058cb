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

// Modal message boxes and questions. Each call returns when the user has answered;
// timers keep firing meanwhile.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual DialogAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace pelorin::ports
