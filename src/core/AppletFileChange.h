#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace pelorin {

struct CoreContext;
class SettingsFile;

// What an applet window needs to say when one of its settings files is changed: the
// file, its backup name, and the window's caption and words for a text the file cannot
// hold ("The alarm cannot be stored: ...").
struct AppletFile {
  std::filesystem::path file;
  std::string_view backupName;  // "reminder", "org"
  std::string_view caption;
  std::string_view refusal;
};

// One change of an applet's plain settings file: written once, then backed up. False
// when nothing was stored: the suite has ended, the system refused the write (the user
// is told), or a text the file cannot hold (a warning names it).
bool ChangeAppletFile(CoreContext& ctx, const AppletFile& file,
                      const std::function<void(SettingsFile&)>& change);

}  // namespace pelorin
