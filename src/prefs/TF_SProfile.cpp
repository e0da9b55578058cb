#include "prefs/TF_SProfile.h"

#include <algorithm>

#include "core/ProfileTable.h"
#include "core/WriteErrorReport.h"
#include "prefs/TF_Profile.h"
#include "storage/SettingsFile.h"

namespace pelorin {

TF_SProfile::TF_SProfile(CoreContext& ctx, PasswordGate& passwords)
    : ctx_(ctx), passwords_(passwords) {}

bool TF_SProfile::Ended() const {
  return ctx_.lifetime.Ended();
}

void TF_SProfile::Notify() {
  changed();
}

void TF_SProfile::Hide() {
  visible_ = false;
  Notify();
}

void TF_SProfile::Show() {
  if (Ended()) return;
  std::vector<std::string> names;
  const bool read = ctx_.files.ReadSystemSettings([&names](const SettingsFile& table) {
    const int count = TF_Profile::ProfileCount(table);
    for (int number = 1; number <= count; ++number) {
      names.push_back(table.ReadString(ProfileSection(number), "Name", kUnnamedProfile));
    }
  });
  if (!read || Ended()) return;  // a damaged table ended the suite

  names_ = std::move(names);
  const int current = ctx_.values.Current.number - 1;
  const int last = static_cast<int>(names_.size()) - 1;
  selected_ = last < 0 ? -1 : std::clamp(current, 0, last);
  cancelEnabled_ = !ctx_.values.BlockCancel;
  visible_ = true;
  Notify();
}

void TF_SProfile::Select(int index) {
  if (index < -1 || index >= static_cast<int>(names_.size())) return;
  selected_ = index;
  Notify();
}

void TF_SProfile::OKBtnClick() {
  if (Ended() || !visible_ || selected_ < 0) return;
  ProfileEntry chosen;
  bool read = false;
  // The chosen profile is read and remembered as the last used in one change of the
  // table; a refused write is reported and the choice goes on all the same.
  ReportWriteErrors(ctx_.ports.dialogs, [&] {
    ctx_.files.ChangeSystemSettings([&](SettingsFile& table) {
      chosen = ReadProfileEntry(table, selected_ + 1);
      read = true;
      if (chosen.folderValid) {
        table.WriteInteger("System", "CurrentProfile", chosen.identity.number);
      }
    });
  });
  if (!read || Ended()) return;  // a damaged table ended the suite
  if (!chosen.folderValid) {
    ReportDamagedProfile(ctx_.ports.dialogs, chosen, DamagedProfileOutcome::ChooseAnother);
    return;
  }

  SharedValues& v = ctx_.values;
  v.Current = chosen.identity;
  v.CurrentPass = chosen.pass;
  v.StartupSelection = true;
  v.FromSelector = true;
  v.ProfileActive = false;
  // Hidden before the request: a cancelled request shows this window again.
  Hide();
  const std::string expected = v.PassProfile || v.RestoringMode ? "" : chosen.pass;
  passwords_.Request(kProfileChangeAction, expected, 0, cancelEnabled_);
}

void TF_SProfile::CancelBtnClick() {
  if (Ended() || !visible_ || !cancelEnabled_) return;
  Hide();
  ctx_.lifetime.SaveAndQuit();
}

void TF_SProfile::FormClose() {
  if (visible_) Hide();
}

void TF_SProfile::CloseButtonClick() {
  if (cancelEnabled_) CancelBtnClick();
}

}  // namespace pelorin
