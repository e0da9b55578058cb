#include "core/ProfileSwitch.h"

#include "core/CoreHotkeys.h"
#include "core/MainMenu.h"
#include "core/PasswordActions.h"
#include "core/ProfileLoader.h"
#include "core/ProfileTable.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

namespace {

// "Profiles..." and a separator come before the profiles: the item at position p is
// profile p - 1.
constexpr int kFirstProfilePosition = 2;

}  // namespace

ProfileSwitch::ProfileSwitch(CoreContext& ctx, PasswordGate& passwords, ProfileLoader& loader,
                             MainMenu& menu, CoreHotkeys& hotkeys)
    : ctx_(ctx), passwords_(passwords), loader_(loader), menu_(menu), hotkeys_(hotkeys) {
  ctx_.commands.BindEntries(CommandRegistry::Entries::Profiles, SubsystemId::Core,
                            [this](int position) { ProfilesItemClick(position); });
  ctx_.passwordActions.Bind(
      kProfileChangeAction, SubsystemId::Core,
      {.accepted = [this] { Accepted(); }, .cancelButton = [this] { CancelPressed(); }});
}

void ProfileSwitch::ProfilesItemClick(int position) {
  if (ctx_.lifetime.Ended() || position < kFirstProfilePosition) return;
  SharedValues& v = ctx_.values;
  const int number = position - kFirstProfilePosition + 1;
  if (number > v.ProfilesCount) return;
  // A waiting computer-use request is answered first; the old profile stays untouched.
  if (!passwords_.Accepts(kProfileChangeAction)) return;

  ProfileEntry chosen;
  const bool read = ctx_.files.ReadSystemSettings(
      [&](const SettingsFile& system) { chosen = ReadProfileEntry(system, number); });
  if (!read) return;  // the damaged system settings ended the suite
  if (!chosen.folderValid) {
    ReportDamagedProfile(ctx_.ports.dialogs, chosen, DamagedProfileOutcome::CurrentProfileStays);
    return;
  }

  // Leave the old profile while its folder is current: its window places and the PC
  // agent's wallpaper state are saved, its hot-keys released.
  if (!ctx_.steps.leaveProfile.Run([this] { return !ctx_.lifetime.Ended(); })) return;

  // While an earlier change still waits for its password, the profile to go back to
  // is still the one that was last active.
  if (!v.ProfileSwitchPending) v.Previous = v.Current;
  v.Current = chosen.identity;
  v.StartupSelection = false;
  v.FromSelector = false;
  v.ProfileActive = false;
  v.ProfileSwitchPending = true;
  passwords_.Request(kProfileChangeAction, chosen.pass, 0, !v.BlockCancel);
}

void ProfileSwitch::Accepted() {
  SharedValues& v = ctx_.values;
  ctx_.view.SetTrayIcon(v.TrayIcon || hotkeys_.Keys().MenuKey.Key == 0, true);
  v.StartupSelection = false;
  loader_.LoadProfile(v.Current.path);
  if (ctx_.lifetime.Ended()) return;
  v.ProfileActive = true;
  v.ProfileSwitchPending = false;
  hotkeys_.RegisterHotkeys();
  menu_.CheckProfile(v.Current.number);
  const int number = v.Current.number;
  ReportWriteErrors(ctx_.ports.dialogs, [this, number] {
    ctx_.files.ChangeSystemSettings([number](SettingsFile& system) {
      system.WriteInteger("System", "CurrentProfile", number);
    });
  });
}

void ProfileSwitch::CancelPressed() {
  SharedValues& v = ctx_.values;
  if (v.StartupSelection && !v.FromSelector) {
    ctx_.ports.dialogs.Show(ports::MessageRequest{
        .text = "Impossible to enter in Pelorin : current profile is under password protection!",
        .caption = "Security System",
        .icon = ports::DialogIcon::Error});
    ctx_.lifetime.QuitNow();
    return;
  }
  if (v.StartupSelection && v.FromSelector) {
    ctx_.hooks.ShowProfileSelection();
    return;
  }
  if (v.ProfileSwitchPending) {
    v.Current = v.Previous;
    v.ProfileActive = true;
    v.ProfileSwitchPending = false;
    hotkeys_.RegisterHotkeys();
  }
}

}  // namespace pelorin
