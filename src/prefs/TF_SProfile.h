#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/CoreContext.h"

namespace pelorin {

// The profile selection window ("Welcome to Pelorin"), shown at start-up when several
// profiles exist and the owner wants to choose one: the list of profile names, OK
// (the chosen profile's password is asked next) and Cancel (the suite ends).
class TF_SProfile {
 public:
  // The name a profile without one shows in the list.
  static constexpr const char* kUnnamedProfile = "Хозяин";

  TF_SProfile(CoreContext& ctx, PasswordGate& passwords);

  // `FormShow`: reads the profile table afresh, selects the current profile and shows
  // the window; Cancel is disabled when BlockCancel is on.
  void Show();
  void OKBtnClick();
  void CancelBtnClick();
  // Hides the window (`FormHide`, `FormClose`).
  void FormClose();
  // The window's own close button or Escape: Cancel where Cancel may be pressed;
  // otherwise the window stays, so that the suite is never left without a profile
  // and without a window to choose one.
  void CloseButtonClick();

  const std::vector<std::string>& Names() const { return names_; }
  int Selected() const { return selected_; }
  // Selects a row (-1: none); an index outside the list is ignored.
  void Select(int index);
  bool CancelEnabled() const { return cancelEnabled_; }
  bool Visible() const { return visible_; }

  ports::Notification<> changed;  // the widget re-reads the state

 private:
  bool Ended() const;
  void Notify();
  void Hide();

  CoreContext& ctx_;
  PasswordGate& passwords_;
  std::vector<std::string> names_;
  int selected_ = -1;
  bool cancelEnabled_ = true;
  bool visible_ = false;
};

}  // namespace pelorin
