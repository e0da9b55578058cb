#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ports/Notification.h"

namespace pelorin {

// The "Sleep mode detected" window: shown when the computer goes to sleep (when the
// user wants it), it says what the suite is doing and stays until "OK" is pressed, also
// after the computer has woken up.
class TF_Sleep {
 public:
  static constexpr std::string_view kCaption = "Sleep mode detected";
  static constexpr std::string_view kPausedText =
      "Pelorin  paused  execution  until  computer wake up.";
  static constexpr std::string_view kSleeping = "COMPUTER IS IN SLEEP MODE";
  static constexpr std::string_view kRestored = "POWER OF COMPUTER WAS RESTORED";

  bool Visible() const { return visible_; }
  // The line that tells the computer's state.
  const std::string& CurMode() const { return curMode_; }

  // Shows the window with this state line.
  void Show(const std::string& curMode);
  void SetCurMode(const std::string& curMode);
  // The "OK" button: hides the window.
  void OKBtnClick();

  // Called after every change, for the widget to read the state again.
  ports::Notification<> changed;

 private:
  void Changed();

  std::string curMode_{kSleeping};
  bool visible_ = false;
};

}  // namespace pelorin
