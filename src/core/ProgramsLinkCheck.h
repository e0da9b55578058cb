#pragma once

#include <string>

#include "core/CoreContext.h"
#include "ports/Dialogs.h"

namespace pelorin {

class BackgroundTimers;
class MainMenu;

// The check of the Programs entries of run.hif whose files no longer exist, asked
// with Yes, No, No to All and Yes to All, used at profile load and by the periodic
// existence check.
class ProgramsLinkCheck {
 public:
  // Takes part in the profile load (when main.hf STARTUP/FileEx is on) and in the
  // existence checks of `timers` (when SPY/FileEx is on); removed entries leave `menu`.
  ProgramsLinkCheck(CoreContext& ctx, MainMenu& menu, BackgroundTimers& timers);

  // At profile load: MissingLinks is cleared first and every missing file is asked.
  void CheckAtProfileLoad();
  // The periodic check: files already in MissingLinks are not asked again; `toAll`
  // carries a to-All answer across the checks of one tick.
  void CheckPeriodically(ports::DialogAnswer& toAll);

 private:
  // Walks the entries from the last to the first; `periodic` selects the periodic
  // check's question and its handling of MissingLinks.
  void Check(ports::DialogAnswer& toAll, bool periodic);
  ports::DialogAnswer Ask(const std::string& caption, bool periodic, ports::DialogAnswer& toAll);

  CoreContext& ctx_;
  MainMenu& menu_;
};

}  // namespace pelorin
