#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::ctl {

// Exit statuses of pelorinctl.
constexpr int kOk = 0;
constexpr int kFailed = 1;  // file unreadable or unwritable, unscramble refused
constexpr int kUsage = 2;   // wrong arguments, or a name or value holding a line break

using Args = std::vector<std::string>;

// Each takes the arguments after its group word ("ini", "hf", ...).
int RunIni(const Args& args);
int RunHf(const Args& args);
int RunScramble(const Args& args, bool unscramble);
int RunTextCipher(const Args& args, bool decode);

void PrintUsage();

}  // namespace pelorin::ctl

namespace pelorin::ctl {

// True when no argument holds a CR or LF (a settings file cannot store one).
bool FreeOfLineBreaks(const Args& args);

// Runs a change of a settings file and turns the engine's errors into exit statuses:
// a name or value the file cannot hold is a usage error, a refused write or any other
// error a failure.
int RunChange(const std::function<int()>& change);

// True when the file exists but cannot be read.
bool ExistsButUnreadable(const std::string& file);

// Why the backup of a file that lies in a profile folder of a home could not be kept
// (its name is none the backup accepts, like "..hif"); nothing when it can, or when the
// file has no backup. Asked before the file is changed, so that nothing is.
std::optional<std::string> BackupRefusal(const std::string& file);

// After a change of a file that lies in a profile folder of a home, refreshes the
// profile's backup of it exactly as the suite would, so that a deliberate edit is
// not reported as damage later; the system settings file is always backed up. kOk, or
// kFailed after a message when the backup could not be refreshed.
int RefreshBackupAfterChange(const std::string& file);

}  // namespace pelorin::ctl
