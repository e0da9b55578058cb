#include "core/WriteErrorReport.h"

#include "storage/SettingsFile.h"

namespace pelorin {

bool ReportWriteErrors(ports::Dialogs& dialogs, const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const SettingsWriteError& error) {
    ports::MessageRequest request;
    request.text = error.what();
    request.caption = "Pelorin";
    request.icon = ports::DialogIcon::Error;
    dialogs.Show(request);
    return false;
  }
}

}  // namespace pelorin
