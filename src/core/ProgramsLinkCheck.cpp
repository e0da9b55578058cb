#include "core/ProgramsLinkCheck.h"

#include <algorithm>

#include "common/Files.h"
#include "core/BackgroundTimers.h"
#include "core/MainMenu.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

namespace {

using ports::DialogAnswer;

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

ProgramsLinkCheck::ProgramsLinkCheck(CoreContext& ctx, MainMenu& menu, BackgroundTimers& timers)
    : ctx_(ctx), menu_(menu) {
  ctx_.steps.loadProfile.Bind(LoadStep::kCheckProgramLinks, SubsystemId::Core, [this] {
    if (ctx_.values.StartupFileEx) CheckAtProfileLoad();
  });
  ctx_.steps.exTimer.Bind(ExTimerStep::kProgramsEntries, SubsystemId::Core, [this, &timers] {
    if (ctx_.values.SpyFileEx) CheckPeriodically(timers.ExTickAnswer());
  });
}

void ProgramsLinkCheck::CheckAtProfileLoad() {
  ctx_.values.MissingLinks.clear();
  DialogAnswer toAll = DialogAnswer::Ok;  // no to-All answer yet
  Check(toAll, false);
}

void ProgramsLinkCheck::CheckPeriodically(DialogAnswer& toAll) {
  Check(toAll, true);
}

DialogAnswer ProgramsLinkCheck::Ask(const std::string& caption, bool periodic,
                                    DialogAnswer& toAll) {
  if (toAll == DialogAnswer::YesToAll || toAll == DialogAnswer::NoToAll) return toAll;
  const DialogAnswer answer = ctx_.ports.dialogs.Show(ports::MessageRequest{
      .text = "Program \"" + caption + "\" is not exists!\r" +
              (periodic ? "Do you want to delete link from \"Programs\" menu?"
                        : "Do you want to delete this link from \"Programs\" menu?"),
      .caption = "",  // the question has no caption
      .icon = ports::DialogIcon::Warning,
      .buttons = ports::DialogButtons::YesNoAll});
  if (answer == DialogAnswer::YesToAll || answer == DialogAnswer::NoToAll) toAll = answer;
  return answer;
}

void ProgramsLinkCheck::Check(DialogAnswer& toAll, bool periodic) {
  std::vector<std::string>& missing = ctx_.values.MissingLinks;
  ReportWriteErrors(ctx_.ports.dialogs, [&] {
    SettingsFile run(SuiteLayout::PlainTwin(ctx_.values.ProfileDir, "run"));
    // Every deletion of this check reaches the file in one write at its end.
    SettingsTransaction change(run);
    int count = NumberedSectionCount(run);
    for (int entry = count - 1; entry >= 0; --entry) {
      const std::string section = std::to_string(entry);
      const std::string file = run.ReadString(section, "Filename", "");
      if (PathExists(file)) continue;
      if (periodic && Contains(missing, file)) continue;

      const DialogAnswer answer = Ask(run.ReadString(section, "Caption", ""), periodic, toAll);
      if (answer != DialogAnswer::Yes && answer != DialogAnswer::YesToAll) {
        missing.push_back(file);
        continue;
      }
      // The Programs window closes first here once it exists.
      if (periodic) missing.erase(std::remove(missing.begin(), missing.end(), file), missing.end());
      menu_.RemoveProgramItem(entry);
      DeleteNumberedSection(run, entry, count);
      --count;
    }
    run.WriteInteger("SYSTEM", "Count", count);
    change.Commit();
    ctx_.custodo.BackupSettingsFile("run");
  });
}

}  // namespace pelorin
