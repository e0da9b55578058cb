#include "core/WriteErrorReport.h"

#include "storage/SettingsFile.h"

namespace pelorin {

bool ReportWriteErrors(ports::Dialogs& dialogs, const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const SettingsWriteError& error) {
    dialogs.Show(ports::MessageRequest{
        .text = error.what(), .caption = "Pelorin", .icon = ports::DialogIcon::Error});
    return false;
  }
}

}  // namespace pelorin
