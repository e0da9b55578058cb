#include "core/AppletFileChange.h"

#include <string>

#include "core/CoreContext.h"
#include "core/WriteErrorReport.h"
#include "storage/SettingsFile.h"
#include "storage/SettingsTransaction.h"

namespace pelorin {

bool ChangeAppletFile(CoreContext& ctx, const AppletFile& file,
                      const std::function<void(SettingsFile&)>& change) {
  if (ctx.lifetime.Ended()) return false;
  try {
    return ReportWriteErrors(ctx.ports.dialogs, [&] {
      SettingsFile settings(file.file);
      SettingsTransaction transaction(settings);
      change(settings);
      transaction.Commit();
      ctx.custodo.BackupSettingsFile(file.backupName);
    });
  } catch (const SettingsNameError& error) {
    ctx.ports.dialogs.Show({.text = std::string(file.refusal) + ": " + error.what(),
                            .caption = std::string(file.caption),
                            .icon = ports::DialogIcon::Warning});
    return false;
  }
}

}  // namespace pelorin
