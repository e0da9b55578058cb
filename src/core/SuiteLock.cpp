#include "core/SuiteLock.h"

#include "core/MainMenu.h"
#include "core/MenuItemIds.h"
#include "core/PasswordActions.h"
#include "core/TF_Main.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"

namespace pelorin {

SuiteLock::SuiteLock(CoreContext& ctx, MainMenu& menu, TF_Main& main, PasswordGate& passwords)
    : ctx_(ctx), menu_(menu), main_(main), passwords_(passwords) {
  ctx_.commands.Bind(menu_item::kBlock, SubsystemId::Core, [this] { MainPopup_BlockClick(); });
  ctx_.passwordActions.Bind(kUnlockAction, SubsystemId::Core, {.accepted = [this] { Unlock(); }});
}

void SuiteLock::MainPopup_BlockClick() {
  if (ctx_.lifetime.Ended()) return;
  // (The click brought the fly panel forward first.)
  if (ctx_.values.Locked) {
    passwords_.Request(kUnlockAction, ctx_.values.AC.GEN1, 0, true);
    return;
  }
  const ports::MessageRequest question{.text = "Do you really want to lock Pelorin?",
                                       .caption = "Security System",
                                       .icon = ports::DialogIcon::Warning,
                                       .buttons = ports::DialogButtons::YesNo};
  if (ctx_.ports.dialogs.Show(question) != ports::DialogAnswer::Yes || ctx_.lifetime.Ended())
    return;
  // A second click may have locked the suite while the question was open.
  if (ctx_.values.Locked) return;
  Lock();
}

void SuiteLock::Lock() {
  menu_.ApplyLockedMenu();
  main_.CloseAllWindows();
  StoreLockState(true);
}

void SuiteLock::Unlock() {
  if (ctx_.lifetime.Ended()) return;
  menu_.ApplyUnlockedMenu();
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
