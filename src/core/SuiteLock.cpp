#include "core/SuiteLock.h"

#include "core/MainMenu.h"
#include "core/TF_Main.h"
#include "core/TF_Pass.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

SuiteLock::SuiteLock(CoreContext& ctx) : ctx_(ctx) {}

void SuiteLock::MainPopup_BlockClick() {
  if (ctx_.main->Ended()) return;
  // The fly panel, once it exists, is brought forward first.
  if (ctx_.values.Locked) {
    ctx_.pass->Request(TF_Pass::kUnlock, "Enter password to unlock Pelorin.", ctx_.values.AC.GEN1,
                       0, true);
    return;
  }
  const ports::MessageRequest question{.text = "Do you really want to lock Pelorin?",
                                       .caption = "Security System",
                                       .icon = ports::DialogIcon::Warning,
                                       .buttons = ports::DialogButtons::YesNo};
  if (ctx_.ports.dialogs.Show(question) != ports::DialogAnswer::Yes || ctx_.main->Ended()) return;
  // A second click may have locked the suite while the question was open.
  if (ctx_.values.Locked) return;
  Lock();
}

void SuiteLock::Lock() {
  ctx_.menu->ApplyLockedMenu();
  ctx_.main->CloseAllWindows();
  StoreLockState(true);
}

void SuiteLock::Unlock() {
  if (ctx_.main->Ended()) return;
  ctx_.menu->ApplyUnlockedMenu();
  StoreLockState(false);
}

void SuiteLock::StoreLockState(bool locked) {
  // A damaged main.hf ends the suite inside the change protocol.
  ReportWriteErrors(ctx_.ports.dialogs, [this, locked] {
    ctx_.files.ChangeScrambled("main", [locked](SettingsFile& main) {
      main.WriteBool("STARTUP", "StateBlocked", locked);
    });
  });
}

}  // namespace pelorin
