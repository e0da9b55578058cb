#include "ui/organizer/OrganizerWidgets.h"

#include "organizer/OrganizerSubsystem.h"
#include "suite/Suite.h"
#include "ui/LazyWidget.h"
#include "ui/organizer/TF_ShedShowWidget.h"
#include "ui/organizer/TF_ShedWidget.h"
#include "ui/organizer/TF_WelcomeWidget.h"

namespace pelorin::ui {

namespace {

class OrganizerWidgets : public SubsystemWidgets {
 public:
  explicit OrganizerWidgets(OrganizerSubsystem& organizer)
      : shed_(organizer.Organizer()), popUp_(organizer.PopUp()), welcome_(organizer.Welcome()) {}

  void HideAll() override {
    shed_.Hide();
    popUp_.Hide();
    welcome_.Hide();
  }

 private:
  LazyWidget<TF_Shed, TF_ShedWidget> shed_;
  LazyWidget<TF_ShedShow, TF_ShedShowWidget> popUp_;
  LazyWidget<TF_Welcome, TF_WelcomeWidget> welcome_;
};

}  // namespace

std::unique_ptr<SubsystemWidgets> MakeOrganizerWidgets(Suite& suite) {
  OrganizerSubsystem* organizer = suite.Find<OrganizerSubsystem>();
  if (organizer == nullptr) return nullptr;
  return std::make_unique<OrganizerWidgets>(*organizer);
}

}  // namespace pelorin::ui
