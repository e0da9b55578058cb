#include "ui/prefs/PrefsWidgets.h"

#include "prefs/PrefsSubsystem.h"
#include "suite/Suite.h"
#include "ui/LazyWidget.h"
#include "ui/prefs/TF_ProfileWidget.h"
#include "ui/prefs/TF_SProfileWidget.h"

namespace pelorin::ui {

namespace {

class PrefsWidgets : public SubsystemWidgets {
 public:
  explicit PrefsWidgets(PrefsSubsystem& prefs)
      : selector_(prefs.Selector()), profileEditor_(prefs.ProfileEditor()) {}

  void HideAll() override {
    selector_.Hide();
    profileEditor_.Hide();
  }

 private:
  LazyWidget<TF_SProfile, TF_SProfileWidget> selector_;
  LazyWidget<TF_Profile, TF_ProfileWidget> profileEditor_;
};

}  // namespace

std::unique_ptr<SubsystemWidgets> MakePrefsWidgets(Suite& suite) {
  PrefsSubsystem* prefs = suite.Find<PrefsSubsystem>();
  if (prefs == nullptr) return nullptr;
  return std::make_unique<PrefsWidgets>(*prefs);
}

}  // namespace pelorin::ui
