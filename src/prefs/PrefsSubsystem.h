#pragma once

#include <memory>

#include "core/AppletSubsystem.h"
#include "prefs/TF_Profile.h"
#include "prefs/TF_SProfile.h"

namespace pelorin {

// Preferences and profiles: the profile selection window at start-up and the profile
// editor ("Profiles...").
class PrefsSubsystem : public AppletSubsystem {
 public:
  explicit PrefsSubsystem(SubsystemServices& services);

  SubsystemId Id() const override { return SubsystemId::Prefs; }

  TF_SProfile& Selector() { return selector_; }
  TF_Profile& ProfileEditor() { return profileEditor_; }

 private:
  CoreContext& ctx_;
  TF_SProfile selector_;
  TF_Profile profileEditor_;
};

std::unique_ptr<AppletSubsystem> MakePrefsSubsystem(SubsystemServices& services);

}  // namespace pelorin
